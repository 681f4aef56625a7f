#include "net_page.h"

#include <shellapi.h>

#include "info_text.h"
#include "resource.h"

namespace {
LONG g_livePages = 0;
}

void ShowSheetContextHelp(HWND page, bool show)
{
    HWND sheet = GetParent(page);
    if (sheet == nullptr)
        return;
    LONG_PTR style = GetWindowLongPtrA(sheet, GWL_EXSTYLE);
    style = show ? (style | WS_EX_CONTEXTHELP) : (style & ~static_cast<LONG_PTR>(WS_EX_CONTEXTHELP));
    SetWindowLongPtrA(sheet, GWL_EXSTYLE, style);
    RedrawWindow(sheet, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

CNetPage::CNetPage(UINT templateId, HWND page, CNetInfoObj* record) : CPropertyPage(templateId), m_pRecord(record)
{
    InterlockedIncrement(&g_livePages);
    SubclassWindow(page);
}

CNetPage::~CNetPage()
{
    if (m_hIcon != nullptr)
        DestroyIcon(m_hIcon);
    InterlockedDecrement(&g_livePages);
}

LONG CNetPage::LiveCount()
{
    return InterlockedCompareExchange(&g_livePages, 0, 0);
}

BOOL CNetPage::OnSetActive()
{
    ShowSheetContextHelp(m_hWnd, false);
    return TRUE;
}

BOOL CNetPage::OnKillActive()
{
    ShowSheetContextHelp(m_hWnd, true);
    return TRUE;
}

void CNetPage::SetCheck(int id, bool on)
{
    ::CheckDlgButton(m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void CNetPage::ShowItem(int id, bool show)
{
    ::ShowWindow(GetDlgItem(id), show ? SW_SHOW : SW_HIDE);
}

void CNetPage::SetPageIcon()
{
    SHFILEINFOA info{};
    if (SHGetFileInfoA(m_pRecord->m_strPath.c_str(), 0, &info, sizeof info, SHGFI_ICON) && info.hIcon != nullptr) {
        m_hIcon = info.hIcon;
        ::SendDlgItemMessageA(m_hWnd, IDC_PAGE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_hIcon), 0);
    }
}

CString CNetPage::DateText(std::optional<int32_t> seconds) const
{
    return CString(::DateText(seconds, FxLoadString(IDS_DATE_FORMAT).c_str(), FxLoadString(IDS_NO_DATE).c_str()));
}

CString CNetPage::NumberText(long number) const
{
    return CString(GroupThousands(static_cast<int32_t>(number), FxLoadString(IDS_NUMBER_FORMAT).c_str()));
}
