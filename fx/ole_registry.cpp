// What an embedding server writes for its class: everything a container's
// Insert Object list and the default handler read.
#include <cstring>

#include "fx/ole.h"

namespace {

BOOL CreateKey(const CString& path)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return FALSE;
    RegCloseKey(key);
    return TRUE;
}

BOOL Set(const CString& path, const CString& text)
{
    return FxSetRegistryText(HKEY_CLASSES_ROOT, path.c_str(), nullptr, text.c_str());
}

}  // namespace

BOOL FxRegisterEmbeddingServer(const FxServerRegistration& r)
{
    const CString cls = CString("CLSID\\") + r.clsid;
    BOOL ok = Set(cls, r.typeName) && Set(cls + "\\LocalServer32", r.serverPath) &&
              // The default handler stands between a container and a local
              // server (Wine's and Windows' ole32).
              Set(cls + "\\InprocHandler32", "ole32.dll") && CreateKey(cls + "\\Insertable") &&
              // The primary verb edits (in place when it can), the second opens
              // a window; both on the container's menu (OLEVERBATTRIB_ONCONTAINERMENU).
              Set(cls + "\\Verb\\0", r.editVerb + ",0,2") && Set(cls + "\\Verb\\1", r.openVerb + ",0,2") &&
              Set(cls + "\\MiscStatus", std::to_string(r.miscStatus)) &&
              // The program's second icon is its document's.
              Set(cls + "\\DefaultIcon", r.serverPath + ",1") && Set(cls + "\\AuxUserType\\2", r.shortName) &&
              Set(cls + "\\AuxUserType\\3", r.appName);
    if (ok && !r.progId.IsEmpty())
        ok = Set(cls + "\\ProgID", r.progId) && Set(r.progId, r.typeName) && Set(r.progId + "\\CLSID", r.clsid) &&
             CreateKey(r.progId + "\\Insertable");
    return ok;
}
