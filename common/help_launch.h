// Help Topics: the help program "WinHlp32.exe" started through the shell
// with a help file as its parameters. Its result is not checked: the help
// program reports its own failures.
#pragma once

#if defined(_WIN32)
#include <windows.h>

void LaunchWinHelp(HWND owner, const char* helpFile);
#endif
