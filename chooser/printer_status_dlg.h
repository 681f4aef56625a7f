// The status window: the default printer's name and the PAP status string
// it answers, asked again every 3 seconds while the window is open.
#pragma once

#include "atalk_records.h"
#include "fx/dialog.h"
#include "pap_block.h"

constexpr unsigned kStatusRefreshMs = 3000;

class CPrinterStatusDlg : public CDialog {
    DECLARE_MESSAGE_MAP()
public:
    explicit CPrinterStatusDlg(CWnd* parent);
    ~CPrinterStatusDlg() override;

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id);

private:
    struct Requests {
        PAPParamBlock status;
        PAPParamBlock cancel;
    };
    void AskStatus();
    void Release();

    _NBPTuple m_printer{};
    Requests* m_pRequests = nullptr;  // from MPPAlloc
    bool m_bAnswered = false;
};
