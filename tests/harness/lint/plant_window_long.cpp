// Planted: a window procedure read back from the window's long.
#include <windows.h>

WNDPROC OldProc(HWND hwnd)
{
    return WNDPROC(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
}
