#include "fx/wnd.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <unordered_map>

#include "fx/callback_cast.h"
#include "fx/frame_wnd.h"
#include "fx/module.h"

namespace {

// One object per handle. A program has one user-interface thread, but a
// library the shell loads may have windows on several threads at once.
std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}
SRWLOCK g_handleMapLock = SRWLOCK_INIT;

thread_local CWnd* t_windowBeingCreated = nullptr;
thread_local bool t_lastCreateAttached = false;

// The message being handled, for Default().
struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local CurrentMessage t_current{};

}  // namespace

void FxSetWindowBeingCreated(CWnd* wnd)
{
    t_windowBeingCreated = wnd;
}

CWnd* FxTakeWindowBeingCreated()
{
    CWnd* w = t_windowBeingCreated;
    t_windowBeingCreated = nullptr;
    if (w != nullptr)
        t_lastCreateAttached = true;
    return w;
}

bool FxLastCreateAttached()
{
    return t_lastCreateAttached;
}

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    if (m_hWnd != nullptr) {
        HWND h = m_hWnd;
        Detach();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    AcquireSRWLockShared(&g_handleMapLock);
    auto it = HandleMap().find(hwnd);
    CWnd* wnd = it == HandleMap().end() ? nullptr : it->second;
    ReleaseSRWLockShared(&g_handleMapLock);
    return wnd;
}

BOOL CWnd::Attach(HWND hwnd)
{
    if (hwnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    AcquireSRWLockExclusive(&g_handleMapLock);
    const bool added = HandleMap().emplace(hwnd, this).second;
    ReleaseSRWLockExclusive(&g_handleMapLock);
    if (added)
        m_hWnd = hwnd;
    return added;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h != nullptr) {
        AcquireSRWLockExclusive(&g_handleMapLock);
        HandleMap().erase(h);
        ReleaseSRWLockExclusive(&g_handleMapLock);
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!Attach(hwnd))
        return FALSE;
    // What the object's table leaves goes to the window's own procedure,
    // also for a dialog (a property page the system made, for example).
    m_bDialogManaged = false;
    m_pfnSuper = FxSetWindowProc(hwnd, &CWnd::FxWndProc);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND h = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    return h != nullptr && SubclassWindow(h);
}

const char* CWnd::RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // One class per combination, named after it; FxRegisterClass keeps the
    // module's classes and takes them away when the module unloads. The
    // names live as long as the module.
    static std::set<std::string> names;
    static SRWLOCK namesLock = SRWLOCK_INIT;
    char name[128];
    snprintf(name, sizeof name, "Fx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), classStyle,
             static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::FxWndProc;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!FxRegisterClass(wc))
        return nullptr;
    AcquireSRWLockExclusive(&namesLock);
    const char* kept = names.emplace(name).first->c_str();
    ReleaseSRWLockExclusive(&namesLock);
    return kept;
}

BOOL CWnd::RegisterNamedClass(const char* name, UINT classStyle, HBRUSH background)
{
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::FxWndProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return FxRegisterClass(wc);
}

BOOL CWnd::RegisterClassCopy(const char* existing, const char* name)
{
    WNDCLASSA wc{};
    if (!GetClassInfoA(AfxGetInstanceHandle(), existing, &wc))
        return FALSE;
    wc.lpszClassName = name;
    return FxRegisterClass(wc);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&)
{
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int cx, int cy, HWND parent, HMENU menuOrId, void* param)
{
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return FALSE;
    FxSetWindowBeingCreated(this);
    t_lastCreateAttached = false;
    HWND h = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                             cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    FxSetWindowBeingCreated(nullptr);
    return h != nullptr && h == m_hWnd;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CWnd::FxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (wnd == nullptr) {
        wnd = FxTakeWindowBeingCreated();
        if (wnd == nullptr || !wnd->Attach(hwnd))
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return Dispatch(wnd, hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK CWnd::FxDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (wnd == nullptr) {
        wnd = FxTakeWindowBeingCreated();
        if (wnd == nullptr || !wnd->Attach(hwnd))
            return FALSE;
    }
    if (message == WM_INITDIALOG)
        return wnd->OnInitDialogMessage();
    wnd->m_defaultCalled = false;
    LRESULT result = Dispatch(wnd, hwnd, message, wParam, lParam);
    // The object may be gone (WM_NCDESTROY): then the dialog manager ends it.
    if (FromHandlePermanent(hwnd) != wnd || wnd->m_defaultCalled)
        return FALSE;
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

LRESULT CWnd::Dispatch(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CurrentMessage saved = t_current;
    t_current = {message, wParam, lParam};
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    t_current = saved;
    if (message == WM_NCDESTROY && wnd->m_hWnd == hwnd)
        wnd->OnNcDestroy();
    return result;
}

void CWnd::OnNcDestroy()
{
    if (m_pfnSuper != nullptr)
        FxSetWindowProc(m_hWnd, m_pfnSuper);
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam))
            return 0;
        return DefWindowProc(message, wParam, lParam);
    }
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result))
            return result;
        return DefWindowProc(message, wParam, lParam);
    }
    if (const MessageEntry* e = FindEntry(MessageKind::Message, message, 0, 0)) {
        MessageCall call{message, wParam, lParam, 0, nullptr, 0};
        e->thunk(this, call);
        return call.result;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_bDialogManaged) {
        m_defaultCalled = true;
        return 0;
    }
    if (m_pfnSuper != nullptr)
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    const HWND control = reinterpret_cast<HWND>(lParam);
    if (control == nullptr) {
        // Menu (code 0) or accelerator (code 1). A command that has become
        // disabled since its menu or button was drawn, or that only a key
        // reaches, does nothing.
        if (id == 0)
            return FALSE;
        if (!QueryCommandState(this, id).enabled)
            return TRUE;
        code = CN_COMMAND;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    const MessageEntry* e = FindEntry(MessageKind::Notify, WM_NOTIFY, hdr->code, static_cast<UINT>(hdr->idFrom));
    if (e == nullptr)
        return FALSE;
    MessageCall call{WM_NOTIFY, 0, lParam, static_cast<UINT>(hdr->idFrom), nullptr, 0};
    e->thunk(this, call);
    *result = call.result;
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND h = ::GetParent(m_hWnd); h != nullptr; h = ::GetParent(h)) {
        CWnd* w = FromHandlePermanent(h);
        if (w != nullptr && w->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(w);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* top = IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : nullptr;
    for (CFrameWnd* f = GetParentFrame(); f != nullptr; f = f->GetParentFrame())
        top = f;
    return top;
}

CString CWnd::GetWindowText() const
{
    int n = GetWindowTextLengthA(m_hWnd);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = ::GetWindowTextA(m_hWnd, s.data(), n + 1);
    s.resize(static_cast<size_t>(n > 0 ? n : 0));
    return CString(std::move(s));
}

CString CWnd::GetDlgItemText(int id) const
{
    HWND h = ::GetDlgItem(m_hWnd, id);
    int n = h ? GetWindowTextLengthA(h) : 0;
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = h ? ::GetWindowTextA(h, s.data(), n + 1) : 0;
    s.resize(static_cast<size_t>(n > 0 ? n : 0));
    return CString(std::move(s));
}

int CWnd::OnCreate(LPCREATESTRUCTA)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnSetFocus(HWND) { Default(); }
void CWnd::OnInitMenuPopup(HMENU, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }

void FxSendMessageToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (HWND child = GetTopWindow(parent); child != nullptr; child = GetNextWindow(child, GW_HWNDNEXT)) {
        if (CWnd* w = CWnd::FromHandlePermanent(child))
            w->SendMessage(message, wParam, lParam);
        FxSendMessageToDescendants(child, message, wParam, lParam);
    }
}

void CWnd::CenterWindow()
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && (!::IsWindowVisible(owner) || ::IsIconic(owner)))
        owner = nullptr;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT over = work, mine{};
    if (owner != nullptr)
        ::GetWindowRect(owner, &over);
    ::GetWindowRect(m_hWnd, &mine);
    const int width = mine.right - mine.left, height = mine.bottom - mine.top;
    int x = (over.left + over.right - width) / 2;
    int y = (over.top + over.bottom - height) / 2;
    // Wholly on the work area where it fits; its top-left corner always.
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
