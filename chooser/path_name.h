// CPathName: a path kept as a string, which yields its file title.
#pragma once

#include "fx/fx_string.h"

class CPathName : public CString {
public:
    using CString::CString;
    CPathName(const std::string& path) : CString(path) {}

    // The name without its folder: what follows the last '\\', '/' or
    // drive colon; the extension is kept.
    CString GetFileTitle() const;
};
