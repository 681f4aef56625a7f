// The recently used printers: entries "object:type@zone", most recent
// first. The list logic is portable; the registry store is Windows only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "atalk_records.h"

constexpr std::size_t kRecentPrinterLimit = 8;

// "object:type@zone"; empty when the tuple has no object name.
std::string FormatPrinterEntry(const _NBPTuple& printer);
// Splits an entry at its first ':' and last '@' into a tuple (address
// zero). False, and *printer untouched, when a part is missing or longer
// than 32 characters.
bool ParsePrinterEntry(const std::string& entry, _NBPTuple* printer);
// Moves `entry` to the front (entries differing only in case count as the
// same printer, since NBP names compare that way) and cuts the list to
// kRecentPrinterLimit. Malformed or empty entries are not added.
void PromoteRecentPrinter(std::vector<std::string>& list, const std::string& entry);

#ifdef _WIN32
// HKEY_CURRENT_USER\Software\VESTREL\VSXAU20\Recent Printers, values
// "Printer1".."Printer8". Unreadable or malformed values are skipped.
std::vector<std::string> LoadRecentPrinters();
// Rewrites the list; false when the key could not be written.
bool SaveRecentPrinters(const std::vector<std::string>& list);
#endif
