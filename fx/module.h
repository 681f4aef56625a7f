// The module the framework is linked into: a program, or a library that a
// host loads and unloads (the shell extension, the printer chooser). Window
// classes, dialogs and strings belong to this module, never to the host
// process's executable.
#pragma once

#include <windows.h>

class CWinApp;

// The module's instance handle: the one DllMain or the program's entry set,
// or else the module holding the framework's code.
HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE instance);

// Registers a window class of this module (hInstance is filled in) and
// remembers it, so that unloading the module can take it away again. An
// existing class of the same name counts as registered.
BOOL FxRegisterClass(WNDCLASSA& wc);
// Unregisters every class FxRegisterClass registered.
void FxUnregisterClasses();

// DllMain of a library built on the framework: on attach it records the
// module's handle (instance and resources) and starts `app` when there is
// one (InitInstance); on detach it ends `app` (ExitInstance) and takes the
// module's window classes away, unless the whole process is ending.
BOOL AfxDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved, CWinApp* app);
