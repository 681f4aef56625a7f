// Planted: a CALLBACK function cast into a message's LPARAM.
#include <windows.h>
#include <commctrl.h>

namespace {
int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM) { return a < b ? -1 : a > b; }
}  // namespace

void Sort(HWND list)
{
    SendMessageA(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&Compare));
}
