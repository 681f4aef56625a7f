// Drives the modal dialogs of the thread the way a user would: every 50 ms
// (a thread timer, dispatched by whichever modal loop is running) the
// script sees the dialog that has the input now (the enabled, visible
// top-level dialog of this thread) and may read it or press its buttons.
// Buttons are pressed by posting, so the script never runs nested.
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace dtest {

inline std::string Text(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

inline void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// What the Esc key does in `dialog`, as the keyboard would send it.
inline void PressEsc(HWND dialog)
{
    HWND focus = GetFocus();
    PostMessageA(focus && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
}

inline std::vector<std::string> ListItems(HWND list, bool combo = false)
{
    std::vector<std::string> items;
    const UINT countMsg = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT lenMsg = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT textMsg = combo ? CB_GETLBTEXT : LB_GETTEXT;
    const LRESULT count = SendMessageA(list, countMsg, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string text(static_cast<std::size_t>(SendMessageA(list, lenMsg, static_cast<WPARAM>(i), 0)) + 1, '\0');
        SendMessageA(list, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
        items.push_back(text);
    }
    return items;
}

// Saves what the screen shows of `window` as a 24-bit BMP, when the
// environment names a folder in VESTREL_SCREENSHOTS; for looking at the
// dialogs, never for assertions.
inline void SaveScreenshot(HWND window, const std::string& name)
{
    char folder[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("VESTREL_SCREENSHOTS", folder, sizeof folder) || !window)
        return;
    UpdateWindow(window);
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u), size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    HANDLE out = CreateFileA((std::string(folder) + "\\" + name + ".bmp").c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
    WriteFile(out, bits, size, &written, nullptr);
    CloseHandle(out);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

inline BOOL CALLBACK FindActiveDialog(HWND h, LPARAM found)
{
    char cls[16] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowVisible(h) && IsWindowEnabled(h)) {
        *reinterpret_cast<HWND*>(found) = h;
        return FALSE;
    }
    return TRUE;
}

// The dialog that has the input on this thread, or null.
inline HWND ActiveDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindActiveDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// While alive, calls `script(dialog, caption)` every 50 ms with the active
// dialog (null when none is up).
class DialogDriver {
public:
    using Script = std::function<void(HWND dialog, const std::string& caption)>;
    explicit DialogDriver(Script script)
    {
        Current() = this;
        script_ = std::move(script);
        timer_ = SetTimer(nullptr, 0, 50, &Tick);
    }
    ~DialogDriver()
    {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

private:
    static DialogDriver*& Current()
    {
        static DialogDriver* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver* self = Current();
        if (!self || self->busy_)
            return;
        self->busy_ = true;
        HWND dialog = ActiveDialog();
        self->script_(dialog, dialog ? Text(dialog) : std::string());
        self->busy_ = false;
    }

    Script script_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
};

}  // namespace dtest
