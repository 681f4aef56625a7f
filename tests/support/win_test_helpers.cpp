#include "win_test_helpers.h"

#include <cstring>
#include <fstream>

namespace vtest {

void PumpWaitingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string TestProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\') + 1);
}

namespace {

HHOOK g_hook = nullptr;
std::map<int, std::string>* g_capture = nullptr;

BOOL CALLBACK ReadControl(HWND control, LPARAM)
{
    char text[512] = "";
    GetWindowTextA(control, text, sizeof text);
    int id = GetDlgCtrlID(control);
    if ((GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        if (SendMessageA(control, STM_GETICON, 0, 0) != 0)
            (*g_capture)[-2] = std::to_string(std::stoi((*g_capture)[-2]) + 1);
    } else if (id > 0) {
        (*g_capture)[id] = text;
    } else {
        (*g_capture)[-3] += std::string(text) + "|";  // labels without id
    }
    return TRUE;
}

void CALLBACK ReadAndClose(HWND dialog, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(dialog, timer);
    char caption[256] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    (*g_capture)[-1] = caption;
    (*g_capture)[-2] = "0";
    EnumChildWindows(dialog, &ReadControl, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

LRESULT CALLBACK WatchForDialog(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND h = reinterpret_cast<HWND>(wParam);
        char cls[32] = "";
        // The dialog is not ready yet when it activates: read it a little later.
        if (GetClassNameA(h, cls, sizeof cls) && strcmp(cls, "#32770") == 0)
            SetTimer(h, 0x5151, 50, &ReadAndClose);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

const char kInstallKey[] = "SOFTWARE\\VESTREL\\QUARNET\\2.0";
const char kOverrides[] = "Software\\Wine\\DllOverrides";

}  // namespace

std::map<int, std::string> CaptureModalDialog(const std::function<void()>& open)
{
    std::map<int, std::string> capture;
    g_capture = &capture;
    g_hook = SetWindowsHookExA(WH_CBT, &WatchForDialog, nullptr, GetCurrentThreadId());
    open();
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_capture = nullptr;
    return capture;
}

std::vector<UINT> MenuCommandIds(HMENU menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            auto inner = MenuCommandIds(sub);
            ids.insert(ids.end(), inner.begin(), inner.end());
        } else if (UINT id = GetMenuItemID(menu, i); id != 0) {
            ids.push_back(id);
        }
    }
    return ids;
}

void SaveWindowPicture(HWND window, const std::string& path)
{
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const int stride = ((w * 3) + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * h, '\0');
    GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

InstallFolderOverride::InstallFolderOverride(const std::string& folder)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kInstallKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    char old[MAX_PATH] = "";
    DWORD size = sizeof old;
    m_hadValue = RegQueryValueExA(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    m_old = old;
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
}

InstallFolderOverride::~InstallFolderOverride()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKey, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return;
    if (m_hadValue)
        RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_old.c_str()),
                       static_cast<DWORD>(m_old.size() + 1));
    else
        RegDeleteValueA(key, "Path");
    RegCloseKey(key);
}

HelpProgramRecorder::HelpProgramRecorder()
{
    char dir[MAX_PATH];
    GetSystemDirectoryA(dir, sizeof dir);
    program_ = std::string(dir) + "\\winhlp32.exe";
    backup_ = program_ + ".vestrel-test";
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    record_ = std::string(temp) + "help_record.txt";
    DeleteFileA(record_.c_str());
    installed_ = CopyFileA(program_.c_str(), backup_.c_str(), FALSE) &&
                 CopyFileA((TestProgramFolder() + "help_recorder.exe").c_str(), program_.c_str(), FALSE);
    // Wine runs its own help program unless told to load the file on disk;
    // each new process reads this setting.
    HKEY key;
    if (installed_ && RegCreateKeyExA(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                      nullptr) == ERROR_SUCCESS) {
        installed_ = RegSetValueExA(key, "winhlp32.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7) ==
                     ERROR_SUCCESS;
        RegCloseKey(key);
    } else {
        installed_ = false;
    }
    SetEnvironmentVariableA("VESTREL_HELP_RECORD", record_.c_str());
}

HelpProgramRecorder::~HelpProgramRecorder()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOverrides, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "winhlp32.exe");
        RegCloseKey(key);
    }
    SetEnvironmentVariableA("VESTREL_HELP_RECORD", nullptr);
    CopyFileA(backup_.c_str(), program_.c_str(), FALSE);
    DeleteFileA(backup_.c_str());
    DeleteFileA(record_.c_str());
}

std::vector<std::string> HelpProgramRecorder::WaitForLines(size_t count) const
{
    std::vector<std::string> lines;
    for (int i = 0; i < 150; ++i) {
        lines.clear();
        std::ifstream in(record_);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        if (lines.size() >= count)
            break;
        Sleep(100);
    }
    return lines;
}

namespace {
// The request block: size, command, data, reserved, file offset.
#pragma pack(push, 1)
struct HelpBlock {
    WORD size;
    WORD command;
    LONG data;
    LONG reserved;
    WORD ofsFilename;
    WORD ofsData;
};
#pragma pack(pop)

LRESULT CALLBACK HelpWindowProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
        const auto* block = static_cast<const HelpBlock*>(cds->lpData);
        std::string file = block->ofsFilename ? reinterpret_cast<const char*>(block) + block->ofsFilename : "";
        HelpWindow::s_requests.push_back({block->command, block->data, file});
        return TRUE;
    }
    return DefWindowProcA(h, m, w, l);
}
}  // namespace

std::vector<HelpWindow::Request> HelpWindow::s_requests;

HelpWindow::HelpWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &HelpWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MS_WINHELP";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, "MS_WINHELP", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    s_requests.clear();
}

HelpWindow::~HelpWindow()
{
    DestroyWindow(hwnd_);
}

void SetClipboardText(HWND owner, const char* text)
{
    if (!OpenClipboard(owner))
        return;
    EmptyClipboard();
    if (text != nullptr) {
        const size_t size = strlen(text) + 1;
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(mem), text, size);
        GlobalUnlock(mem);
        SetClipboardData(CF_TEXT, mem);
    }
    CloseClipboard();
}

}  // namespace vtest
