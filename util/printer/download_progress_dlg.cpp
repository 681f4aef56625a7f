#include "download_progress_dlg.h"


#include "download_dialog_ids.h"
#include "fx/message_box.h"
#include "job_texts.h"

BEGIN_MESSAGE_MAP(CDownloadProgressDlg, CDialog)
    ON_MESSAGE(WM_RUNJOB, OnRunJob)
END_MESSAGE_MAP()

CDownloadProgressDlg::CDownloadProgressDlg(ZJobTicket* ticket, PapStack& stack, JobFiles& files,
                                           std::string productDir, CWnd* parent)
    : CDialog(IDD_DOWNLOAD_PROGRESS, parent), m_pTicket(ticket)
{
    m_pEngine = std::make_unique<PAPDownloadEngine>(ticket, stack, static_cast<DownloadJobHost&>(*this), files,
                                                    std::move(productDir));
}

CDownloadProgressDlg::~CDownloadProgressDlg() = default;

BOOL CDownloadProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndPercentBar.SubclassDlgItem(IDC_PROG_PERCENT_BAR, this);
    if (m_pTicket)
        SetDlgItemText(IDC_PROG_PRINTER_NAME, JobPrinterDisplayName(m_pTicket->m_printer).c_str());
    // The dialog manager would show the dialog only once its queue is idle,
    // which the job never lets it be: show it now, so it is seen working.
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::PostMessageA(m_hWnd, WM_RUNJOB, 0, 0);
    return TRUE;
}

LRESULT CDownloadProgressDlg::OnRunJob(WPARAM, LPARAM)
{
    m_pEngine->RunJob();
    return 0;
}

void CDownloadProgressDlg::OnCancel()
{
    if (!m_bEnded)
        m_pEngine->OnCancel();
}

void CDownloadProgressDlg::ShowStatus(const std::string& text) { SetDlgItemText(IDC_PROG_STATUS, text.c_str()); }

void CDownloadProgressDlg::ShowFileTitle(const std::string& title)
{
    SetDlgItemText(IDC_PROG_FILE_NAME, title.c_str());
}

void CDownloadProgressDlg::ShowFileSize(int32_t bytes)
{
    SetDlgItemText(IDC_PROG_FILE_SIZE, std::to_string(bytes).c_str());
}

void CDownloadProgressDlg::ShowBytesSent(int32_t bytes)
{
    SetDlgItemText(IDC_PROG_BYTES_SENT, std::to_string(bytes).c_str());
}

void CDownloadProgressDlg::SetProgress(int percent) { m_wndPercentBar.SetPos(percent); }

void CDownloadProgressDlg::ShowError(const std::string& text) { AfxMessageBox(text.c_str(), MB_OK | MB_ICONSTOP); }

void CDownloadProgressDlg::EndDialog(int code)
{
    if (m_bEnded)
        return;
    m_bEnded = true;
    CDialog::EndDialog(code == kJobDialogOK ? IDOK : IDCANCEL);
}
