#include "korvel/ipframe.h"

#include "fx/edit_commands.h"
#include "korvel/resource.h"

IMPLEMENT_DYNCREATE(CInPlaceFrame, COleIPFrameWnd)

BEGIN_MESSAGE_MAP(CInPlaceFrame, COleIPFrameWnd)
    ON_WM_CREATE()
    ON_FOCUS_EDIT_COMMANDS(OnEditCommand, OnUpdateEditCommand)
END_MESSAGE_MAP()

int CInPlaceFrame::OnCreate(LPCREATESTRUCTA cs)
{
    if (COleIPFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_wndResizeBar.Create(this))
        return -1;
    // Drops on the map go nowhere rather than to the container behind it.
    m_dropTarget.Register(this);
    return 0;
}

BOOL CInPlaceFrame::OnCreateControlBars(CFrameWnd* pWndFrame, CFrameWnd*)
{
    if (!m_wndToolBar.Create(pWndFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_SRVR_INPLACE))
        return FALSE;
    // Its buttons' commands come to this frame, not to the container.
    m_wndToolBar.SetOwner(this);
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    pWndFrame->EnableDocking(CBRS_ALIGN_ANY);
    pWndFrame->DockControlBar(&m_wndToolBar);
    return TRUE;
}

void CInPlaceFrame::OnEditCommand(UINT id)
{
    FxRunFocusEditCommand(id, GetActiveView() != nullptr);
}

void CInPlaceFrame::OnUpdateEditCommand(CCmdUI* ui)
{
    FxUpdateFocusEditCommand(ui, GetActiveView() != nullptr, m_hWnd);
}
