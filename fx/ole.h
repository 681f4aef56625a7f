// OLE support: start-up of the OLE libraries, the application lock that
// keeps a server alive while clients hold its objects, class factories
// registered under a class id, and the dispatch interface of automation
// objects (an empty one: no properties, no methods).
#pragma once

#include <windows.h>
#include <ole2.h>

#include <vector>

#include "fx/cmd_target.h"
#include "fx/fx_string.h"

class CDocTemplate;

BOOL AfxOleInit();
void AfxOleTerm();

// The application lock. When the last lock goes and the user does not
// control the program (its main window is hidden), the program ends.
void AfxOleLockApp();
void AfxOleUnlockApp();
LONG AfxOleGetLockCount();

enum OLE_APPTYPE { OAT_INPLACE_SERVER = 0, OAT_SERVER = 1, OAT_CONTAINER = 2, OAT_DISPATCH_OBJECT = 3 };

// A class factory for one class id, registered with COM while the program
// runs.
class COleObjectFactory {
public:
    COleObjectFactory();
    virtual ~COleObjectFactory();
    COleObjectFactory(const COleObjectFactory&) = delete;
    COleObjectFactory& operator=(const COleObjectFactory&) = delete;

    CLSID m_clsid{};
    BOOL m_bMultiInstance = FALSE;
    DWORD m_dwRegister = 0;

    BOOL Register();
    void Revoke();
    BOOL IsRegistered() const { return m_dwRegister != 0; }
    // Registers (and revokes) every factory of the program.
    static BOOL RegisterAll();
    static void RevokeAll();

    // A new object for a client; an interface pointer with one reference,
    // or nullptr.
    virtual IUnknown* OnCreateObject() = 0;
    IClassFactory* GetClassFactory();

    // References to the class factory: 1 is the framework's own, more are
    // clients'.
    LONG GetRefCount() const;
    // The factory of `clsid` among the module's factories, or nullptr.
    static COleObjectFactory* FromClassId(REFCLSID clsid);
    // Whether a client still holds some factory of the module.
    static BOOL AnyReferenced();

private:
    struct Factory;
    Factory* m_pFactory;
};

// The factory of an automation document type: each object a client creates
// is a new, hidden document of the template.
class COleTemplateServer : public COleObjectFactory {
public:
    CDocTemplate* m_pDocTemplate = nullptr;

    void ConnectTemplate(REFCLSID clsid, CDocTemplate* tmpl, BOOL multiInstance);
    // Writes the class id's registration: the program as its local server
    // (and, when the type has one, its ProgID).
    BOOL UpdateRegistry(OLE_APPTYPE type);
    IUnknown* OnCreateObject() override;
};

// The registry writes of COM registration; one helper so each value's type
// and size are the same everywhere.
BOOL FxSetRegistryText(HKEY root, const char* keyPath, const char* valueName, const char* text);
// The "{xxxxxxxx-...}" text of a class id ("" if it cannot be made).
CString FxClassIdText(REFCLSID clsid);

// The registration of a server whose documents containers embed (and
// activate in place): class id, ProgID, local server, default handler,
// Insertable, verbs, MiscStatus, icon and short names (fx/ole_registry.cpp).
struct FxServerRegistration {
    CString clsid;       // "{...}"
    CString progId;      // may be empty
    CString typeName;    // the full type name ("... Document")
    CString shortName;   // AuxUserType 2
    CString appName;     // AuxUserType 3
    CString serverPath;  // the program
    CString editVerb, openVerb;
    DWORD miscStatus = 0;
};
BOOL FxRegisterEmbeddingServer(const FxServerRegistration& registration);
