// The message pump of the PAP jobs' waiting loops and of the rename
// dialog's lookup (JobHost::PumpMessages of their dialogs): dispatch
// whatever is waiting through the application's own pump, and when that
// takes WM_QUIT, put it back for the application's main loop and stop.
#pragma once

#include <windows.h>

// `pumpMessage` retrieves and dispatches one message, FALSE on WM_QUIT
// (CWinApp::PumpMessage).
template <typename PumpOne>
void PumpWaitingMessages(PumpOne&& pumpMessage)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!pumpMessage()) {
            PostQuitMessage(0);
            break;
        }
    }
}

// PumpWaitingMessages with the application's PumpMessage (a plain
// GetMessage and dispatch when there is no application object).
void PumpJobMessages();
