// The installation folder of the AppleTalk product: registry key
// HKEY_LOCAL_MACHINE "SOFTWARE\VESTREL\QUARNET\2.0", value "Path", with a
// backslash appended unless the text ends in one. It holds the help files,
// the two table files, "PInfo.ps" and the download log. When it is not
// known, each caller falls back in its own way.
#pragma once

#include <optional>
#include <string>

constexpr const char* kInstallFolderKey = "SOFTWARE\\VESTREL\\QUARNET\\2.0";
constexpr const char* kInstallFolderValue = "Path";

// The folder from the text of the "Path" value. No text (no key, no value,
// a value that is not text) and empty text are both "not known": an empty
// folder would become "\", the root of whatever drive is current.
std::optional<std::string> InstallFolderFromValue(const std::optional<std::string>& value);

#if defined(_WIN32)
// Reads the registry. The product is a 32-bit program, so the key is read
// in the 32-bit registry view on every build: a 64-bit build sees the same
// installation as the product itself.
std::optional<std::string> FindInstallFolder();
#endif
