#include "shell_fixture.h"

#include "fx/fx_ids.h"

void ShellTest::SetUp()
{
    app = new CVestrelUtilApp;
    app->SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    ASSERT_TRUE(app->InitApplication());
    ASSERT_TRUE(app->InitInstance());
    frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    PumpWaitingMessages();
}

void ShellTest::TearDown()
{
    if (app == nullptr)
        return;
    app->CloseAllDocuments(TRUE);
    if (app->m_pMainWnd != nullptr)
        app->m_pMainWnd->DestroyWindow();
    PumpWaitingMessages();
    app->ExitInstance();
    delete app;
    app = nullptr;
}

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
