#include "korvel/main_frame.h"

#include "common/single_instance.h"
#include "fx/document.h"
#include "fx/edit_commands.h"
#include "fx/view.h"
#include "fx/win_app.h"
#include "korvel/app.h"
#include "korvel/resource.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_GETMINMAXINFO()
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_MOD, OnUpdateModified)
    ON_FOCUS_EDIT_COMMANDS(OnEditCommand, OnUpdateEditCommand)
    ON_COMMAND(ID_HELP_USING, OnHelpUsing)
    ON_COMMAND(ID_CONTEXT_HELP, OnHelpIndex)
    ON_COMMAND(ID_DEFAULT_HELP, OnHelpIndex)
END_MESSAGE_MAP()

namespace {
// The panes of the status bar, in order.
const UINT kIndicators[] = {
    ID_SEPARATOR, ID_INDICATOR_ITEM_COUNT, ID_INDICATOR_MOD, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
};
}  // namespace

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (CKorvelApp* app = GetKorvelApp(); app && !app->m_strWndClass.IsEmpty())
        cs.lpszClass = app->m_strWndClass.c_str();
    // The document's name comes first in the title.
    cs.style |= FWS_PREFIXTITLE;
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    TEXTMETRICA metrics{};
    HDC dc = GetDC(m_hWnd);
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(m_hWnd, dc);

    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;

    // The item count pane is as wide as "%d Items" and three more characters.
    CString count = FxLoadString(IDS_ITEM_COUNT);
    m_wndStatusBar.SetPaneInfo(1, ID_INDICATOR_ITEM_COUNT, SBPS_NORMAL,
                               (count.GetLength() + 3) * metrics.tmAveCharWidth);

    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    // A program started for a container serves that container's object: a
    // start by the user does not take this window for its running instance.
    if (CKorvelApp* app = GetKorvelApp(); app != nullptr && (app->RunEmbedded() || app->RunAutomated()))
        SetPropA(m_hWnd, kServingClientProperty, reinterpret_cast<HANDLE>(1));
    return 0;
}

void CMainFrame::OnDestroy()
{
    RemovePropA(m_hWnd, kServingClientProperty);
    CFrameWnd::OnDestroy();
}

void CMainFrame::RecordSize()
{
    RECT r;
    GetWindowRect(&r);
    m_nMaxWidth = r.right - r.left;
    m_nMaxHeight = r.bottom - r.top;
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* info)
{
    // Maximizing leaves the window where it is, at its recorded size.
    RECT r;
    GetWindowRect(&r);
    info->ptMaxPosition = {r.left, r.top};
    if (m_nMaxWidth >= 0) {
        info->ptMaxSize = {m_nMaxWidth, m_nMaxHeight};
        info->ptMaxTrackSize = {m_nMaxWidth, m_nMaxHeight};
    }
    Default();
}

void CMainFrame::OnUpdateModified(CCmdUI* ui)
{
    CView* view = GetActiveView();
    CDocument* doc = view != nullptr ? view->GetDocument() : nullptr;
    ui->Enable(doc != nullptr && doc->IsModified());
}

void CMainFrame::OnEditCommand(UINT id)
{
    FxRunFocusEditCommand(id, GetActiveView() != nullptr);
}

void CMainFrame::OnUpdateEditCommand(CCmdUI* ui)
{
    FxUpdateFocusEditCommand(ui, GetActiveView() != nullptr, m_hWnd);
}

void CMainFrame::OnHelpUsing()
{
    if (CWinApp* app = AfxGetApp())
        app->WinHelp(0, HELP_HELPONHELP);
}

// Context help has no key and no menu entry here; it opens the help
// file's index like the help index command.
void CMainFrame::OnHelpIndex()
{
    if (CWinApp* app = AfxGetApp())
        app->WinHelp(0, HELP_INDEX);
}
