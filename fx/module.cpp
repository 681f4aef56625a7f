#include "fx/module.h"

#include <string>
#include <vector>

#include "fx/fx_string.h"
#include "fx/win_app.h"

namespace {

HINSTANCE g_instance = nullptr;

// Classes are registered from whichever thread first needs one (the shell
// may show sheets on several threads at once).
SRWLOCK g_classLock = SRWLOCK_INIT;

std::vector<std::string>& RegisteredClasses()
{
    static std::vector<std::string> names;
    return names;
}

HINSTANCE ModuleOfFramework()
{
    // The module whose image holds this variable: the program, or the
    // library the framework was linked into.
    static const char anchor = 0;
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            &anchor, &module))
        return GetModuleHandleA(nullptr);
    return module;
}

}  // namespace

HINSTANCE AfxGetInstanceHandle()
{
    if (g_instance == nullptr)
        g_instance = ModuleOfFramework();
    return g_instance;
}

void AfxSetInstanceHandle(HINSTANCE instance)
{
    g_instance = instance;
}

BOOL FxRegisterClass(WNDCLASSA& wc)
{
    wc.hInstance = AfxGetInstanceHandle();
    AcquireSRWLockExclusive(&g_classLock);
    BOOL ok = TRUE;
    WNDCLASSA existing{};
    if (!GetClassInfoA(wc.hInstance, wc.lpszClassName, &existing)) {
        ok = RegisterClassA(&wc) != 0;
        if (ok)
            RegisteredClasses().emplace_back(wc.lpszClassName);
    }
    ReleaseSRWLockExclusive(&g_classLock);
    return ok;
}

void FxUnregisterClasses()
{
    AcquireSRWLockExclusive(&g_classLock);
    for (const std::string& name : RegisteredClasses())
        UnregisterClassA(name.c_str(), AfxGetInstanceHandle());
    RegisteredClasses().clear();
    ReleaseSRWLockExclusive(&g_classLock);
}

BOOL AfxDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved, CWinApp* app)
{
    if (reason == DLL_PROCESS_ATTACH) {
        AfxSetInstanceHandle(instance);
        AfxSetResourceHandle(instance);
        if (app != nullptr) {
            app->SetupFromModule(instance, "", SW_SHOWNORMAL);
            if (!app->InitInstance())
                return FALSE;
        }
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // FreeLibrary: the process goes on without the module. (At process
        // end nothing needs tidying, and other modules may be gone.)
        if (app != nullptr)
            app->ExitInstance();
        FxUnregisterClasses();
    }
    return TRUE;
}
