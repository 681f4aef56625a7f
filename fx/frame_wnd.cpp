#include "fx/frame_wnd.h"

#include <dde.h>
#include <shellapi.h>

#include "fx/doc_template.h"
#include "fx/document.h"
#include "fx/view.h"
#include "fx/win_app.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_DDE_INITIATE, OnDDEInitiate)
    ON_MESSAGE(WM_DDE_EXECUTE, OnDDEExecute)
    ON_MESSAGE(WM_DDE_TERMINATE, OnDDETerminate)
    ON_NOTIFY(TBN_HOTITEMCHANGE, AFX_IDW_TOOLBAR, OnToolbarHotItem)
    ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolbar)
    ON_COMMAND(ID_VIEW_STATUS_BAR, OnViewStatusBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateViewToolbar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateViewStatusBar)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

const char* CFrameWnd::kWndClass = "AfxFrameOrView42";

BOOL CFrameWnd::RegisterFrameClass()
{
    return RegisterNamedClass(kWndClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = RegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return cs.lpszClass != nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT id, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDResource = id;
    HINSTANCE module = AfxGetResourceHandle();
    m_strTitle = FxSubString(FxLoadString(id), 0);
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(id));
    m_hMenuDefault = menu;
    if (m_hAccelTable == nullptr)
        m_hAccelTable = LoadAcceleratorsA(module, MAKEINTRESOURCEA(id));
    if (!CreateEx(0, nullptr, m_strTitle.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, menu, context)) {
        if (menu != nullptr)
            DestroyMenu(menu);
        if (!FxLastCreateAttached())
            delete this;
        return FALSE;
    }
    if (HICON icon = LoadIconA(module, MAKEINTRESOURCEA(id)))
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    OnUpdateFrameTitle(TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA cs)
{
    if (Default() == -1)
        return -1;
    CCreateContext* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if ((cs->dwExStyle & WS_EX_MDICHILD) && cs->lpCreateParams != nullptr)
        context = reinterpret_cast<CCreateContext*>(reinterpret_cast<MDICREATESTRUCTA*>(cs->lpCreateParams)->lParam);
    return OnCreateClient(cs, context) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* context)
{
    if (context != nullptr && context->m_pNewViewClass != nullptr)
        return CreateView(context) != nullptr;
    return TRUE;
}

CView* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    CObject* object = context->m_pNewViewClass->CreateObject();
    if (object == nullptr || !object->IsKindOf(RUNTIME_CLASS(CView))) {
        delete object;
        return nullptr;
    }
    CView* view = static_cast<CView*>(object);
    if (!view->Create(this, id, context)) {
        // The view deleted itself when its window failed.
        return nullptr;
    }
    return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL makeVisible)
{
    CView* view = m_pViewActive;
    if (view == nullptr) {
        if (HWND pane = GetDlgItem(AFX_IDW_PANE_FIRST)) {
            CWnd* w = FromHandlePermanent(pane);
            if (w != nullptr && w->IsKindOf(RUNTIME_CLASS(CView)))
                view = static_cast<CView*>(w);
        }
    }
    if (view != nullptr)
        SetActiveView(view);
    FxSendMessageToDescendants(m_hWnd, WM_INITIALUPDATE, 0, 0);
    if (makeVisible) {
        ShowWindow(SW_SHOW);
        UpdateWindow();
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::SetActiveView(CView* view)
{
    m_pViewActive = view;
    if (view != nullptr && ::GetFocus() != view->m_hWnd && ::IsWindowVisible(m_hWnd))
        ::SetFocus(view->m_hWnd);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* view = GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    m_controlBars.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    std::erase(m_controlBars, bar);
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    for (CControlBar* bar : m_controlBars)
        if (bar->m_hWnd != nullptr && static_cast<UINT>(bar->GetDlgCtrlID()) == id)
            return bar;
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show)
{
    bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    RecalcLayout();
}

void CFrameWnd::DockControlBar(CControlBar* bar)
{
    // Bars sit on the first side both the bar and the frame accept; they
    // are not dragged to another side.
    DWORD sides = bar->GetDockStyle() & m_dwDockSides;
    if (sides != 0)
        bar->SetBarStyle((bar->GetBarStyle() & ~CBRS_ALIGN_ANY) |
                         ((sides & CBRS_ALIGN_TOP) ? CBRS_ALIGN_TOP : sides & (0u - sides)));
    RecalcLayout();
}

RECT CFrameWnd::LayoutBars()
{
    RECT r;
    GetClientRect(&r);
    for (CControlBar* bar : m_controlBars) {
        if (!bar->IsVisible())
            continue;
        // The common controls size themselves along their side.
        bar->SendMessage(WM_SIZE, 0, 0);
        if (bar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
            static_cast<CStatusBar*>(bar)->UpdateLayout();
        int h = bar->CalcHeight();
        if (bar->GetBarStyle() & CBRS_ALIGN_BOTTOM) {
            r.bottom -= h;
        } else {
            ::SetWindowPos(bar->m_hWnd, nullptr, r.left, r.top, r.right - r.left, h, SWP_NOZORDER | SWP_NOACTIVATE);
            r.top += h;
        }
    }
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

void CFrameWnd::RecalcLayout()
{
    RECT r = LayoutBars();
    if (HWND pane = GetDlgItem(AFX_IDW_PANE_FIRST))
        ::MoveWindow(pane, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CFrameWnd::OnSize(UINT type, int, int)
{
    Default();
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(HWND oldFocus)
{
    if (m_pViewActive != nullptr)
        ::SetFocus(m_pViewActive->m_hWnd);
    else
        CWnd::OnSetFocus(oldFocus);
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        if (!app->SaveAllModified())
            return;
        // A single-document program's frame goes with its document (and
        // this object with it): only the handle is used afterwards.
        HWND self = m_hWnd;
        app->CloseAllDocuments(FALSE);
        if (::IsWindow(self))
            ::DestroyWindow(self);
        return;
    }
    CDocument* doc = GetActiveDocument();
    if (doc != nullptr && !doc->CanCloseFrame(this))
        return;
    if (doc != nullptr && doc->GetViewCount() <= 1) {
        doc->OnCloseDocument();
        return;
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    // The window destroys the menu it shows: make that its own menu, not a
    // document type's shared one (which its template destroys).
    if (m_hMenuDefault != nullptr && ::GetMenu(m_hWnd) != m_hMenuDefault && !(GetStyle() & WS_CHILD))
        ::SetMenu(m_hWnd, m_hMenuDefault);
    for (CControlBar* bar : m_controlBars)
        bar->Detach();
    m_controlBars.clear();
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    Default();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo)
{
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(id, code, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(id, code, pExtra, pHandlerInfo))
        return TRUE;
    // Only a top-level frame hands commands on to the application; a child
    // frame's owner does that after it.
    if ((GetStyle() & WS_CHILD) == 0)
        if (CWinApp* app = AfxGetApp(); app != nullptr && app->OnCmdMsg(id, code, pExtra, pHandlerInfo))
            return TRUE;
    return FALSE;
}

namespace {

class CMenuCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    }
    void SetCheck(int check) override
    {
        CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    }
    void SetText(const char* text) override
    {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<char*>(text);
        SetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &info);
    }
};

}  // namespace

void CFrameWnd::OnInitMenuPopup(HMENU popup, UINT, BOOL sysMenu)
{
    Default();
    if (sysMenu)
        return;
    CMenuCmdUI ui;
    ui.m_hMenu = popup;
    // Items may be added or removed by a handler (the recent-file list), so
    // the count is read again each time round.
    for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(popup)); ++i) {
        UINT id = GetMenuItemID(popup, static_cast<int>(i));
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;  // separator or submenu
        ui.m_nID = id;
        ui.m_nIndex = i;
        ui.DoUpdate(this, m_bAutoMenuEnable);
        i = ui.m_nIndex;
    }
}

void CFrameWnd::GetMessageString(UINT id, CString& text) const
{
    text = FxPromptPart(FxLoadString(id));
}

void CFrameWnd::SetMessageText(const char* text)
{
    if (CControlBar* bar = GetControlBar(AFX_IDW_STATUS_BAR); bar && bar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
        static_cast<CStatusBar*>(bar)->SetPaneText(0, text);
}

void CFrameWnd::SetMessageText(UINT id)
{
    CString text;
    GetMessageString(id, text);
    SetMessageText(text.c_str());
}

void CFrameWnd::ShowPromptOrIdle(UINT id)
{
    if (id == 0)
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    else
        SetMessageText(id);
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && menu == nullptr) {
        ShowPromptOrIdle(0);
    } else if ((flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) == 0) {
        SetMessageText(item);
    } else {
        SetMessageText("");
    }
}

LRESULT CFrameWnd::OnExitMenuLoop(WPARAM, LPARAM)
{
    ShowPromptOrIdle(0);
    return 0;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM id, LPARAM)
{
    ShowPromptOrIdle(static_cast<UINT>(id));
    return 0;
}

void CFrameWnd::OnToolbarHotItem(NMHDR* hdr, LRESULT* result)
{
    const NMTBHOTITEM* hot = reinterpret_cast<const NMTBHOTITEM*>(hdr);
    CControlBar* bar = GetControlBar(AFX_IDW_TOOLBAR);
    if (bar != nullptr && (bar->GetBarStyle() & CBRS_FLYBY))
        ShowPromptOrIdle((hot->dwFlags & HICF_LEAVING) ? 0 : static_cast<UINT>(hot->idNew));
    *result = 0;
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
    // Tool tips of toolbar buttons: the text after "\n" of the button's string.
    if (hdr->code == TTN_GETDISPINFOA || hdr->code == TTN_GETDISPINFOW) {
        CControlBar* bar = GetControlBar(AFX_IDW_TOOLBAR);
        if (bar == nullptr || !(bar->GetBarStyle() & CBRS_TOOLTIPS))
            return FALSE;
        static CString tip;
        tip = FxTipPart(FxLoadString(static_cast<UINT>(hdr->idFrom)));
        if (hdr->code == TTN_GETDISPINFOA) {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(hdr);
            info->lpszText = tip.data();
        } else {
            static wchar_t wide[256];
            MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, wide, 256);
            reinterpret_cast<NMTTDISPINFOW*>(hdr)->lpszText = wide;
        }
        *result = 0;
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        HACCEL accel = GetDefaultAccelerator();
        if (accel != nullptr && TranslateAcceleratorA(m_hWnd, accel, msg))
            return TRUE;
    }
    return FALSE;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE) || !addToTitle) {
        SetWindowText(m_strTitle.c_str());
        return;
    }
    CDocument* doc = GetActiveDocument();
    UpdateFrameTitleForDocument(doc ? doc->GetTitle().c_str() : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(const char* docName)
{
    CString title = m_strTitle;
    if (docName != nullptr && *docName)
        title = (GetStyle() & FWS_PREFIXTITLE) ? CString(docName) + " - " + m_strTitle : m_strTitle + " - " + docName;
    if (GetWindowText() != title)
        SetWindowText(title.c_str());
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    for (CControlBar* bar : m_controlBars)
        if (bar->IsVisible())
            bar->OnUpdateCmdUI(this, m_bAutoMenuEnable);
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ToggleBar(UINT id)
{
    if (CControlBar* bar = GetControlBar(id))
        ShowControlBar(bar, !bar->IsVisible());
}

void CFrameWnd::UpdateBarCheck(CCmdUI* ui, UINT id)
{
    CControlBar* bar = GetControlBar(id);
    ui->Enable(bar != nullptr);
    ui->SetCheck(bar != nullptr && bar->IsVisible());
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* ui)
{
    int key = ui->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL : VK_NUMLOCK;
    ui->Enable((GetKeyState(key) & 1) != 0);
}

void CFrameWnd::OnDropFiles(HDROP drop)
{
    SetForegroundWindow(m_hWnd);
    CWinApp* app = AfxGetApp();
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count && app != nullptr; ++i) {
        char path[MAX_PATH];
        if (DragQueryFileA(drop, i, path, sizeof path))
            app->OpenDocumentFile(path);
    }
    DragFinish(drop);
}
