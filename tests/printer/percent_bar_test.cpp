#include <gtest/gtest.h>

#include "percent_bar_geometry.h"

namespace {

TEST(PercentBar, PositionIsClampedToTheRange)
{
    PercentBarState bar;
    EXPECT_EQ(bar.SetPos(-5), 0);
    EXPECT_EQ(bar.Pos(), 0);
    EXPECT_EQ(bar.SetPos(150), 0);
    EXPECT_EQ(bar.Pos(), 100);
    EXPECT_EQ(bar.SetPos(37), 100) << "the previous position comes back";
    EXPECT_EQ(bar.Pos(), 37);
}

TEST(PercentBar, FillSplitsTheInnerRectangleAtThePosition)
{
    const BarRect client{0, 0, 102, 22};  // inner rectangle 100 x 20
    PercentBarState bar;
    struct Case {
        int position;
        int split;
        const char* text;
    };
    for (const Case c : {Case{50, 51, " 50%"}, Case{0, 1, "  0%"}, Case{100, 101, "100%"}, Case{1, 2, "  1%"}}) {
        SCOPED_TRACE(c.position);
        bar.SetPos(c.position);
        const PercentBarPaint p = PercentBarLayout(client, bar);
        EXPECT_EQ(p.inner, (BarRect{1, 1, 101, 21}));
        EXPECT_EQ(p.filled, (BarRect{1, 1, c.split, 21}));
        EXPECT_EQ(p.rest, (BarRect{c.split, 1, 101, 21}));
        EXPECT_EQ(p.filled.Width() + p.rest.Width(), 100);
        EXPECT_EQ(p.text, c.text);
    }
    bar.SetPos(50);
    EXPECT_EQ(PercentBarLayout(client, bar).filled.Width(), 50);
}

TEST(PercentBar, FillUsesIntegerDivisionOnOddWidths)
{
    PercentBarState bar;
    bar.SetPos(33);
    const PercentBarPaint p = PercentBarLayout(BarRect{10, 5, 10 + 2 + 77, 5 + 2 + 15}, bar);
    EXPECT_EQ(p.filled.right - p.inner.left, 33 * 77 / 100);
    EXPECT_EQ(p.percent, 33);
}

TEST(PercentBar, TextIsCentredWithSignedHalves)
{
    PercentBarState bar;
    bar.SetPos(50);
    const PercentBarPaint p = PercentBarLayout(BarRect{0, 0, 102, 22}, bar);
    EXPECT_EQ(PercentBarTextOrigin(p, 24, 14), (BarPoint{39, 4}));
    EXPECT_EQ(PercentBarTextOrigin(p, 25, 13), (BarPoint{38, 4}));
    // Text wider than the bar: the half rounds towards zero.
    EXPECT_EQ(PercentBarTextOrigin(p, 103, 25), (BarPoint{0, -1}));
}

TEST(PercentBar, AControlTooSmallForItsFrameDrawsNothingOutside)
{
    PercentBarState bar;
    bar.SetPos(100);
    const PercentBarPaint p = PercentBarLayout(BarRect{0, 0, 1, 1}, bar);
    EXPECT_LE(p.filled.right, 1);
}

}  // namespace
