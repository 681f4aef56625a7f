// CExtensionEdit: the PC Extension field of the extension map. Typed
// characters that a file extension cannot hold are dropped with the
// system's error beep; pasted text is not filtered.
#pragma once

#include "fx/controls.h"

class CExtensionEdit : public CEdit {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
