// VSXPROPS.dll: the module's entry, its application object, the class
// factories of its three extensions and the exports the shell and COM call.
#include <windows.h>
#include <objbase.h>
#include <olectl.h>

#include "class_ids.h"
#include "file_props.h"
#include "fx/module.h"
#include "fx/ole_inproc.h"
#include "fx/win_app.h"
#include "net_props.h"
#include "printer_ext.h"

namespace {

class CVSXPropsApp : public CWinApp {
public:
    // The class factories joined the framework's list when they were made;
    // COM finds them by class id through DllGetClassObject.
    BOOL InitInstance() override { return TRUE; }
};

CVSXPropsApp theApp;

COleRuntimeFactory g_fileFactory(CLSID_VSXFileExt, RUNTIME_CLASS(CVSXFileProps), "VSXFileExt");
COleRuntimeFactory g_netFactory(CLSID_VSXNetExt, RUNTIME_CLASS(CVSXNetProps), "VSXNetExt");
COleRuntimeFactory g_printerFactory(CLSID_VSXPrintExt, RUNTIME_CLASS(CVSXPrinterExt), "VSXPrintExt");

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    return AfxDllMain(instance, reason, reserved, &theApp);
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    return AfxDllGetClassObject(clsid, iid, out);
}

STDAPI DllCanUnloadNow()
{
    return AfxDllCanUnloadNow();
}

// Registers the three classes; the shell's handler keys are the
// installer's (vsxsetup). Always S_OK.
STDAPI DllRegisterServer()
{
    for (COleRuntimeFactory* factory : {&g_fileFactory, &g_netFactory, &g_printerFactory})
        factory->UpdateRegistry();
    return S_OK;
}
