#include "program_runner.h"

#include <cstring>

#include "win_test_helpers.h"

namespace vtest {

namespace {
BOOL CALLBACK CollectKorvelWindow(HWND h, LPARAM out)
{
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (strcmp(cls, "VestrelKorvelMainWnd") == 0)
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(h);
    return TRUE;
}
}  // namespace

std::vector<HWND> KorvelMainWindows()
{
    std::vector<HWND> found;
    EnumWindows(&CollectKorvelWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

DWORD ProcessOf(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

KorvelProcess::~KorvelProcess()
{
    if (pi_.hProcess != nullptr) {
        if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0 && !Quit())
            TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
}

bool KorvelProcess::Start(const std::string& args)
{
    std::string cmd = "\"" + TestProgramFolder() + "Korvel.exe\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    return CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != FALSE;
}

bool KorvelProcess::WaitUntilIdle()
{
    return WaitForInputIdle(pi_.hProcess, 15000) == 0;
}

HWND KorvelProcess::WaitForMainWindow(bool shown)
{
    for (int i = 0; i < 300; ++i) {
        for (HWND h : KorvelMainWindows()) {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == pi_.dwProcessId && (!shown || IsWindowVisible(h)))
                return h;
        }
        Sleep(50);
    }
    return nullptr;
}

bool KorvelProcess::WaitForExit(DWORD ms)
{
    return WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0;
}

bool KorvelProcess::End(HWND main)
{
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    return WaitForExit(15000) && GetExitCodeProcess(pi_.hProcess, &code) && code == 0;
}

bool KorvelProcess::Quit()
{
    PostThreadMessageA(pi_.dwThreadId, WM_QUIT, 0, 0);
    return WaitForExit(15000);
}

}  // namespace vtest
