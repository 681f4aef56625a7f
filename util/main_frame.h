// CMainFrame: VestrelUtil's MDI main frame, with its toolbar and status bar,
// the printer commands it handles, the update rules of Save, Revert and
// the "MOD" indicator, and the edit keys for the focused field of a window.
#pragma once

#include "fx/mdi.h"

class CMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
    DECLARE_MESSAGE_MAP()
public:
    CMainFrame() = default;

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // True when the active child's view is a printer type table view whose
    // document is modified.
    BOOL IsActiveTypeTableModified();

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnUpdateTypeTableModified(CCmdUI* ui);
    void OnFileDownload();
    void OnPrinterChoose();
    void OnPrinterChangeName();
    void OnPrinterStatus();
    void OnNetworkInformation();
    // Copy, Cut, Paste, Undo (and Clear) for the field with the focus in
    // the active window (fx/edit_commands.h).
    void OnEditCommand(UINT id);
    void OnUpdateEditCommand(CCmdUI* ui);
    bool HasActiveView();
};
