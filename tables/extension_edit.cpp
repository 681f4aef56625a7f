#include "extension_edit.h"

#include "extension_chars.h"

LRESULT CExtensionEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR && !IsExtensionChar(static_cast<unsigned char>(wParam))) {
        MessageBeep(MB_ICONHAND);
        return 0;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}
