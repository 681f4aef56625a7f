#include "fx/interface_map.h"

const InterfaceMap* CCmdTarget::GetThisInterfaceMap()
{
    static const InterfaceEntry entries[] = {{nullptr, nullptr}};
    static const InterfaceMap map{nullptr, entries};
    return &map;
}

const InterfaceMap* CCmdTarget::GetInterfaceMap() const
{
    return GetThisInterfaceMap();
}

long CCmdTarget::ExternalQueryInterface(const void* iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    const IID& wanted = *static_cast<const IID*>(iid);
    IUnknown* found = nullptr;
    // IUnknown is the object's first interface, whichever is asked.
    const bool anyInterface = wanted == IID_IUnknown;
    for (const InterfaceMap* map = GetInterfaceMap(); map != nullptr && found == nullptr;
         map = map->base ? map->base() : nullptr) {
        for (const InterfaceEntry* e = map->entries; e->piid != nullptr && found == nullptr; ++e)
            if (anyInterface || wanted == *e->piid)
                found = e->get(this);
    }
    if (found == nullptr)
        return E_NOINTERFACE;
    ExternalAddRef();
    *out = found;
    return S_OK;
}

unsigned long CCmdTarget::ExternalAddRef()
{
    return static_cast<unsigned long>(InterlockedIncrement(&m_dwRef));
}

unsigned long CCmdTarget::ExternalRelease()
{
    const LONG n = InterlockedDecrement(&m_dwRef);
    if (n == 0)
        OnFinalRelease();
    return static_cast<unsigned long>(n);
}
