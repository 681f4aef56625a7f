#include "percent_bar_geometry.h"

#include <algorithm>
#include <cstdio>

namespace {

// The 16-bit extent of a side; a control too small for its frame has none.
int Extent(int from, int to)
{
    return static_cast<uint16_t>(std::max(to - from, 0));
}

int Range(const PercentBarState& state)
{
    return std::max(state.Max() - state.Min(), 1);
}

}  // namespace

int PercentBarState::SetPos(int position)
{
    const int previous = m_nPos;
    m_nPos = std::clamp(position, 0, std::max(m_nMax - m_nMin, 0));
    return previous;
}

PercentBarPaint PercentBarLayout(const BarRect& client, const PercentBarState& state)
{
    PercentBarPaint p;
    p.inner = {client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
    const int range = Range(state);
    const int position = std::clamp(state.Pos(), 0, range);
    const int width = Extent(p.inner.left, p.inner.right);
    const int split = p.inner.left + static_cast<int>(int64_t{position} * width / range);
    p.filled = {p.inner.left, p.inner.top, split, p.inner.bottom};
    p.rest = {split, p.inner.top, p.inner.right, p.inner.bottom};
    p.percent = static_cast<int>(int64_t{position} * 100 / range);
    char text[16];
    std::snprintf(text, sizeof text, "%3d%%", p.percent);
    p.text = text;
    return p;
}

BarPoint PercentBarTextOrigin(const PercentBarPaint& paint, int textWidth, int textHeight)
{
    const int width = Extent(paint.inner.left, paint.inner.right);
    const int height = Extent(paint.inner.top, paint.inner.bottom);
    return {(width - textWidth) / 2 + 1, (height - textHeight) / 2 + 1};
}
