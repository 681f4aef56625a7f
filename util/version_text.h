// The program's version text, read from the version resource of a module
// file: "%d.%2.2d.%2.2d.%2.2d" of the four 16-bit parts of the file version.
#pragma once

#include <windows.h>

#include "fx/fx_string.h"

CString FormatFileVersion(const VS_FIXEDFILEINFO& info);

// Reads the fixed file information of `modulePath` into `info` and returns
// its text; "Unknown" (and `info` untouched) when the resource is missing
// or unreadable.
CString ReadFileVersionText(const char* modulePath, VS_FIXEDFILEINFO& info);
