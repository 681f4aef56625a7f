#include "fx/property_sheet.h"

#include "fx/fx_ids.h"
#include "fx/win_app.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
    ON_MESSAGE(WM_HELP, OnHelpMessage)
END_MESSAGE_MAP()

namespace {
// The modal sheet whose window PropertySheetA is creating on this thread.
thread_local CPropertySheet* t_modalSheet = nullptr;
}  // namespace

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId)
{
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_USECALLBACK;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    m_psp.pfnDlgProc = &CPropertyPage::PageDlgProc;
    m_psp.pfnCallback = &CPropertyPage::PageCallback;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CALLBACK CPropertyPage::PageDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The sheet creates pages when they are first shown; the page object
    // rides in the lParam of the page description it hands to WM_INITDIALOG.
    if (message == WM_INITDIALOG && FromHandlePermanent(hwnd) == nullptr) {
        auto* page = reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
        if (page == nullptr || !page->Attach(hwnd))
            return FALSE;
        return page->OnInitDialog();
    }
    if (FromHandlePermanent(hwnd) == nullptr)
        return FALSE;
    return FxDlgProc(hwnd, message, wParam, lParam);
}

UINT CALLBACK CPropertyPage::PageCallback(HWND, UINT message, PROPSHEETPAGEA* psp)
{
    if (message == PSPCB_RELEASE && psp != nullptr) {
        auto* page = reinterpret_cast<CPropertyPage*>(psp->lParam);
        ++page->m_nReleaseCount;
        page->OnRelease();
    }
    return 1;
}

void CPropertyPage::SetModified(BOOL changed)
{
    HWND sheet = ::GetParent(m_hWnd);
    ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnHelpRequest()
{
    return OnCmdMsg(ID_HELP, CN_COMMAND, nullptr, nullptr);
}

LRESULT CPropertyPage::OnHelpMessage(WPARAM, LPARAM)
{
    if (OnHelpRequest())
        return TRUE;
    return Default();
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    switch (hdr->code) {
    case PSN_HELP:
        OnHelpRequest();
        *result = 0;
        return TRUE;
    case PSN_SETACTIVE:
        *result = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *result = OnKillActive() ? FALSE : TRUE;
        return TRUE;
    case PSN_APPLY:
        *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
    case PSN_RESET:
        OnReset();
        *result = 0;
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
}

CPropertySheet::CPropertySheet(const char* caption, CWnd* parent) : m_strCaption(caption), m_pParentWnd(parent) {}

PROPSHEETHEADERA CPropertySheet::BuildHeader(DWORD flags, HWND owner)
{
    m_built.clear();
    for (CPropertyPage* page : m_pages)
        m_built.push_back(page->m_psp);
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | flags;
    header.hwndParent = owner;
    header.hInstance = AfxGetResourceHandle();
    header.pszCaption = m_strCaption.c_str();
    header.nPages = static_cast<UINT>(m_built.size());
    header.ppsp = m_built.data();
    return header;
}

INT_PTR CPropertySheet::DoModal()
{
    CWinApp* app = AfxGetApp();
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : (app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr);
    PROPSHEETHEADERA header = BuildHeader(PSH_USECALLBACK, owner);
    header.pfnCallback = &CPropertySheet::SheetCallback;
    CPropertySheet* outer = t_modalSheet;
    t_modalSheet = this;
    INT_PTR r = PropertySheetA(&header);
    t_modalSheet = outer;
    return r > 0 ? IDOK : IDCANCEL;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hwnd, UINT message, LPARAM)
{
    // The modal sheet's messages go through its object from here on, so
    // that it can answer F1; the window gives them back when it goes.
    if (message == PSCB_INITIALIZED && t_modalSheet != nullptr && t_modalSheet->m_hWnd == nullptr)
        t_modalSheet->SubclassWindow(hwnd);
    return 0;
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HELP) {
        HWND current = reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
        auto* page = dynamic_cast<CPropertyPage*>(FromHandlePermanent(current));
        return page != nullptr && page->OnHelpRequest();
    }
    return DefWindowProc(message, wParam, lParam);
}

BOOL CPropertySheet::Create(CWnd* parent)
{
    if (parent != nullptr)
        m_pParentWnd = parent;
    PROPSHEETHEADERA header = BuildHeader(PSH_MODELESS, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    HWND h = reinterpret_cast<HWND>(PropertySheetA(&header));
    return h != nullptr && Attach(h);
}

BOOL CPropertySheet::IsDone() const
{
    return m_hWnd == nullptr || ::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) == 0;
}

BOOL CPropertySheet::DestroyWindow()
{
    // The sheet's window is the system's own: it is not routed through this
    // object, so the object lets go of it here.
    HWND h = Detach();
    return h != nullptr && ::DestroyWindow(h);
}

BOOL CPropertySheet::PreTranslateMessage(MSG* msg)
{
    return m_hWnd != nullptr && ::SendMessageA(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}
