#include "help_launch.h"

#include <shellapi.h>

void LaunchWinHelp(HWND owner, const char* helpFile)
{
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = owner;
    info.lpVerb = nullptr;
    info.lpFile = "WinHlp32.exe";
    info.lpParameters = helpFile;
    info.lpDirectory = nullptr;
    info.nShow = 0;
    if (ShellExecuteExA(&info) && info.hProcess != nullptr)
        CloseHandle(info.hProcess);
}
