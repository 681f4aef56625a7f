#include "percent_bar_paint.h"

namespace {

RECT ToRect(const BarRect& r)
{
    return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

void PaintPercentBar(HDC dc, const RECT& client, const PercentBarState& state)
{
    SetTextColor(dc, kPercentBarFillColour);
    SetBkColor(dc, kPercentBarBackgroundColour);
    FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    const PercentBarPaint p = PercentBarLayout(BarRect{client.left, client.top, client.right, client.bottom}, state);
    SIZE text{};
    GetTextExtentPoint32A(dc, p.text.c_str(), static_cast<int>(p.text.size()), &text);
    const BarPoint at = PercentBarTextOrigin(p, text.cx, text.cy);

    // The rest: digits in the fill colour on the background.
    const RECT rest = ToRect(p.rest);
    ExtTextOutA(dc, at.x, at.y, ETO_CLIPPED | ETO_OPAQUE, &rest, p.text.c_str(), static_cast<UINT>(p.text.size()),
                nullptr);
    // The filled part: the same text, colours swapped.
    SetTextColor(dc, kPercentBarBackgroundColour);
    SetBkColor(dc, kPercentBarFillColour);
    const RECT filled = ToRect(p.filled);
    ExtTextOutA(dc, at.x, at.y, ETO_CLIPPED | ETO_OPAQUE, &filled, p.text.c_str(), static_cast<UINT>(p.text.size()),
                nullptr);
}
