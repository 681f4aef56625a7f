// Wine draws the caption buttons as letters of the Marlett font ("r" is the
// close button's cross). Without that font (Debian's fonts-wine, which
// tools/setup installs and the Wine prefixes are given) every caption
// shows the letters "0 1 r" instead.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Pixels of a rectangle, row by row, as 0x00RRGGBB.
struct Pixels {
    int width = 0, height = 0;
    std::vector<DWORD> at;
    DWORD Rgb(int x, int y) const { return at[static_cast<size_t>(y * width + x)] & 0xffffff; }
    bool Face(int x, int y) const
    {
        const DWORD face = GetSysColor(COLOR_BTNFACE);
        return Rgb(x, y) == static_cast<DWORD>((GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face));
    }
    bool Dark(int x, int y) const
    {
        const DWORD p = Rgb(x, y);
        return ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff) < 3 * 128;
    }
    // One character a pixel: '#' dark, '.' the button face, ' ' others.
    std::string Art() const
    {
        std::string art;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                art += Dark(x, y) ? '#' : Face(x, y) ? '.' : ' ';
            art += '\n';
        }
        return art;
    }
};

// What `dc` shows in `r` (device coordinates).
Pixels Grab(HDC dc, const RECT& r)
{
    Pixels px;
    px.width = r.right - r.left;
    px.height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), px.width, -px.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, px.width, px.height, dc, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    px.at.assign(p, p + px.width * px.height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return px;
}

// The button is the face-coloured area met first from the left on the
// middle row; the dark pixels inside it are its glyph. A cross: enough of
// them, nearly all mirrored left to right and top to bottom (a letter "r"
// is neither).
bool ShowsACross(const Pixels& px)
{
    const int row = px.height / 2;
    int seed = 0;
    while (seed < px.width && !px.Face(seed, row))
        ++seed;
    if (seed == px.width)
        return false;
    std::vector<char> seen(px.at.size(), 0);
    std::vector<POINT> todo{{seed, row}};
    int left = seed, right = seed, top = row, bottom = row;
    while (!todo.empty()) {
        const POINT p = todo.back();
        todo.pop_back();
        if (p.x < 0 || p.y < 0 || p.x >= px.width || p.y >= px.height || seen[static_cast<size_t>(p.y * px.width + p.x)] ||
            !px.Face(p.x, p.y))
            continue;
        seen[static_cast<size_t>(p.y * px.width + p.x)] = 1;
        left = std::min(left, static_cast<int>(p.x));
        right = std::max(right, static_cast<int>(p.x));
        top = std::min(top, static_cast<int>(p.y));
        bottom = std::max(bottom, static_cast<int>(p.y));
        todo.push_back({p.x + 1, p.y});
        todo.push_back({p.x - 1, p.y});
        todo.push_back({p.x, p.y + 1});
        todo.push_back({p.x, p.y - 1});
    }
    int glyphLeft = right, glyphRight = left, glyphTop = bottom, glyphBottom = top, dark = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (px.Dark(x, y)) {
                ++dark;
                glyphLeft = std::min(glyphLeft, x);
                glyphRight = std::max(glyphRight, x);
                glyphTop = std::min(glyphTop, y);
                glyphBottom = std::max(glyphBottom, y);
            }
    if (dark < 8)
        return false;
    int mirrored = 0;
    for (int y = glyphTop; y <= glyphBottom; ++y)
        for (int x = glyphLeft; x <= glyphRight; ++x)
            if (px.Dark(x, y) && px.Dark(glyphLeft + glyphRight - x, y) && px.Dark(x, glyphTop + glyphBottom - y))
                ++mirrored;
    return mirrored * 10 >= dark * 9;
}

LRESULT CALLBACK PlainWindowProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    } while (GetTickCount() - start < ms);
}

TEST(Caption, TheCloseButtonShowsACrossNotTheLetterR)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &PlainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = "FxCaptionTest";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "FxCaptionTest", "Caption", WS_POPUP | WS_CAPTION | WS_SYSMENU, 40, 40,
                                  240, 120, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    PumpFor(300);

    // The close button: the caption's last button-sized square on the right.
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int border = origin.x - outer.left;
    RECT button{outer.right - border - GetSystemMetrics(SM_CXSIZE) - 2, outer.top + border / 2, outer.right - border / 2,
                origin.y};
    HDC screen = GetDC(nullptr);
    const Pixels shown = Grab(screen, button);
    ReleaseDC(nullptr, screen);
    DestroyWindow(window);
    UnregisterClassA("FxCaptionTest", wc.hInstance);
    EXPECT_TRUE(ShowsACross(shown)) << "the caption's close button is not drawn with the Marlett font:\n"
                                    << shown.Art();

    // What Wine shows without the font: the letter itself, which the check
    // tells apart.
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 18, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 18, 16};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    HFONT font = CreateFontA(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, "r", 1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const Pixels letter = Grab(dc, all);
    EXPECT_FALSE(ShowsACross(letter)) << letter.Art();
    SelectObject(dc, oldFont);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace
