#include "route_fixture.h"

#include "tests/fx/fx_test_ids.h"

std::vector<std::string>& RouteLog()
{
    static std::vector<std::string> log;
    return log;
}

namespace {
void Record(const char* level, UINT id)
{
    RouteLog().push_back(std::string(level) + " " + std::to_string(id));
}

const UINT kTestIndicators[] = {ID_SEPARATOR, ID_INDICATOR_GATE, ID_INDICATOR_CAPS};
}  // namespace

BEGIN_MESSAGE_MAP(CRouteApp, CWinApp)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_APP, OnRouteCommand)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
END_MESSAGE_MAP()

void CRouteApp::OnRouteCommand(UINT id) { Record("app", id); }

IMPLEMENT_DYNCREATE(CRouteMainFrame, CMDIFrameWnd)
BEGIN_MESSAGE_MAP(CRouteMainFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_MAIN, OnRouteCommand)
    ON_COMMAND(ID_GATED, OnGated)
    ON_COMMAND(ID_GATED_KEY_ONLY, OnGatedKeyOnly)
    ON_UPDATE_COMMAND_UI(ID_GATED, OnUpdateGated)
    ON_UPDATE_COMMAND_UI(ID_GATED_KEY_ONLY, OnUpdateGated)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_GATE, OnUpdateGated)
END_MESSAGE_MAP()

bool CRouteMainFrame::s_gateOpen = false;

int CRouteMainFrame::OnCreate(LPCREATESTRUCTA cs)
{
    if (CMDIFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_wndToolBar.Create(this) || !m_wndToolBar.LoadToolBar(IDR_TEST_MAIN))
        return -1;
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(kTestIndicators, 3))
        return -1;
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    return 0;
}

void CRouteMainFrame::OnRouteCommand(UINT id) { Record("main", id); }
void CRouteMainFrame::OnGated() { Record("main", ID_GATED); }
void CRouteMainFrame::OnGatedKeyOnly() { Record("main", ID_GATED_KEY_ONLY); }
void CRouteMainFrame::OnUpdateGated(CCmdUI* ui) { ui->Enable(s_gateOpen); }

IMPLEMENT_DYNCREATE(CRouteChildFrame, CMDIChildWnd)
BEGIN_MESSAGE_MAP(CRouteChildFrame, CMDIChildWnd)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_CHILD, OnRouteCommand)
END_MESSAGE_MAP()
void CRouteChildFrame::OnRouteCommand(UINT id) { Record("child", id); }

IMPLEMENT_DYNCREATE(CRouteDoc, CDocument)
BEGIN_MESSAGE_MAP(CRouteDoc, CDocument)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_DOC, OnRouteCommand)
END_MESSAGE_MAP()
void CRouteDoc::OnRouteCommand(UINT id) { Record("doc", id); }

IMPLEMENT_DYNCREATE(CRouteView, CView)
BEGIN_MESSAGE_MAP(CRouteView, CView)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_VIEW, OnRouteCommand)
END_MESSAGE_MAP()
void CRouteView::OnRouteCommand(UINT id) { Record("view", id); }

CRouteTemplate::CRouteTemplate()
    : CMultiDocTemplate(IDR_TEST_DOC, RUNTIME_CLASS(CRouteDoc), RUNTIME_CLASS(CRouteChildFrame),
                        RUNTIME_CLASS(CRouteView))
{
}

BEGIN_MESSAGE_MAP(CRouteTemplate, CMultiDocTemplate)
    ON_COMMAND_RANGE(ID_ROUTE_VIEW, ID_ROUTE_TEMPLATE, OnRouteCommand)
END_MESSAGE_MAP()
void CRouteTemplate::OnRouteCommand(UINT id) { Record("template", id); }

CRouteMainFrame* StartRouteProgram(CRouteApp& app)
{
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    app.Enable3dControls();
    app.AddDocTemplate(new CRouteTemplate);
    auto* frame = new CRouteMainFrame;
    if (!frame->LoadFrame(IDR_TEST_MAIN))
        return nullptr;
    app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOWNORMAL);
    frame->UpdateWindow();
    RouteLog().clear();
    return frame;
}

void EndRouteProgram(CRouteApp& app)
{
    app.CloseAllDocuments(TRUE);
    if (app.m_pMainWnd != nullptr)
        app.m_pMainWnd->DestroyWindow();
    PumpWaitingMessages();
}

void PumpWaitingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
