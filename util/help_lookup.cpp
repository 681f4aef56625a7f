#include "util/help_lookup.h"

#include <windows.h>

#include "install_folder.h"

HelpLookupResult LookUpHelpFile(const char* defaultHelpPath)
{
    HelpLookupResult result;
    HANDLE file = CreateFileA(defaultHelpPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return result;
    }
    // No key, no value or an empty one: the default path stays, although
    // the file is missing (an empty folder would send help to the root of
    // the current drive).
    std::optional<std::string> folder = FindInstallFolder();
    if (!folder)
        return result;
    result.productDir = *folder;
    result.helpPath = result.productDir + "Quarnet.hlp";
    return result;
}
