// VSXAU20: the printer chooser library. Windows only.
//
// The library's classes (ZMRUPrinterBox, the recently-used printer combo
// box, and CPathName) derive from the application framework and are
// declared with it in chooser/.
#pragma once

#include <windows.h>

#include "atalk_records.h"

extern "C" {

// Runs the chooser modally over `owner`; the printer chosen becomes the
// stack's default printer (PAPGetDefaultPrinter). `buffer` (112 bytes) and
// the result are not used by callers; mode is 1.
int32_t ATSTACK_CALL VSXDeviceChooser(_NBPTuple* buffer, int32_t mode, HWND owner);
// Shows the status of the default printer over `owner`; result not used.
int32_t ATSTACK_CALL VSXPrinterStatus(HWND owner);

}
