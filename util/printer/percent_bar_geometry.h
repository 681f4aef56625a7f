// The arithmetic of CPercentBar, the Download Progress dialog's percentage
// bar: the stored position and what WM_PAINT draws where. Portable, so the
// window class only frames, measures the text and draws.
#pragma once

#include <cstdint>
#include <string>

struct BarRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    bool operator==(const BarRect&) const = default;
};

constexpr uint32_t kPercentBarFillColour = 0x00FF0000;        // COLORREF blue
constexpr uint32_t kPercentBarBackgroundColour = 0x00FFFFFF;  // COLORREF white

// The bar's stored values. Minimum and maximum keep their initial values.
class PercentBarState {
public:
    // Stores `position` clamped to 0 .. maximum - minimum; returns the
    // previous position. The caller then invalidates the control.
    int SetPos(int position);
    int Pos() const { return m_nPos; }
    int Min() const { return m_nMin; }
    int Max() const { return m_nMax; }

private:
    int m_nPos = 0;
    int m_nMin = 0;
    int m_nMax = 100;
};

// Where one paint puts things, client rectangle in, text size measured by
// the caller in the device context's font.
struct PercentBarPaint {
    BarRect inner;     // the client rectangle inside its 1-pixel black frame
    BarRect filled;    // drawn in the fill colour, text in the background colour
    BarRect rest;      // drawn in the background colour, text in the fill colour
    int percent = 0;
    std::string text;  // "%3d%%"
};

// Everything but the text origin: the frame, the split and the text.
PercentBarPaint PercentBarLayout(const BarRect& client, const PercentBarState& state);

struct BarPoint {
    int x = 0, y = 0;
    bool operator==(const BarPoint&) const = default;
};

// The text origin for a text of the given size, centred in the inner
// rectangle's width and height (signed halves, rounded towards zero, plus 1).
BarPoint PercentBarTextOrigin(const PercentBarPaint& paint, int textWidth, int textHeight);
