#include "fx/ole.h"

#include <cstdio>
#include <cstring>

#include "fx/doc_template.h"
#include "fx/fx_ids.h"
#include "fx/document.h"
#include "fx/ole_server_doc.h"
#include "fx/win_app.h"

// COM interfaces have no virtual destructors by design: objects are ended by
// Release, never deleted through an interface pointer.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace {

LONG g_appLocks = 0;
bool g_oleStarted = false;

std::vector<COleObjectFactory*>& Factories()
{
    static std::vector<COleObjectFactory*> list;
    return list;
}

// The dispatch interface of an automation object: no names, no members.
struct FxDispatch : public IDispatch {
    LONG refs = 0;
    CCmdTarget* owner;
    explicit FxDispatch(CCmdTarget* o) : owner(o) {}
    virtual ~FxDispatch() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = InterlockedDecrement(&refs);
        if (n == 0) {
            CCmdTarget* o = owner;
            if (o != nullptr)
                o->OnFinalRelease();  // may delete the owner, which detaches this
            else
                delete this;
        }
        return static_cast<ULONG>(n);
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        *info = nullptr;
        return DISP_E_BADINDEX;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override
    {
        for (UINT i = 0; i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
};

}  // namespace

// The automation parts of CCmdTarget live here, beside the COM code.
void CCmdTarget::EnableAutomation()
{
    if (m_pDispatch == nullptr)
        m_pDispatch = new FxDispatch(this);
}

IDispatch* CCmdTarget::GetIDispatch(BOOL addRef)
{
    if (m_pDispatch == nullptr)
        return nullptr;
    if (addRef)
        m_pDispatch->AddRef();
    return m_pDispatch;
}

void CCmdTarget::OnFinalRelease()
{
    delete this;
}

CCmdTarget::~CCmdTarget()
{
    if (m_pDispatch != nullptr) {
        auto* d = static_cast<FxDispatch*>(m_pDispatch);
        d->owner = nullptr;
        if (d->refs == 0)
            delete d;
    }
}

BOOL AfxOleInit()
{
    if (g_oleStarted)
        return TRUE;
    g_oleStarted = SUCCEEDED(OleInitialize(nullptr));
    return g_oleStarted;
}

void AfxOleTerm()
{
    // A program that ends before starting OLE (a second instance) has
    // nothing to end.
    if (!g_oleStarted)
        return;
    COleObjectFactory::RevokeAll();
    OleUninitialize();
    g_oleStarted = false;
}

void AfxOleLockApp()
{
    InterlockedIncrement(&g_appLocks);
}

void AfxOleUnlockApp()
{
    if (InterlockedDecrement(&g_appLocks) != 0)
        return;
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd != nullptr && !app->m_pMainWnd->IsWindowVisible())
        app->m_pMainWnd->PostMessage(WM_CLOSE);
}

LONG AfxOleGetLockCount()
{
    return g_appLocks;
}

struct COleObjectFactory::Factory : public IClassFactory {
    COleObjectFactory* owner;
    LONG refs = 1;  // the framework's own; the factory lives as long as its owner
    explicit Factory(COleObjectFactory* o) : owner(o) {}
    virtual ~Factory() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // COM's references are counted (an in-process server may unload only
    // when none is left) but never delete the factory.
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs)); }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        *out = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        IUnknown* object = owner->OnCreateObject();
        if (object == nullptr)
            return E_OUTOFMEMORY;
        HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock)
            AfxOleLockApp();
        else
            AfxOleUnlockApp();
        return S_OK;
    }
};

COleObjectFactory::COleObjectFactory() : m_pFactory(new Factory(this))
{
    Factories().push_back(this);
}

COleObjectFactory::~COleObjectFactory()
{
    Revoke();
    std::erase(Factories(), this);
    delete m_pFactory;
}

IClassFactory* COleObjectFactory::GetClassFactory()
{
    return m_pFactory;
}

LONG COleObjectFactory::GetRefCount() const
{
    return InterlockedCompareExchange(&m_pFactory->refs, 0, 0);
}

COleObjectFactory* COleObjectFactory::FromClassId(REFCLSID clsid)
{
    for (COleObjectFactory* f : Factories())
        if (f->m_clsid == clsid)
            return f;
    return nullptr;
}

BOOL COleObjectFactory::AnyReferenced()
{
    for (COleObjectFactory* f : Factories())
        if (f->GetRefCount() > 1)
            return TRUE;
    return FALSE;
}

BOOL COleObjectFactory::Register()
{
    if (m_dwRegister != 0)
        return TRUE;
    DWORD flags = m_bMultiInstance ? REGCLS_SINGLEUSE : REGCLS_MULTIPLEUSE;
    return SUCCEEDED(CoRegisterClassObject(m_clsid, m_pFactory, CLSCTX_LOCAL_SERVER, flags, &m_dwRegister));
}

void COleObjectFactory::Revoke()
{
    if (m_dwRegister != 0)
        CoRevokeClassObject(m_dwRegister);
    m_dwRegister = 0;
}

BOOL COleObjectFactory::RegisterAll()
{
    BOOL ok = TRUE;
    for (COleObjectFactory* f : Factories())
        if (f->m_clsid != CLSID_NULL && !f->Register())
            ok = FALSE;
    return ok;
}

void COleObjectFactory::RevokeAll()
{
    for (COleObjectFactory* f : Factories())
        f->Revoke();
}

void COleTemplateServer::ConnectTemplate(REFCLSID clsid, CDocTemplate* tmpl, BOOL multiInstance)
{
    m_clsid = clsid;
    m_pDocTemplate = tmpl;
    m_bMultiInstance = multiInstance;
}

IUnknown* COleTemplateServer::OnCreateObject()
{
    if (m_pDocTemplate == nullptr)
        return nullptr;
    CDocument* doc = FxCreateDocumentForClient(m_pDocTemplate, m_clsid);
    if (doc == nullptr)
        return nullptr;
    // A server document is embedded: the client gets its OLE object.
    if (auto* server = dynamic_cast<COleServerDoc*>(doc)) {
        IUnknown* object = server->GetOleObject();
        if (object == nullptr)
            doc->OnCloseDocument();
        return object;
    }
    IDispatch* dispatch = doc->GetIDispatch(TRUE);
    if (dispatch == nullptr)
        doc->OnCloseDocument();
    return dispatch;
}

BOOL FxSetRegistryText(HKEY root, const char* keyPath, const char* valueName, const char* text)
{
    HKEY key;
    if (RegCreateKeyExA(root, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return FALSE;
    LONG r = RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                            static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

CString FxClassIdText(REFCLSID clsid)
{
    LPOLESTR wide = nullptr;
    if (FAILED(StringFromCLSID(clsid, &wide)))
        return CString();
    char text[64] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    CoTaskMemFree(wide);
    return CString(text);
}

BOOL COleTemplateServer::UpdateRegistry(OLE_APPTYPE type)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return FALSE;
    const CString clsidText = FxClassIdText(m_clsid);
    if (clsidText.IsEmpty())
        return FALSE;
    const char* clsid = clsidText.c_str();

    CString progId, typeName;
    if (m_pDocTemplate != nullptr) {
        m_pDocTemplate->GetDocString(progId, CDocTemplate::regFileTypeId);
        m_pDocTemplate->GetDocString(typeName, CDocTemplate::regFileTypeName);
    }
    if (type == OAT_INPLACE_SERVER || type == OAT_SERVER) {
        FxServerRegistration r;
        r.clsid = clsid;
        r.progId = progId;
        r.typeName = typeName;
        if (m_pDocTemplate != nullptr)
            m_pDocTemplate->GetDocString(r.shortName, CDocTemplate::fileNewName);
        r.appName = AfxGetApp() != nullptr && AfxGetApp()->m_pszAppName ? AfxGetApp()->m_pszAppName : "";
        r.serverPath = path;
        r.editVerb = FxLoadString(AFX_IDS_VERB_EDIT);
        r.openVerb = FxLoadString(AFX_IDS_VERB_OPEN);
        // Nothing inside an embedded document can be linked to.
        r.miscStatus = OLEMISC_CANTLINKINSIDE;
        return FxRegisterEmbeddingServer(r);
    }
    CString key = CString("CLSID\\") + clsid;
    BOOL ok = FxSetRegistryText(HKEY_CLASSES_ROOT, key.c_str(), nullptr, typeName.c_str());
    // Wine's and Windows' default handler for objects of a local server.
    ok = ok && FxSetRegistryText(HKEY_CLASSES_ROOT, (key + "\\InprocHandler32").c_str(), nullptr, "ole32.dll");
    ok = ok && FxSetRegistryText(HKEY_CLASSES_ROOT, (key + "\\LocalServer32").c_str(), nullptr, path);
    if (ok && !progId.IsEmpty()) {
        ok = FxSetRegistryText(HKEY_CLASSES_ROOT, (key + "\\ProgID").c_str(), nullptr, progId.c_str()) &&
             FxSetRegistryText(HKEY_CLASSES_ROOT, progId.c_str(), nullptr, typeName.c_str()) &&
             FxSetRegistryText(HKEY_CLASSES_ROOT, (progId + "\\CLSID").c_str(), nullptr, clsid);
    }
    return ok;
}
