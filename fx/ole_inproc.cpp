#include "fx/ole_inproc.h"

#include "fx/interface_map.h"
#include "fx/module.h"

COleRuntimeFactory::COleRuntimeFactory(REFCLSID clsid, const CRuntimeClass* runtimeClass, const char* progId)
    : m_pRuntimeClass(runtimeClass), m_strProgID(progId)
{
    m_clsid = clsid;
}

IUnknown* COleRuntimeFactory::OnCreateObject()
{
    CObject* object = m_pRuntimeClass->CreateObject();
    if (object == nullptr)
        return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CCmdTarget))) {
        delete object;
        return nullptr;
    }
    // The new object holds the creator's reference; the IUnknown handed
    // back takes it over.
    auto* target = static_cast<CCmdTarget*>(object);
    void* unknown = nullptr;
    const HRESULT hr = target->ExternalQueryInterface(&IID_IUnknown, &unknown);
    target->ExternalRelease();
    return SUCCEEDED(hr) ? static_cast<IUnknown*>(unknown) : nullptr;
}

BOOL COleRuntimeFactory::UpdateRegistry()
{
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(AfxGetInstanceHandle(), path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return FALSE;
    const CString clsid = FxClassIdText(m_clsid);
    const CString key = CString("CLSID\\") + clsid;
    const char* progId = m_strProgID.c_str();
    return FxSetRegistryText(HKEY_CLASSES_ROOT, progId, nullptr, progId) &&
           FxSetRegistryText(HKEY_CLASSES_ROOT, (m_strProgID + "\\CLSID").c_str(), nullptr, clsid.c_str()) &&
           FxSetRegistryText(HKEY_CLASSES_ROOT, key.c_str(), nullptr, progId) &&
           FxSetRegistryText(HKEY_CLASSES_ROOT, (key + "\\ProgID").c_str(), nullptr, progId) &&
           FxSetRegistryText(HKEY_CLASSES_ROOT, (key + "\\InProcServer32").c_str(), nullptr, path);
}

HRESULT AfxDllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    COleObjectFactory* factory = COleObjectFactory::FromClassId(clsid);
    if (factory == nullptr)
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory->GetClassFactory()->QueryInterface(iid, out);
}

HRESULT AfxDllCanUnloadNow()
{
    return AfxOleGetLockCount() == 0 && !COleObjectFactory::AnyReferenced() ? S_OK : S_FALSE;
}
