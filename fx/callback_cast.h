// Where a callback crosses an integer-typed Windows parameter.
//
// The product is a 32-bit program: a function Windows calls must be a
// CALLBACK (stdcall) function, and only a typed parameter lets the compiler
// refuse one that is not (a cdecl function or a lambda). Every callback
// reaches Windows through such a parameter; where Windows itself takes the
// callback as an integer (a message parameter, a window long), the
// conversion happens here and nowhere else. tools/lib/lint-function-casts
// fails the tests on any other cast of a function pointer.
#pragma once

#include <windows.h>
#include <commctrl.h>

// The LPARAM of LVM_SORTITEMS.
LPARAM FxCompareParam(PFNLVCOMPARE compare);

// Sets a window's procedure (GWLP_WNDPROC) and returns the one it had.
WNDPROC FxSetWindowProc(HWND hwnd, WNDPROC proc);
