#include "printer_page.h"

#include "molven32.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CPrinterPage, CNetPage)
    ON_BN_CLICKED(IDC_ADDITIONAL_INFO, OnAdditionalInfo)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CPrinterPage::CPrinterPage(HWND page, CPrinterInfoObj* record) : CNetPage(IDD_PRINTER_PAGE, page, record)
{
    SetDlgItemText(IDC_OBJECT_NAME, record->GetNameAt(0).c_str());
    SetDlgItemText(IDC_PRINTER_DESCRIPTION, record->GetNameAt(3).c_str());
    SetDlgItemText(IDC_OBJECT_ZONE, record->GetNameAt(1).c_str());
    SetDlgItemText(IDC_PRINTER_TYPE, record->GetNameAt(2).c_str());
    SetDlgItemText(IDC_NETWORK_PATH, record->m_strPath.c_str());
    const bool postScript = IsPostScriptPrinterType(record->GetNameAt(2).c_str()) == 1;
    ShowItem(IDC_ADDITIONAL_INFO, postScript);
    ShowItem(IDC_PRINTER_INFO_TEXT, postScript);
}

CPrinterPage::~CPrinterPage()
{
    *m_alive = false;
    if (m_query)
        m_query->Stop();
}

void CPrinterPage::OnAdditionalInfo()
{
    HWND button = GetDlgItem(IDC_ADDITIONAL_INFO);
    ::EnableWindow(button, FALSE);
    const auto alive = m_alive;
    const auto query = std::make_shared<CPrinterQuery>(static_cast<CPrinterInfoObj*>(m_pRecord),
                                                       GetDlgItem(IDC_PRINTER_INFO_TEXT));
    m_query = query;
    query->Run();
    if (!*alive)
        return;  // the page went while the query ran
    m_query.reset();
    ::EnableWindow(button, TRUE);
}

void CPrinterPage::OnCancel()
{
    if (m_query)
        m_query->Stop();
    CNetPage::OnCancel();
}

void CPrinterPage::OnDestroy()
{
    *m_alive = false;
    if (m_query)
        m_query->Stop();
    Default();
}
