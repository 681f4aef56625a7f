// Where a table file lives: in the product's installation folder when that
// is known, otherwise beside the running program. The folder lookup and the
// program's own path are the caller's (FindInstallFolder and the program's
// module file name); this part only puts the path together.
#pragma once

#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view kDevTypeTableFileName = "Printers.PAPTypes";
inline constexpr std::string_view kKorvelTableFileName = "Korvel.AFPMap";

// The folder of a program's full path: everything up to and including its
// last backslash (or slash); empty when the path names no folder.
std::string ProgramFolder(std::string_view programPath);

// The table file's full path. `installFolder` is the installation folder if
// known (a backslash is added when it does not end in one); an empty or
// unknown folder means the program's own folder.
std::string GetTablePath(const std::optional<std::string>& installFolder,
                         std::string_view programPath, std::string_view fileName);
