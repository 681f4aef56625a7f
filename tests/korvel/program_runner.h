// The real Korvel.exe (beside the test program) started for one test and
// ended again: by closing its window, by ending its message loop, or, when
// a check failed and left it running, by force.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vtest {

// Top-level windows of Korvel's main window class, of any process.
std::vector<HWND> KorvelMainWindows();
// The process of a window.
DWORD ProcessOf(HWND window);

class KorvelProcess {
public:
    KorvelProcess() = default;
    ~KorvelProcess();
    KorvelProcess(const KorvelProcess&) = delete;
    KorvelProcess& operator=(const KorvelProcess&) = delete;

    bool Start(const std::string& args);
    // Waits until start-up is over (the program waits for input).
    bool WaitUntilIdle();
    // Korvel's main window of this process; with `shown`, once visible.
    HWND WaitForMainWindow(bool shown);
    bool WaitForExit(DWORD ms);
    // Closes `main` and waits for the program to end; true when it ended
    // with exit code 0.
    bool End(HWND main);
    // Ends the message loop (a program with no window) and waits.
    bool Quit();
    DWORD Id() const { return pi_.dwProcessId; }

private:
    PROCESS_INFORMATION pi_{};
};

}  // namespace vtest
