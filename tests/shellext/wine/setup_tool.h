// Runs programs the way a user would from a command prompt, and vsxsetup
// beside the tests in particular.
#pragma once

#include <windows.h>

#include <string>

#include "atnetd_process.h"

namespace shelltest {

// The exit status of `commandLine`, or 9999 when it could not run.
inline DWORD RunProgram(const std::string& commandLine)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return 9999;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 9999;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

// vsxsetup, or "vsxsetup /u" with `remove`.
inline DWORD RunSetup(bool remove = false)
{
    return RunProgram("\"" + attest::ExeFolder() + "vsxsetup.exe\"" + (remove ? " /u" : ""));
}

}  // namespace shelltest
