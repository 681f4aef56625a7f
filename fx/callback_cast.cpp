// The audited conversions of fx/callback_cast.h. Each takes and returns the
// exact callback type; nothing else in the project casts a function pointer.
#include "fx/callback_cast.h"

LPARAM FxCompareParam(PFNLVCOMPARE compare)
{
    return reinterpret_cast<LPARAM>(compare);
}

WNDPROC FxSetWindowProc(HWND hwnd, WNDPROC proc)
{
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}
