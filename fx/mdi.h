// Multiple-document frames: the main frame holds the MDI client window and
// shows the menu and accelerators of the active child's document type;
// child frames hold one view each.
#pragma once

#include "fx/frame_wnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
    DECLARE_MESSAGE_MAP()
public:
    HWND m_hWndMDIClient = nullptr;

    // The framework's window class of MDI main frames; registered on demand.
    static const char* kWndClass;
    static BOOL RegisterFrameClass();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    HACCEL GetDefaultAccelerator() override;
    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    void RecalcLayout() override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void OnIdleUpdateCmdUI() override;

    CMDIChildWnd* MDIGetActive() const;
    // Shows `menu` (the default menu when null) as the frame's menu.
    void SetFrameMenu(HMENU menu);

protected:
    BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) override;
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
    DECLARE_MESSAGE_MAP()
public:
    HMENU m_hMenuShared = nullptr;  // the document type's menu and accelerators
    HACCEL m_hAccelShared = nullptr;

    BOOL LoadFrame(UINT id, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr, CCreateContext* context = nullptr) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL DestroyWindow() override;
    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void OnUpdateFrameTitle(BOOL addToTitle) override;

protected:
    void OnMDIActivate(BOOL activate, HWND activated, HWND deactivated);
    int OnMouseActivate(HWND top, UINT hitTest, UINT message);
};
