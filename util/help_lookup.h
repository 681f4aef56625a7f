// Where VestrelUtil's help file is: the framework's default (the program's
// path with ".HLP") when that file exists; otherwise "Quarnet.hlp" in the
// installation folder named by the registry.
#pragma once

#include <optional>

#include "fx/fx_string.h"

struct HelpLookupResult {
    CString productDir;  // installation folder, ending in "\"; empty when not read
    CString helpPath;    // productDir + "Quarnet.hlp"; empty when not read
};

// `defaultHelpPath` is the framework's help path. The registry is read only
// when that file cannot be opened.
HelpLookupResult LookUpHelpFile(const char* defaultHelpPath);
