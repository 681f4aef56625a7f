// The printer type table "Printers.PAPTypes" as the stack reads it (line
// format of the table editors, "type" F ;remark, read as they read it):
// which NBP types are PostScript printers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace atw {

struct PapTypeEntry {
    std::string type;
    bool postScript = false;
};

// One line without its terminator; nothing when it is not a table line.
std::optional<PapTypeEntry> ParsePapTypeLine(std::string_view line);
// Every table line of a file's text (LF or CR LF line ends).
std::vector<PapTypeEntry> ParsePapTypes(std::string_view text);
// The answer of IsPostScriptPrinterType: with a table, the first entry of
// that type (case-insensitive) decides; without one, only "LaserWriter".
bool IsPostScriptType(const std::optional<std::vector<PapTypeEntry>>& table, std::string_view type);

}  // namespace atw
