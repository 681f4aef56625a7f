// The harness's guard against dialogs that nobody answers. A thread looks
// at the screen every 200 ms; a visible dialog window (class #32770, of any
// process on the test display) that stays open longer than the grace time
// is reported as a failure of the running test, with its caption and texts,
// and closed, so that a forgotten message box fails the test instead of
// hanging it.
#pragma once

#include <string>
#include <vector>

namespace vtest {

// Starts the watchdog (the Windows test main does this). The grace time is
// VESTREL_DIALOG_GRACE_MS, 5000 ms unless set.
void StartDialogWatchdog();
void StopDialogWatchdog();

// Every dialog closed by the watchdog so far, as "caption: text | text".
std::vector<std::string> DismissedDialogs();

// While one lives, the watchdog leaves dialogs alone (a test that keeps a
// dialog open on purpose for a long time).
class AllowDialogs {
public:
    AllowDialogs();
    ~AllowDialogs();
    AllowDialogs(const AllowDialogs&) = delete;
    AllowDialogs& operator=(const AllowDialogs&) = delete;
};

}  // namespace vtest
