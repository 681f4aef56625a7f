// CInPlaceFrame: Korvel's frame while the map is active in place inside a
// container: the resize bar around the map, a drop target that keeps
// drops from falling through to the container, the in-place toolbar
// (resource 4) on the container's frame, and the Edit commands for the
// focused field, as the main window has them.
#pragma once

#include "fx/ole_drop_target.h"
#include "fx/ole_ip_frame.h"
#include "fx/ole_resize_bar.h"

class CInPlaceFrame : public COleIPFrameWnd {
    DECLARE_DYNCREATE(CInPlaceFrame)
    DECLARE_MESSAGE_MAP()
public:
    CInPlaceFrame() = default;

    CToolBar m_wndToolBar;
    COleResizeBar m_wndResizeBar;
    COleDropTarget m_dropTarget;

    BOOL OnCreateControlBars(CFrameWnd* pWndFrame, CFrameWnd* pWndDoc) override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnEditCommand(UINT id);
    void OnUpdateEditCommand(CCmdUI* ui);
};
