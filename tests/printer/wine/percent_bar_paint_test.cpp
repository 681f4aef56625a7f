// The percentage bar rendered with GDI into a bitmap, pixel by pixel: the
// black frame, exactly `position` filled columns on a 100-pixel inner
// rectangle, the percentage centred in swapped colours, clamped positions.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "percent_bar_paint.h"

namespace {

constexpr int kWidth = 102, kHeight = 40;  // inner rectangle 100 x 38
constexpr uint32_t kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0x000000, kUnpainted = 0x00FF00;

struct Rendered {
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top-down
    SIZE text{};
    uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * kWidth + x)] & 0xFFFFFF; }
};

Rendered Render(int position)
{
    PercentBarState state;
    state.SetPos(position);
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = kWidth;
    bi.bmiHeader.biHeight = -kHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    LOGFONTA lf{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfQuality = NONANTIALIASED_QUALITY;
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);

    auto* px = static_cast<uint32_t*>(bits);
    std::fill(px, px + kWidth * kHeight, kUnpainted);
    const RECT client{0, 0, kWidth, kHeight};
    PaintPercentBar(dc, client, state);
    GdiFlush();

    Rendered r;
    r.pixels.assign(px, px + kWidth * kHeight);
    const std::string text = PercentBarLayout(BarRect{0, 0, kWidth, kHeight}, state).text;
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &r.text);

    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteDC(dc);
    return r;
}

// The text's box as PaintPercentBar places it.
RECT TextBox(const Rendered& r)
{
    const int x = (100 - r.text.cx) / 2 + 1, y = (38 - r.text.cy) / 2 + 1;
    return RECT{x, y, x + r.text.cx, y + r.text.cy};
}

void ExpectFrameAndFill(const Rendered& r, int filledColumns)
{
    for (int x = 0; x < kWidth; ++x) {
        EXPECT_EQ(r.At(x, 0), kBlack);
        EXPECT_EQ(r.At(x, kHeight - 1), kBlack);
    }
    for (int y = 0; y < kHeight; ++y) {
        EXPECT_EQ(r.At(0, y), kBlack);
        EXPECT_EQ(r.At(kWidth - 1, y), kBlack);
    }
    const RECT box = TextBox(r);
    ASSERT_GT(box.top, 1) << "rows above the text to count the fill on";
    for (int y = 1; y < kHeight - 1; ++y) {
        const bool textRow = y >= box.top && y < box.bottom;
        int blue = 0;
        for (int x = 1; x < kWidth - 1; ++x) {
            const uint32_t c = r.At(x, y);
            ASSERT_NE(c, kUnpainted) << x << "," << y;
            if (!textRow) {
                EXPECT_EQ(c, x <= filledColumns ? kBlue : kWhite) << x << "," << y;
                blue += c == kBlue;
            }
        }
        if (!textRow) {
            EXPECT_EQ(blue, filledColumns) << "row " << y;
        }
    }
}

// Pixels inside the text box drawn as text: white over the fill, blue over
// the rest. Returns their bounding box (empty when there are none).
RECT InkBox(const Rendered& r, int filledColumns, int* inFill, int* inRest)
{
    RECT ink{kWidth, kHeight, -1, -1};
    *inFill = *inRest = 0;
    for (int y = 1; y < kHeight - 1; ++y)
        for (int x = 1; x < kWidth - 1; ++x) {
            const bool fill = x <= filledColumns;
            const uint32_t c = r.At(x, y);
            if ((fill && c != kBlue) || (!fill && c != kWhite)) {
                (fill ? *inFill : *inRest) += 1;
                ink.left = std::min<LONG>(ink.left, x);
                ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
        }
    return ink;
}

TEST(PercentBarPaint, FiftyFillsExactlyFiftyColumnsWithTheTextCentredAcrossTheSplit)
{
    const Rendered r = Render(50);
    ExpectFrameAndFill(r, 50);
    int inFill = 0, inRest = 0;
    const RECT ink = InkBox(r, 50, &inFill, &inRest);
    const RECT box = TextBox(r);
    EXPECT_GT(inFill, 0) << "white digits on blue";
    EXPECT_GT(inRest, 0) << "blue digits on white";
    EXPECT_GE(ink.left, box.left);
    EXPECT_LE(ink.right, box.right);
    EXPECT_GE(ink.top, box.top);
    EXPECT_LE(ink.bottom, box.bottom);
}

TEST(PercentBarPaint, ZeroAndHundredAndTheirTextColours)
{
    const Rendered zero = Render(0);
    ExpectFrameAndFill(zero, 0);
    int inFill = 0, inRest = 0;
    InkBox(zero, 0, &inFill, &inRest);
    EXPECT_EQ(inFill, 0);
    EXPECT_GT(inRest, 0) << "blue digits on white";

    const Rendered full = Render(100);
    ExpectFrameAndFill(full, 100);
    const RECT ink = InkBox(full, 100, &inFill, &inRest);
    EXPECT_GT(inFill, 0) << "white digits on blue";
    EXPECT_EQ(inRest, 0);
    // "100%" has no blanks: its ink is centred on the inner rectangle.
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 51.0, 3.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 20.0, 4.0);
}

TEST(PercentBarPaint, OutOfRangePositionsPaintAsTheirClampedValues)
{
    EXPECT_EQ(Render(-5).pixels, Render(0).pixels);
    EXPECT_EQ(Render(150).pixels, Render(100).pixels);
    EXPECT_NE(Render(99).pixels, Render(100).pixels);
}

}  // namespace
