// Callbacks as they should be: CALLBACK functions through typed parameters,
// data pointers through LPARAM. The lint must pass this file.
#include <windows.h>
#include <commctrl.h>

#include "fx/callback_cast.h"

namespace {

BOOL CALLBACK Count(HWND, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM) { return a < b ? -1 : a > b; }

}  // namespace

int CountWindowsAndSort(HWND list)
{
    int n = 0;
    EnumWindows(&Count, reinterpret_cast<LPARAM>(&n));
    SendMessageA(list, LVM_SORTITEMS, 0, FxCompareParam(&Compare));
    return n;
}
