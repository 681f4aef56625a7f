// CWnd: one C++ object per window handle. Windows created through CreateEx
// (or subclassed) send their messages to WindowProc, which routes WM_COMMAND
// through OnCommand and every other message through the class's message
// table; what no entry takes goes to DefWindowProc.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "fx/cmd_target.h"

class CFrameWnd;
class CDataExchange;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
    DECLARE_MESSAGE_MAP()
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    // The object attached to `hwnd`, or nullptr for a window the framework
    // does not know.
    static CWnd* FromHandlePermanent(HWND hwnd);
    static CWnd* FromHandle(HWND hwnd) { return FromHandlePermanent(hwnd); }
    BOOL Attach(HWND hwnd);
    HWND Detach();
    // Routes an existing window's messages through this object.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    // Registers (once) a window class whose procedure is the framework's.
    static const char* RegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                        HBRUSH background = nullptr, HICON icon = nullptr);
    // Registers (once) the window class `name` with the framework's procedure.
    static BOOL RegisterNamedClass(const char* name, UINT classStyle, HBRUSH background);
    // Registers class `existing` again under `name`: a program's own name
    // for a framework class, by which other processes find its windows.
    static BOOL RegisterClassCopy(const char* existing, const char* name);
    static LRESULT CALLBACK FxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  int x, int y, int cx, int cy, HWND parent, HMENU menuOrId, void* param = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual BOOL DestroyWindow();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default processing of the message being handled.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Called after the window is gone; frames and views delete themselves.
    virtual void PostNcDestroy() {}

    // Windows run by the dialog manager (dialogs, form views) use this
    // procedure; what no table entry takes goes back to the dialog manager.
    static INT_PTR CALLBACK FxDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // WM_INITDIALOG of such a window; TRUE lets the system set the focus.
    virtual BOOL OnInitDialogMessage() { return TRUE; }
    // Data exchange between members and the window's controls.
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetParent() const { return FromHandlePermanent(::GetParent(m_hWnd)); }

    // Thin forwards.
    HWND GetSafeHwnd() const { return m_hWnd; }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, m, w, l); }
    BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, m, w, l); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    CString GetWindowText() const;
    void SetDlgItemText(int id, const char* text) { ::SetDlgItemTextA(m_hWnd, id, text); }
    CString GetDlgItemText(int id) const;
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL on = TRUE) { return ::EnableWindow(m_hWnd, on); }
    void MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, cx, cy, repaint); }
    // Centres the window over its owner (over the work area when it has no
    // visible owner), kept inside the owner's monitor's work area.
    void CenterWindow();
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    void DragAcceptFiles(BOOL accept = TRUE) { ::DragAcceptFiles(m_hWnd, accept); }

protected:
    WNDPROC m_pfnSuper = nullptr;  // the original procedure of a subclassed window
    bool m_bDialogManaged = false;  // its procedure is FxDlgProc

    // Handlers most windows share.
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnSetFocus(HWND oldFocus);
    void OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnDropFiles(HDROP drop);

private:
    bool m_defaultCalled = false;  // the message went back to the dialog manager
    static LRESULT Dispatch(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnNcDestroy();
};

// The window object being created on this thread; the framework's window
// and dialog procedures attach it to the new handle at its first message.
void FxSetWindowBeingCreated(CWnd* wnd);
CWnd* FxTakeWindowBeingCreated();
// Whether the last CreateEx of this thread got as far as attaching its
// object. A window that was attached and then failed has been destroyed,
// and a self-deleting window (frame, view) has deleted its object.
bool FxLastCreateAttached();

// Sends `message` to every descendant window that the framework knows.
void FxSendMessageToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);
