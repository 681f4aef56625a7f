// COleResizeBar: the hatched border around an object active in place, with
// eight handles; dragging a handle asks the container for the object's new
// size (the in-place frame's RequestPositionChange). It covers the
// in-place frame; the view sits inside its border.
#pragma once

#include "fx/fx_ids.h"
#include "fx/wnd.h"

class COleResizeBar : public CWnd {
    DECLARE_DYNAMIC(COleResizeBar)
    DECLARE_MESSAGE_MAP()
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = AFX_IDW_RESIZE_BAR);

    // The handle at `point` (client coordinates): 0 to 7 clockwise from the
    // top-left corner, or -1.
    int HandleAt(POINT point) const;
    // The object's place when handle `handle` is dragged by `delta` from
    // the place `pos`; never smaller than the handles need.
    static RECT MovedRect(const RECT& pos, int handle, POINT delta);

protected:
    void OnPaint();
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);

private:
    int m_nTracking = -1;  // the handle being dragged
    POINT m_ptStart{};     // where, in screen coordinates
    RECT HandleRect(int handle) const;
};
