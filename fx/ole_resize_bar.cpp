#include "fx/ole_resize_bar.h"

#include <algorithm>

#include "fx/ole_ip_frame.h"

IMPLEMENT_DYNAMIC(COleResizeBar, CWnd)

BEGIN_MESSAGE_MAP(COleResizeBar, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

namespace {
constexpr int kBorder = COleIPFrameWnd::kResizeBorder;
// Which edges each handle moves: left, top, right, bottom.
constexpr bool kMoves[8][4] = {
    {true, true, false, false}, {false, true, false, false}, {false, true, true, false}, {false, false, true, false},
    {false, false, true, true}, {false, false, false, true}, {true, false, false, true}, {true, false, false, false},
};
}  // namespace

BOOL COleResizeBar::Create(CWnd* parent, DWORD style, UINT id)
{
    const char* cls = RegisterWndClass(0, nullptr, nullptr);
    return CreateEx(0, cls, nullptr, style, 0, 0, 0, 0, parent->m_hWnd,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

RECT COleResizeBar::HandleRect(int handle) const
{
    RECT r;
    GetClientRect(&r);
    const int midX = (r.right - kBorder) / 2, midY = (r.bottom - kBorder) / 2;
    const int x[8] = {0, midX, r.right - kBorder, r.right - kBorder, r.right - kBorder, midX, 0, 0};
    const int y[8] = {0, 0, 0, midY, r.bottom - kBorder, r.bottom - kBorder, r.bottom - kBorder, midY};
    return {x[handle], y[handle], x[handle] + kBorder, y[handle] + kBorder};
}

int COleResizeBar::HandleAt(POINT point) const
{
    for (int i = 0; i < 8; ++i) {
        RECT h = HandleRect(i);
        if (PtInRect(&h, point))
            return i;
    }
    return -1;
}

RECT COleResizeBar::MovedRect(const RECT& pos, int handle, POINT delta)
{
    RECT r = pos;
    if (handle < 0 || handle > 7)
        return r;
    const int least = 3 * kBorder;
    if (kMoves[handle][0])
        r.left = std::min(r.left + delta.x, r.right - least);
    if (kMoves[handle][1])
        r.top = std::min(r.top + delta.y, r.bottom - least);
    if (kMoves[handle][2])
        r.right = std::max(r.right + delta.x, r.left + least);
    if (kMoves[handle][3])
        r.bottom = std::max(r.bottom + delta.y, r.top + least);
    return r;
}

void COleResizeBar::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT r;
    GetClientRect(&r);
    HBRUSH hatch = CreateHatchBrush(HS_BDIAGONAL, GetSysColor(COLOR_WINDOWFRAME));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    const RECT bands[4] = {{0, 0, r.right, kBorder},
                           {0, r.bottom - kBorder, r.right, r.bottom},
                           {0, kBorder, kBorder, r.bottom - kBorder},
                           {r.right - kBorder, kBorder, r.right, r.bottom - kBorder}};
    for (const RECT& band : bands)
        FillRect(dc, &band, hatch);
    DeleteObject(hatch);
    for (int i = 0; i < 8; ++i) {
        RECT h = HandleRect(i);
        FillRect(dc, &h, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    EndPaint(m_hWnd, &ps);
}

LRESULT COleResizeBar::OnSetCursor(WPARAM, LPARAM)
{
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(m_hWnd, &p);
    static const LPCSTR kCursors[8] = {IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW, IDC_SIZEWE,
                                       IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW, IDC_SIZEWE};
    const int handle = m_nTracking >= 0 ? m_nTracking : HandleAt(p);
    SetCursor(LoadCursor(nullptr, handle >= 0 ? kCursors[handle] : IDC_ARROW));
    return TRUE;
}

LRESULT COleResizeBar::OnLButtonDown(WPARAM, LPARAM lParam)
{
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    m_nTracking = HandleAt(p);
    if (m_nTracking >= 0) {
        ClientToScreen(m_hWnd, &p);
        m_ptStart = p;
        SetCapture(m_hWnd);
    }
    return 0;
}

LRESULT COleResizeBar::OnLButtonUp(WPARAM, LPARAM lParam)
{
    const int handle = m_nTracking;
    if (handle < 0)
        return 0;
    m_nTracking = -1;
    ReleaseCapture();
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(m_hWnd, &p);
    auto* frame = dynamic_cast<COleIPFrameWnd*>(GetParent());
    if (frame != nullptr && (p.x != m_ptStart.x || p.y != m_ptStart.y))
        frame->RequestPositionChange(MovedRect(frame->m_rectPos, handle, {p.x - m_ptStart.x, p.y - m_ptStart.y}));
    return 0;
}

LRESULT COleResizeBar::OnCaptureChanged(WPARAM, LPARAM)
{
    m_nTracking = -1;
    return 0;
}
