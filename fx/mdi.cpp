#include "fx/mdi.h"

#include "fx/doc_template.h"
#include "fx/document.h"
#include "fx/module.h"
#include "fx/view.h"
#include "fx/win_app.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_MDIACTIVATE()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

const char* CMDIFrameWnd::kWndClass = "AfxMDIFrame42";

BOOL CMDIFrameWnd::RegisterFrameClass()
{
    return RegisterNamedClass(kWndClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
}

BOOL CMDIFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        if (!RegisterFrameClass())
            return FALSE;
        cs.lpszClass = kWndClass;
    }
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext*)
{
    // No Window popup is given to the client: the programs' menus have none.
    CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
    m_hWndMDIClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL,
                                      0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                      AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const
{
    if (m_hWndMDIClient == nullptr)
        return nullptr;
    HWND active = reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
    CWnd* w = FromHandlePermanent(active);
    return (w != nullptr && w->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) ? static_cast<CMDIChildWnd*>(w) : nullptr;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo)
{
    // The active child (its view, document, template, then the child frame)
    // comes before the main frame.
    if (CMDIChildWnd* child = MDIGetActive(); child && child->OnCmdMsg(id, code, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(id, code, pExtra, pHandlerInfo);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? child->GetActiveDocument() : nullptr;
}

HACCEL CMDIFrameWnd::GetDefaultAccelerator()
{
    CMDIChildWnd* child = MDIGetActive();
    if (child != nullptr && child->m_hAccelShared != nullptr)
        return child->m_hAccelShared;
    return m_hAccelTable;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (m_hWndMDIClient != nullptr && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST &&
        TranslateMDISysAccel(m_hWndMDIClient, msg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(msg);
}

void CMDIFrameWnd::RecalcLayout()
{
    RECT r = LayoutBars();
    if (m_hWndMDIClient != nullptr)
        ::MoveWindow(m_hWndMDIClient, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CMDIFrameWnd::SetFrameMenu(HMENU menu)
{
    HMENU wanted = menu ? menu : m_hMenuDefault;
    if (wanted == nullptr || GetMenu(m_hWnd) == wanted)
        return;
    ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(wanted), 0);
    DrawMenuBar(m_hWnd);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE) || !addToTitle) {
        SetWindowText(m_strTitle.c_str());
        return;
    }
    CDocument* doc = GetActiveDocument();
    UpdateFrameTitleForDocument(doc ? doc->GetTitle().c_str() : nullptr);
}

void CMDIFrameWnd::OnIdleUpdateCmdUI()
{
    CMDIChildWnd* child = MDIGetActive();
    SetFrameMenu(child ? child->m_hMenuShared : nullptr);
    if (child != nullptr)
        child->OnUpdateFrameTitle(TRUE);
    CFrameWnd::OnIdleUpdateCmdUI();
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND client = ::GetParent(m_hWnd);
    CWnd* frame = FromHandlePermanent(::GetParent(client));
    return (frame && frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) ? static_cast<CMDIFrameWnd*>(frame) : nullptr;
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_CHILD;
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::LoadFrame(UINT id, DWORD style, CWnd* parent, CCreateContext* context)
{
    CWnd* owner = parent;
    if (owner == nullptr)
        if (CWinApp* app = AfxGetApp())
            owner = app->m_pMainWnd;
    if (owner == nullptr || !owner->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
        delete this;
        return FALSE;
    }
    auto* frame = static_cast<CMDIFrameWnd*>(owner);
    m_nIDResource = id;
    m_strTitle = FxSubString(FxLoadString(id), 0);
    if (context != nullptr && context->m_pNewDocTemplate != nullptr) {
        if (context->m_pNewDocTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate))) {
            auto* t = static_cast<CMultiDocTemplate*>(context->m_pNewDocTemplate);
            m_hMenuShared = t->m_hMenuShared;
            m_hAccelShared = t->m_hAccelTable;
        }
    }
    // An MDI child is created hidden by WS_EX_MDICHILD and made visible by
    // InitialUpdateFrame.
    DWORD ws = (style & ~WS_VISIBLE) | WS_CHILD;
    if (!CreateEx(WS_EX_MDICHILD, nullptr, m_strTitle.c_str(), ws, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, frame->m_hWndMDIClient, nullptr, context)) {
        if (!FxLastCreateAttached())
            delete this;
        return FALSE;
    }
    if (HICON icon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)))
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return TRUE;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    // An MDI child is destroyed through its client so the client can
    // activate the next child.
    HWND client = ::GetParent(m_hWnd);
    ::SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    return TRUE;
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::OnMDIActivate(BOOL activate, HWND, HWND)
{
    Default();
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame == nullptr)
        return;
    if (activate) {
        frame->SetFrameMenu(m_hMenuShared);
    } else if (frame->MDIGetActive() == nullptr || frame->MDIGetActive() == this) {
        frame->SetFrameMenu(nullptr);
    }
    frame->OnUpdateFrameTitle(TRUE);
}

int CMDIChildWnd::OnMouseActivate(HWND, UINT, UINT)
{
    int r = static_cast<int>(Default());
    if (r == MA_NOACTIVATE || r == MA_NOACTIVATEANDEAT)
        return r;
    MDIActivate();
    return r;
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    CDocument* doc = GetActiveDocument();
    if (addToTitle && doc != nullptr && (GetStyle() & FWS_ADDTOTITLE)) {
        if (GetWindowText() != doc->GetTitle())
            SetWindowText(doc->GetTitle().c_str());
    }
}
