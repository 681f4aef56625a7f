// vsxsetup: makes VSXPROPS.dll (beside this program) known to the shell,
// or takes it away again.
//
//   vsxsetup        registers the three classes (DllRegisterServer) and
//                   hands the shell its property-sheet handlers: files for
//                   VSXFileExt; folders, drives and network objects for
//                   VSXNetExt; printers for VSXPrintExt; and the context
//                   menu of network servers (Change Server Password) to
//                   VSXNetExt
//   vsxsetup /u     removes the handlers and the classes' registration
//
// Writes to HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE: run it as a user who
// may. Exit status 0 when everything was done.
#include <windows.h>
#include <olectl.h>

#include <cstdio>
#include <cstring>

#include "class_ids.h"
#include "fx/ole.h"

namespace {

struct Handler {
    const char* objectType;  // a key of HKEY_CLASSES_ROOT
    const char* handlers;    // the kind of handler, a key below "shellex"
    const char* progId;
    const CLSID* clsid;
};

const char kPages[] = "PropertySheetHandlers";
const char kMenu[] = "ContextMenuHandlers";

// Folders are "Folder" in Wine's shell and "Directory" in Windows'. The
// menu command is a server's only: the network extension offers it for
// nothing else.
const Handler kHandlers[] = {
    {"*", kPages, "VSXFileExt", &CLSID_VSXFileExt},
    {"Folder", kPages, "VSXNetExt", &CLSID_VSXNetExt},
    {"Directory", kPages, "VSXNetExt", &CLSID_VSXNetExt},
    {"Drive", kPages, "VSXNetExt", &CLSID_VSXNetExt},
    {"Network", kPages, "VSXNetExt", &CLSID_VSXNetExt},
    {"NetServer", kPages, "VSXNetExt", &CLSID_VSXNetExt},
    {"NetShare", kPages, "VSXNetExt", &CLSID_VSXNetExt},
    {"Printers", kPages, "VSXPrintExt", &CLSID_VSXPrintExt},
    {"NetServer", kMenu, "VSXNetExt", &CLSID_VSXNetExt},
};

struct ClassEntry {
    const char* progId;
    const CLSID* clsid;
};
const ClassEntry kClasses[] = {
    {"VSXFileExt", &CLSID_VSXFileExt},
    {"VSXNetExt", &CLSID_VSXNetExt},
    {"VSXPrintExt", &CLSID_VSXPrintExt},
};

// Shell extensions the shell may load where a policy asks for approval.
const char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

CString HandlerKey(const Handler& h)
{
    return CString(h.objectType) + "\\shellex\\" + h.handlers + "\\" + h.progId;
}

bool Install()
{
    bool ok = DllRegisterServer() == S_OK;
    std::printf("registered the classes of VSXPROPS.dll\n");
    for (const Handler& h : kHandlers) {
        const bool done = FxSetRegistryText(HKEY_CLASSES_ROOT, HandlerKey(h).c_str(), nullptr,
                                            FxClassIdText(*h.clsid).c_str());
        std::printf("%s: %s\n", done ? "added" : "FAILED", HandlerKey(h).c_str());
        ok = ok && done;
    }
    for (const ClassEntry& c : kClasses) {
        const CString description = CString("VSXPROPS ") + c.progId;
        ok = FxSetRegistryText(HKEY_LOCAL_MACHINE, kApproved, FxClassIdText(*c.clsid).c_str(),
                               description.c_str()) && ok;
    }
    return ok;
}

// A missing key or value counts as removed.
bool Removed(LONG result)
{
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool Uninstall()
{
    bool ok = true;
    for (const Handler& h : kHandlers) {
        const bool done = Removed(RegDeleteTreeA(HKEY_CLASSES_ROOT, HandlerKey(h).c_str()));
        std::printf("%s: %s\n", done ? "removed" : "FAILED", HandlerKey(h).c_str());
        ok = ok && done;
    }
    HKEY approved = nullptr;
    const bool haveApproved = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApproved, 0, KEY_SET_VALUE, &approved) == ERROR_SUCCESS;
    for (const ClassEntry& c : kClasses) {
        const CString clsid = FxClassIdText(*c.clsid);
        if (haveApproved)
            ok = Removed(RegDeleteValueA(approved, clsid.c_str())) && ok;
        ok = Removed(RegDeleteTreeA(HKEY_CLASSES_ROOT, c.progId)) && ok;
        ok = Removed(RegDeleteTreeA(HKEY_CLASSES_ROOT, (CString("CLSID\\") + clsid).c_str())) && ok;
        std::printf("removed the class %s %s\n", c.progId, clsid.c_str());
    }
    if (haveApproved)
        RegCloseKey(approved);
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool remove = argc > 1 && (std::strcmp(argv[1], "/u") == 0 || std::strcmp(argv[1], "-u") == 0);
    if (argc > 2 || (argc == 2 && !remove)) {
        std::fprintf(stderr, "usage: vsxsetup [/u]\n");
        return 2;
    }
    const bool ok = remove ? Uninstall() : Install();
    if (!ok)
        std::fprintf(stderr, "vsxsetup: not everything could be done (are you allowed to change the registry?)\n");
    return ok ? 0 : 1;
}
