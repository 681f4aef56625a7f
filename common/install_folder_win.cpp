#include <windows.h>

#include <vector>

#include "install_folder.h"

namespace {

// The text of a REG_SZ or REG_EXPAND_SZ value, whether or not it was stored
// with its terminating NUL; nothing for a missing value or any other type.
std::optional<std::string> ReadTextValue(HKEY key, const char* name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::string text(data.data());  // up to the first NUL; data ends in one
    if (type == REG_EXPAND_SZ) {
        DWORD need = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
        if (need == 0)
            return std::nullopt;
        std::vector<char> expanded(need, '\0');
        if (ExpandEnvironmentStringsA(text.c_str(), expanded.data(), need) == 0)
            return std::nullopt;
        text = expanded.data();
    }
    return text;
}

}  // namespace

std::optional<std::string> FindInstallFolder()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallFolderKey, 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                      &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> value = ReadTextValue(key, kInstallFolderValue);
    RegCloseKey(key);
    return InstallFolderFromValue(value);
}
