// Harness canary: shows a message box nobody answers. The self-check
// expects the watchdog to close it and the test to fail, not hang.
#include <windows.h>

#include <gtest/gtest.h>

TEST(Canary, UnansweredMessageBox)
{
    MessageBoxA(nullptr, "Nobody will answer this.", "Canary", MB_OK | MB_ICONERROR);
}
