#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "recent_printers.h"

namespace {
const char kRecentKey[] = "Software\\VESTREL\\VSXAU20\\Recent Printers";

std::string ValueName(std::size_t index)
{
    char name[16];
    std::snprintf(name, sizeof name, "Printer%u", static_cast<unsigned>(index + 1));
    return name;
}
}  // namespace

std::vector<std::string> LoadRecentPrinters()
{
    std::vector<std::string> list;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRecentKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return list;
    for (std::size_t i = 0; i < kRecentPrinterLimit; ++i) {
        char text[128] = {};
        DWORD type = 0;
        DWORD size = sizeof text - 1;
        if (RegQueryValueExA(key, ValueName(i).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ)
            continue;
        text[std::min<DWORD>(size, sizeof text - 1)] = '\0';
        std::vector<std::string> single{list};
        const std::size_t before = list.size();
        PromoteRecentPrinter(single, text);
        // Keep the stored order: append what is valid and not yet listed.
        if (single.size() > before)
            list.push_back(text);
    }
    RegCloseKey(key);
    return list;
}

bool SaveRecentPrinters(const std::vector<std::string>& list)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRecentKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (std::size_t i = 0; i < kRecentPrinterLimit; ++i) {
        const std::string name = ValueName(i);
        if (i < list.size())
            ok = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(list[i].c_str()),
                                static_cast<DWORD>(list[i].size() + 1)) == ERROR_SUCCESS &&
                 ok;
        else
            RegDeleteValueA(key, name.c_str());
    }
    RegCloseKey(key);
    return ok;
}
