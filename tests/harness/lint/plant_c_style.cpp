// Planted: a cdecl function made a dialog procedure with a C-style cast.
#include <windows.h>

namespace {
INT_PTR Proc(HWND, UINT, WPARAM, LPARAM) { return 0; }
}  // namespace

INT_PTR Run(HWND owner)
{
    return DialogBoxParamA(nullptr, "X", owner, (DLGPROC)Proc, 0);
}
