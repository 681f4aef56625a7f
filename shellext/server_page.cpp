#include "server_page.h"

#include <ctime>

#include "info_text.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CServerPage, CNetPage)
    ON_MESSAGE(WM_SHOWWINDOW, OnShowWindow)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CServerPage::CServerPage(HWND page, CServerInfoObj* record) : CNetPage(IDD_SERVER_PAGE, page, record)
{
    SetDlgItemText(IDC_OBJECT_NAME, record->GetNameAt(0).c_str());
    SetDlgItemText(IDC_OBJECT_ZONE, record->GetNameAt(1).c_str());
    SetDlgItemText(IDC_MACHINE_TYPE, record->GetNameAt(2).c_str());
    SetDlgItemText(IDC_LOGON_NAME, record->GetNameAt(3).c_str());
    const auto connected = record->GetDateAt(1);
    SetDlgItemText(IDC_CONNECTED_AT,
                   connected ? DateText(connected).c_str() : FxLoadString(IDS_NOT_CONNECTED).c_str());
    SetDlgItemText(IDC_SERVER_TIME, DateText(record->GetDateAt(0)).c_str());
    ShowElapsedTime();
}

void CServerPage::ShowElapsedTime()
{
    const auto connected = m_pRecord->GetDateAt(1);
    const CString text = connected ? CString(ElapsedText(static_cast<int64_t>(std::time(nullptr)) - *connected,
                                                         FxLoadString(IDS_ELAPSED_FORMAT).c_str()))
                                   : FxLoadString(IDS_NOT_CONNECTED);
    SetDlgItemText(IDC_TIME_CONNECTED, text.c_str());
}

LRESULT CServerPage::OnShowWindow(WPARAM showing, LPARAM)
{
    if (showing) {
        ShowElapsedTime();
        ::SetTimer(m_hWnd, kElapsedTimer, kElapsedPeriodMs, nullptr);
    } else {
        ::KillTimer(m_hWnd, kElapsedTimer);
    }
    return Default();
}

void CServerPage::OnTimer(UINT_PTR id)
{
    if (id == kElapsedTimer)
        ShowElapsedTime();
    Default();
}

void CServerPage::OnDestroy()
{
    ::KillTimer(m_hWnd, kElapsedTimer);
    Default();
}
