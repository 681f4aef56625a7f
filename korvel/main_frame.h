// CMainFrame: Korvel's single-document main window, with its toolbar and
// status bar, the size it may not grow beyond (the size recorded once the
// form was fitted), the "MOD" indicator and the Edit commands, which go to
// the control that has the keyboard focus.
#pragma once

#include "fx/frame_wnd.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
    DECLARE_MESSAGE_MAP()
public:
    CMainFrame() = default;

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    int m_nMaxWidth = -1;  // -1: no size recorded
    int m_nMaxHeight = -1;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // Keeps the window's current outer size as the largest it may take.
    void RecordSize();

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnUpdateModified(CCmdUI* ui);
    void OnEditCommand(UINT id);
    void OnUpdateEditCommand(CCmdUI* ui);
    void OnHelpUsing();
    void OnHelpIndex();
};
