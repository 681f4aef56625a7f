// main() of every Windows test executable: GoogleTest with the dialog
// watchdog running for the whole run. Exits non-zero when any test failed
// or any dialog had to be closed by the harness.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "dialog_watchdog.h"

int main(int argc, char** argv)
{
    // No "program has stopped" boxes or critical-error prompts: a crash must
    // end the process and fail the test.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    vtest::StartDialogWatchdog();
    int result = RUN_ALL_TESTS();
    vtest::StopDialogWatchdog();
    const auto dismissed = vtest::DismissedDialogs();
    for (const auto& d : dismissed)
        fprintf(stderr, "harness: closed unexpected dialog: %s\n", d.c_str());
    fflush(stdout);
    fflush(stderr);
    return (result != 0 || !dismissed.empty()) ? 1 : 0;
}
