#include "util/main_frame.h"

#include "fx/doc_template.h"
#include "fx/document.h"
#include "fx/edit_commands.h"
#include "fx/view.h"
#include "util/app.h"
#include "util/network/net_info_pages.h"
#include "util/printer/download_command.h"
#include "util/resource.h"

IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_UPDATE_COMMAND_UI(ID_FILE_REVERT, OnUpdateTypeTableModified)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateTypeTableModified)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_MOD, OnUpdateTypeTableModified)
    ON_COMMAND(ID_FILE_DOWNLOAD, OnFileDownload)
    ON_COMMAND(ID_PRINTER_CHOOSE, OnPrinterChoose)
    ON_COMMAND(ID_PRINTER_STATUS, OnPrinterStatus)
    ON_COMMAND(ID_PRINTER_CHANGE_NAME, OnPrinterChangeName)
    ON_COMMAND(ID_NETWORK_INFORMATION, OnNetworkInformation)
    ON_FOCUS_EDIT_COMMANDS(OnEditCommand, OnUpdateEditCommand)
END_MESSAGE_MAP()

namespace {
// The panes of the status bar, in order.
const UINT kIndicators[] = {
    ID_SEPARATOR, ID_INDICATOR_TYPE_COUNT, ID_INDICATOR_MOD, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
};
}  // namespace

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (CVestrelUtilApp* app = GetVestrelUtilApp(); app && !app->m_strWndClass.IsEmpty())
        cs.lpszClass = app->m_strWndClass.c_str();
    return CMDIFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA cs)
{
    TEXTMETRICA metrics{};
    HDC dc = GetDC(m_hWnd);
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(m_hWnd, dc);

    if (CMDIFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;

    // The count pane of the printer type window is as wide as "%d Types"
    // and three more characters.
    CString count = FxLoadString(IDS_TYPE_COUNT);
    m_wndStatusBar.SetPaneInfo(1, ID_INDICATOR_TYPE_COUNT, SBPS_NORMAL,
                               (count.GetLength() + 3) * metrics.tmAveCharWidth);

    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    return 0;
}

BOOL CMainFrame::IsActiveTypeTableModified()
{
    CVestrelUtilApp* app = GetVestrelUtilApp();
    CMDIChildWnd* child = MDIGetActive();
    CView* view = child ? child->GetActiveView() : nullptr;
    if (app == nullptr || app->m_pTypesTemplate == nullptr || view == nullptr)
        return FALSE;
    CDocument* doc = view->GetDocument();
    return view->IsKindOf(app->m_pTypesTemplate->m_pViewClass) && doc != nullptr && doc->IsModified();
}

void CMainFrame::OnUpdateTypeTableModified(CCmdUI* ui)
{
    ui->Enable(IsActiveTypeTableModified());
}

void CMainFrame::OnFileDownload() { RunDownloadCommand(this); }

void CMainFrame::OnPrinterChoose() { RunChooseCommand(this); }

void CMainFrame::OnPrinterStatus() { RunPrinterStatusCommand(this); }

void CMainFrame::OnPrinterChangeName() { RunChangeNameCommand(); }
void CMainFrame::OnNetworkInformation() { RunNetworkInformationSheet(); }

bool CMainFrame::HasActiveView()
{
    CMDIChildWnd* child = MDIGetActive();
    return child != nullptr && child->GetActiveView() != nullptr;
}

void CMainFrame::OnEditCommand(UINT id) { FxRunFocusEditCommand(id, HasActiveView()); }

void CMainFrame::OnUpdateEditCommand(CCmdUI* ui) { FxUpdateFocusEditCommand(ui, HasActiveView(), m_hWnd); }
