// Korvel's About box (dialog 100): the product, the fixed version line, a
// notice, and beside "Extension Mapper Version" the file version string of
// the program's version resource.
#pragma once

#include "fx/dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    BOOL OnInitDialog() override;
};

// The text of version resource value `subBlock` (for example
// "\StringFileInfo\040904b0\FileVersion") of module file `modulePath`;
// false when the resource or the value cannot be read.
bool ReadVersionString(const char* modulePath, const char* subBlock, CString& text);
