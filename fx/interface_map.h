// Interface maps: a COM object of the framework is a CCmdTarget that
// inherits the interfaces it implements and lists them in a table, chained
// to its base class's table like a message map:
//
//   class CThing : public CCmdTarget, public IShellExtInit {
//       DECLARE_INTERFACE_MAP()
//       FX_IUNKNOWN_METHODS()
//       ...
//   };
//   BEGIN_INTERFACE_MAP(CThing, CCmdTarget)
//       INTERFACE_PART(IID_IShellExtInit, IShellExtInit)
//   END_INTERFACE_MAP()
//
// QueryInterface walks the tables; IID_IUnknown gives the first interface
// listed. Every interface shares the object's one reference count.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "fx/cmd_target.h"

struct InterfaceEntry {
    const IID* piid;  // null ends a table
    IUnknown* (*get)(CCmdTarget* object);
};

struct InterfaceMap {
    const InterfaceMap* (*base)();
    const InterfaceEntry* entries;
};

#define DECLARE_INTERFACE_MAP()                          \
public:                                                  \
    static const InterfaceMap* GetThisInterfaceMap();    \
    const InterfaceMap* GetInterfaceMap() const override;

#define BEGIN_INTERFACE_MAP(theClass, baseClass)                                           \
    const InterfaceMap* theClass::GetInterfaceMap() const { return GetThisInterfaceMap(); } \
    const InterfaceMap* theClass::GetThisInterfaceMap()                                    \
    {                                                                                      \
        using ThisClass = theClass;                                                        \
        using TheBaseClass = baseClass;                                                    \
        static const InterfaceEntry entries[] = {

#define INTERFACE_PART(iid, iface)                                               \
    {&(iid), [](CCmdTarget* object_) -> IUnknown* {                              \
         return static_cast<iface*>(static_cast<ThisClass*>(object_)); }},

#define END_INTERFACE_MAP()                                                            \
        {nullptr, nullptr}};                                                           \
        static const InterfaceMap map{&TheBaseClass::GetThisInterfaceMap, entries};     \
        return &map;                                                                   \
    }

// IUnknown's three methods for a class that inherits several interfaces:
// each goes to the object's shared implementation.
#define FX_IUNKNOWN_METHODS()                                                                   \
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override                                \
    {                                                                                           \
        return ExternalQueryInterface(&iid, out);                                               \
    }                                                                                           \
    STDMETHODIMP_(ULONG) AddRef() override { return ExternalAddRef(); }                         \
    STDMETHODIMP_(ULONG) Release() override { return ExternalRelease(); }
