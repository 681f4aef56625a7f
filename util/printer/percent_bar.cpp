#include "percent_bar.h"

#include "percent_bar_paint.h"

BEGIN_MESSAGE_MAP(CPercentBar, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

int CPercentBar::SetPos(int position)
{
    const int previous = m_state.SetPos(position);
    if (previous != m_state.Pos() && m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return previous;
}

void CPercentBar::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(::GetParent(m_hWnd), WM_GETFONT, 0, 0)));
    PaintPercentBar(dc, client, m_state);
    ::SelectObject(dc, oldFont);
    ::EndPaint(m_hWnd, &ps);
}
