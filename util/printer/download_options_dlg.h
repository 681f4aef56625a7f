// CDownloadOptionsDlg (dialog 134): the printer (from the recent-printer
// box), the files of the job and the three options, confirmed before a
// download starts.
#pragma once

#include "chooser/mru_printer_box.h"
#include "fx/dialog.h"
#include "job_ticket.h"

class CDownloadOptionsDlg : public CDialog {
public:
    explicit CDownloadOptionsDlg(ZJobTicket* ticket, CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    ZJobTicket* m_pTicket;
    int m_bAppendShowpage;
    int m_bWaitForEOF;
    int m_bStripCtrlChars;
    ZMRUPrinterBox m_wndPrinterBox;
};
