// Planted: a lambda (a cdecl function on 32-bit Windows) where Windows calls
// a CALLBACK one. No cast, but the 32-bit parse refuses it.
#include <windows.h>

void Walk()
{
    EnumWindows([](HWND, LPARAM) -> BOOL { return TRUE; }, 0);
}
