#include "fx/ole_ip_frame.h"

#include <string>

#include "fx/doc_template.h"
#include "fx/ole_server_doc.h"
#include "fx/view.h"
#include "fx/win_app.h"

// --- the container's windows as hosts of bars ---------------------------------

COleCntrFrameWnd::~COleCntrFrameWnd()
{
    DetachContainer();
}

void COleCntrFrameWnd::AttachContainer(HWND hwnd, IOleInPlaceUIWindow* window)
{
    // The container's window is not subclassed: the object only finds it
    // by its handle and owns nothing of it.
    if (hwnd != nullptr && Attach(hwnd))
        m_lpUIWindow = window;
}

void COleCntrFrameWnd::DetachContainer()
{
    for (CControlBar* bar : std::vector<CControlBar*>(m_controlBars)) {
        HWND h = bar->Detach();
        if (h != nullptr)
            ::DestroyWindow(h);
    }
    m_controlBars.clear();
    m_lpUIWindow = nullptr;
    Detach();
}

void COleCntrFrameWnd::RecalcLayout()
{
    if (m_hWnd == nullptr || m_lpUIWindow == nullptr)
        return;
    RECT border{};
    if (FAILED(m_lpUIWindow->GetBorder(&border)))
        return;
    BORDERWIDTHS widths{0, 0, 0, 0};
    for (CControlBar* bar : m_controlBars) {
        if (!bar->IsVisible())
            continue;
        bar->SendMessage(WM_SIZE, 0, 0);  // the control takes its natural height
        (bar->GetBarStyle() & CBRS_ALIGN_BOTTOM ? widths.bottom : widths.top) += bar->CalcHeight();
    }
    if (m_lpUIWindow->RequestBorderSpace(&widths) != S_OK) {
        // No room on this window: the bars are not shown.
        for (CControlBar* bar : m_controlBars)
            bar->ShowWindow(SW_HIDE);
        m_lpUIWindow->SetBorderSpace(nullptr);
        return;
    }
    m_lpUIWindow->SetBorderSpace(&widths);
    int top = border.top, bottom = border.bottom;
    for (CControlBar* bar : m_controlBars) {
        if (!bar->IsVisible())
            continue;
        const int h = bar->CalcHeight();
        int y = top;
        if (bar->GetBarStyle() & CBRS_ALIGN_BOTTOM) {
            bottom -= h;
            y = bottom;
        } else {
            top += h;
        }
        ::SetWindowPos(bar->m_hWnd, HWND_TOP, border.left, y, border.right - border.left, h, SWP_NOACTIVATE);
    }
}

// --- the in-place frame -------------------------------------------------------

IMPLEMENT_DYNCREATE(COleIPFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(COleIPFrameWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

COleIPFrameWnd::~COleIPFrameWnd()
{
    if (m_lpFrame != nullptr)
        m_lpFrame->Release();
    if (m_lpDocFrame != nullptr)
        m_lpDocFrame->Release();
}

BOOL COleIPFrameWnd::OnCreateControlBars(CFrameWnd*, CFrameWnd*)
{
    return TRUE;
}

BOOL COleIPFrameWnd::CreateInPlace(COleServerDoc* doc, HWND parent, IOleInPlaceFrame* frame,
                                   IOleInPlaceUIWindow* uiDoc, const OLEINPLACEFRAMEINFO& info)
{
    m_pDoc = doc;
    m_lpFrame = frame;
    m_lpDocFrame = uiDoc;
    m_frameInfo = info;
    if (CDocTemplate* tmpl = doc->GetDocTemplate())
        m_hAccelTable = tmpl->m_hAccelInPlaceServer;
    if (!CreateEx(0, nullptr, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, parent, nullptr)) {
        if (!FxLastCreateAttached())
            delete this;  // never a window; one that was has deleted itself
        return FALSE;
    }
    return TRUE;
}

int COleIPFrameWnd::OnCreate(LPCREATESTRUCTA cs)
{
    return CFrameWnd::OnCreate(cs);
}

void COleIPFrameWnd::OnDestroy()
{
    // A drop target registered for the frame goes with it.
    RevokeDragDrop(m_hWnd);
    CFrameWnd::OnDestroy();
}

void COleIPFrameWnd::AdoptView(CView* view)
{
    if (CFrameWnd* home = view->GetParentFrame())
        home->SetActiveView(nullptr);
    ::SetParent(view->m_hWnd, m_hWnd);
    SetActiveView(view);
    LayoutObject();
}

void COleIPFrameWnd::ReturnView(CView* view, CFrameWnd* home)
{
    SetActiveView(nullptr);
    ::SetParent(view->m_hWnd, home->m_hWnd);
    home->SetActiveView(view);
    home->RecalcLayout();
}

void COleIPFrameWnd::SetObjectRects(const RECT& pos, const RECT&)
{
    m_rectPos = pos;
    RECT frame = pos;
    if (GetDlgItem(AFX_IDW_RESIZE_BAR) != nullptr)
        InflateRect(&frame, kResizeBorder, kResizeBorder);
    ::SetWindowPos(m_hWnd, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutObject();
}

void COleIPFrameWnd::LayoutObject()
{
    RECT r;
    GetClientRect(&r);
    if (HWND bar = GetDlgItem(AFX_IDW_RESIZE_BAR)) {
        ::SetWindowPos(bar, HWND_BOTTOM, 0, 0, r.right, r.bottom, SWP_NOACTIVATE);
        InflateRect(&r, -kResizeBorder, -kResizeBorder);
    }
    if (HWND pane = GetDlgItem(AFX_IDW_PANE_FIRST))
        ::SetWindowPos(pane, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
}

void COleIPFrameWnd::RecalcLayout()
{
    LayoutObject();
    m_frameBars.RecalcLayout();
    m_docBars.RecalcLayout();
}

void COleIPFrameWnd::ResizeBorder(LPCRECT, BOOL frameWindow)
{
    // The bars' windows ask the container for its border again.
    (frameWindow ? m_frameBars : m_docBars).RecalcLayout();
}

void COleIPFrameWnd::RequestPositionChange(const RECT& rect)
{
    if (m_pDoc != nullptr)
        m_pDoc->RequestPositionChange(rect);
}

void COleIPFrameWnd::ShowServerUI(IOleInPlaceActiveObject* active, const wchar_t* name)
{
    if (m_lpFrame != nullptr)
        m_lpFrame->SetActiveObject(active, name);
    if (m_lpDocFrame != nullptr)
        m_lpDocFrame->SetActiveObject(active, name);
    MergeMenus();
    HWND window = nullptr;
    if (m_lpFrame != nullptr && SUCCEEDED(m_lpFrame->GetWindow(&window)))
        m_frameBars.AttachContainer(window, m_lpFrame);
    if (m_lpDocFrame != nullptr && SUCCEEDED(m_lpDocFrame->GetWindow(&window)))
        m_docBars.AttachContainer(window, m_lpDocFrame);
    OnCreateControlBars(&m_frameBars, m_docBars.m_hWnd != nullptr ? &m_docBars : nullptr);
    // The bars live on the container's windows but are this frame's: it
    // brings their buttons up to date and gives their tips and prompts.
    for (COleCntrFrameWnd* host : {&m_frameBars, &m_docBars}) {
        for (CControlBar* bar : host->Bars())
            AddControlBar(bar);
        host->RecalcLayout();
    }
}

void COleIPFrameWnd::HideServerUI()
{
    for (COleCntrFrameWnd* host : {&m_frameBars, &m_docBars}) {
        for (CControlBar* bar : host->Bars())
            RemoveControlBar(bar);
        host->DetachContainer();
    }
    UnmergeMenus();
    if (m_lpFrame != nullptr)
        m_lpFrame->SetActiveObject(nullptr, nullptr);
    if (m_lpDocFrame != nullptr)
        m_lpDocFrame->SetActiveObject(nullptr, nullptr);
}

// The container inserts its groups (File, Container, Window) into the
// shared menu; the server's popups follow in the groups its in-place menu
// resource separates: Edit, then Object, then Help.
void COleIPFrameWnd::MergeMenus()
{
    CDocTemplate* tmpl = m_pDoc != nullptr ? m_pDoc->GetDocTemplate() : nullptr;
    HMENU serverMenu = tmpl != nullptr ? tmpl->m_hMenuInPlaceServer : nullptr;
    if (serverMenu == nullptr || m_lpFrame == nullptr)
        return;
    m_hSharedMenu = CreateMenu();
    OLEMENUGROUPWIDTHS widths{};
    if (FAILED(m_lpFrame->InsertMenus(m_hSharedMenu, &widths)))
        widths = {};
    int group = 1;
    for (int i = 0; i < GetMenuItemCount(serverMenu) && group <= 5; ++i) {
        HMENU popup = GetSubMenu(serverMenu, i);
        if (popup == nullptr) {
            group += 2;  // a separator starts the next group
            continue;
        }
        UINT position = 0;
        for (int g = 0; g <= group; ++g)
            position += static_cast<UINT>(widths.width[g]);
        char text[128] = "";
        GetMenuStringA(serverMenu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        if (InsertMenuA(m_hSharedMenu, position, MF_BYPOSITION | MF_POPUP | MF_STRING,
                        reinterpret_cast<UINT_PTR>(popup), text))
            ++widths.width[group];
    }
    m_hOleMenu = OleCreateMenuDescriptor(m_hSharedMenu, &widths);
    m_lpFrame->SetMenu(m_hSharedMenu, m_hOleMenu, m_hWnd);
}

void COleIPFrameWnd::UnmergeMenus()
{
    if (m_hSharedMenu == nullptr)
        return;
    if (m_lpFrame != nullptr)
        m_lpFrame->SetMenu(nullptr, nullptr, nullptr);  // the container's own menu again
    // The server's popups belong to its menu resource: out before the rest.
    CDocTemplate* tmpl = m_pDoc != nullptr ? m_pDoc->GetDocTemplate() : nullptr;
    HMENU serverMenu = tmpl != nullptr ? tmpl->m_hMenuInPlaceServer : nullptr;
    for (int i = GetMenuItemCount(m_hSharedMenu) - 1; i >= 0; --i) {
        HMENU popup = GetSubMenu(m_hSharedMenu, i);
        for (int j = 0; popup != nullptr && serverMenu != nullptr && j < GetMenuItemCount(serverMenu); ++j)
            if (GetSubMenu(serverMenu, j) == popup) {
                RemoveMenu(m_hSharedMenu, static_cast<UINT>(i), MF_BYPOSITION);
                break;
            }
    }
    if (m_lpFrame != nullptr)
        m_lpFrame->RemoveMenus(m_hSharedMenu);
    if (m_hOleMenu != nullptr)
        OleDestroyMenuDescriptor(m_hOleMenu);
    DestroyMenu(m_hSharedMenu);
    m_hSharedMenu = nullptr;
    m_hOleMenu = nullptr;
}

BOOL COleIPFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    if (m_hAccelTable != nullptr && TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg))
        return TRUE;  // this frame may be gone now: nothing of it is used
    // Then the container's keys (its accelerators and menu mnemonics).
    return m_lpFrame != nullptr && OleTranslateAccelerator(m_lpFrame, &m_frameInfo, msg) == S_OK;
}

BOOL COleIPFrameWnd::OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo)
{
    if (CFrameWnd::OnCmdMsg(id, code, pExtra, pHandlerInfo))
        return TRUE;
    // A child window itself, the frame still hands commands on to the
    // application.
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(id, code, pExtra, pHandlerInfo);
}

void COleIPFrameWnd::SetMessageText(const char* text)
{
    if (m_lpFrame == nullptr || text == nullptr)
        return;
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
    m_lpFrame->SetStatusText(wide.c_str());
}
