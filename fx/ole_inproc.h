// In-process servers: a library whose COM objects live in the caller's
// process (a shell extension). Each class has a factory that makes objects
// of its run-time class (a CCmdTarget with an interface map, which counts
// itself on the module with AfxOleLockApp in its constructor and
// AfxOleUnlockApp in its destructor). The library's exports hand out the
// factories and tell COM when the library may be unloaded.
#pragma once

#include "fx/ole.h"

class COleRuntimeFactory : public COleObjectFactory {
public:
    COleRuntimeFactory(REFCLSID clsid, const CRuntimeClass* runtimeClass, const char* progId);

    const CRuntimeClass* m_pRuntimeClass;
    CString m_strProgID;

    IUnknown* OnCreateObject() override;
    // The class's registration as an in-process server of this module, all
    // default values under HKEY_CLASSES_ROOT: <ProgID> = ProgID,
    // <ProgID>\CLSID = {clsid}, CLSID\{clsid} = ProgID, CLSID\{clsid}\ProgID =
    // ProgID, CLSID\{clsid}\InProcServer32 = the module's full path.
    BOOL UpdateRegistry();
};

// DllGetClassObject: the factory of `clsid`, or CLASS_E_CLASSNOTAVAILABLE.
HRESULT AfxDllGetClassObject(REFCLSID clsid, REFIID iid, void** out);
// DllCanUnloadNow: S_OK when no object of the module is alive and no client
// holds a factory; S_FALSE otherwise.
HRESULT AfxDllCanUnloadNow();
