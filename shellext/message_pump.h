// The waiting loops of the extension (the printer query, the Change
// Password dialog) run on the shell's thread and keep it alive by
// dispatching whatever messages wait between their polls.
#pragma once

// Dispatches every message waiting on this thread through the module's
// application object, so that this module's modeless dialogs get their
// keyboard handling (Tab, Enter, Esc). A WM_QUIT is put back for the
// thread's own loop and ends the pumping.
void PumpShellMessages();
