// A small MDI program with a handler for the route's commands at every
// level (view, document, template, child frame, main frame, application),
// each recording where a command arrived.
#pragma once

#include <string>
#include <vector>

#include "fx/doc_template.h"
#include "fx/document.h"
#include "fx/mdi.h"
#include "fx/view.h"
#include "fx/win_app.h"

// Where each command arrived, as "level id", in order.
std::vector<std::string>& RouteLog();

class CRouteApp : public CWinApp {
    DECLARE_MESSAGE_MAP()
public:
    void OnRouteCommand(UINT id);
};

class CRouteMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CRouteMainFrame)
    DECLARE_MESSAGE_MAP()
public:
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
    static bool s_gateOpen;
    int OnCreate(LPCREATESTRUCTA cs);
    void OnRouteCommand(UINT id);
    void OnGated();
    void OnGatedKeyOnly();
    void OnUpdateGated(CCmdUI* ui);
};

class CRouteChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CRouteChildFrame)
    DECLARE_MESSAGE_MAP()
public:
    void OnRouteCommand(UINT id);
};

class CRouteDoc : public CDocument {
    DECLARE_DYNCREATE(CRouteDoc)
    DECLARE_MESSAGE_MAP()
public:
    void OnRouteCommand(UINT id);
};

class CRouteView : public CView {
    DECLARE_DYNCREATE(CRouteView)
    DECLARE_MESSAGE_MAP()
public:
    void OnDraw(CDC*) override {}
    void OnRouteCommand(UINT id);
};

class CRouteTemplate : public CMultiDocTemplate {
    DECLARE_MESSAGE_MAP()
public:
    CRouteTemplate();
    void OnRouteCommand(UINT id);
};

// Starts the program in process (main frame shown, one template); ends it.
CRouteMainFrame* StartRouteProgram(CRouteApp& app);
void EndRouteProgram(CRouteApp& app);
// Runs the messages waiting in the queue.
void PumpWaitingMessages();
