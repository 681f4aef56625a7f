// One instance of a program: a second start finds the first by its main
// window's class, brings it to the front and ends.
#pragma once

#if defined(_WIN32)
#include <windows.h>

// The window property by which a program started for an OLE client marks
// its main window: such a process serves one container's object, and a
// start by the user does not count it as the running instance.
constexpr const char* kServingClientProperty = "VestrelServesClient";

// Looks for a top-level window of class `wndClass` (any title) that does
// not serve a client. If one exists: notes its last active pop-up, brings
// the window to the top, restores it if it is minimized, brings the pop-up
// to the top as well if it differs, and returns TRUE.
BOOL BringExistingInstanceToFront(const char* wndClass);
#endif
