// The About box (dialog 100): product, fixed version line, the version read
// from the program's version resource, and a notice.
#pragma once

#include "fx/dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    BOOL OnInitDialog() override;
};

// The fixed version line shown under the product name.
constexpr const char* kAboutFixedVersion = "2.51.17.73";
