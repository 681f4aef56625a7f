#include "download_options_dlg.h"

#include "chooser/path_name.h"
#include "download_dialog_ids.h"

CDownloadOptionsDlg::CDownloadOptionsDlg(ZJobTicket* ticket, CWnd* parent)
    : CDialog(IDD_DOWNLOAD_OPTIONS, parent),
      m_pTicket(ticket),
      m_bAppendShowpage(ticket->m_bAppendShowpage),
      m_bWaitForEOF(ticket->m_bWaitForEOF),
      m_bStripCtrlChars(ticket->m_bStripCtrlChars)
{
}

void CDownloadOptionsDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Check(dx, IDC_OPT_APPEND_SHOWPAGE, m_bAppendShowpage);
    DDX_Check(dx, IDC_OPT_WAIT_EOF, m_bWaitForEOF);
    DDX_Check(dx, IDC_OPT_STRIP_CTRL, m_bStripCtrlChars);
}

BOOL CDownloadOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndPrinterBox.SubclassDlgItem(IDC_OPT_PRINTER_BOX, this);
    if (m_wndPrinterBox.LoadPrinterList(m_pTicket->m_printer)) {
        HWND list = GetDlgItem(IDC_OPT_FILE_LIST);
        for (const std::string& path : m_pTicket->GetFiles()) {
            const CString title = CPathName(path).GetFileTitle();
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
        }
    }
    return TRUE;
}

void CDownloadOptionsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
    m_pTicket->m_bAppendShowpage = m_bAppendShowpage != 0;
    m_pTicket->m_bWaitForEOF = m_bWaitForEOF != 0;
    m_pTicket->m_bStripCtrlChars = m_bStripCtrlChars != 0;
    m_wndPrinterBox.GetCurSelPrinter(&m_pTicket->m_printer);
}
