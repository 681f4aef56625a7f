// CPercentBar's WM_PAINT drawing, between BeginPaint and EndPaint: the black
// frame, the filled part and the rest, and the centred percentage drawn
// twice, clipped to each part, in swapped colours.
#pragma once

#include <windows.h>

#include "percent_bar_geometry.h"

// Draws the bar for `state` into `dc` over `client`, measuring the text in
// the DC's current font. Leaves the DC's text and background colours set
// to the last pair used.
void PaintPercentBar(HDC dc, const RECT& client, const PercentBarState& state);
