// The texts the PAP jobs show, by their string-table ids, and the English
// text of each for hosts without a string table.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

enum JobTextId : int {
    IDS_RENAME_LOG_LINE = 102,      // "Renamed Printer %s to %s \n"
    IDS_RENAME_JOB = 104,           // the rename job's PostScript, one %s: the new name
    IDS_RENAME_STARTING = 105,      // "Status: Starting Printer Rename Operation"
    IDS_RENAME_IN_PROGRESS = 106,   // "Status: Printer Rename in progress ..."
    IDS_FILE_NOT_ACCESSIBLE = 114,  // "The file %1 could not be accessed"
    IDS_STATUS_OPENING = 116,       // "Status: Opening Printer"
    IDS_STATUS_OPEN = 117,          // "Status: Printer Open"
    IDS_STATUS_CLOSING = 119,       // "Status: Closing Printer"
    IDS_NO_JOB = 120,               // "There is nothing to download: no files and no printer were given"
    IDS_PRINTER_NOT_FOUND = 121,    // "The printer %1 could not be found on the network"
};

// The English text of `id`; empty for an id the jobs do not use.
std::string JobTextEnglish(int id);

// `text` with every "%1" replaced by `arg` (the string table's placeholder).
std::string FormatJobText(std::string_view text, std::string_view arg);

// A printf-style `format` of the string table with its "%s" replaced by
// `args` in order and "%%" by "%". A "%s" without an argument left becomes
// empty; any other "%" stays as it is.
std::string FormatPrintfText(std::string_view format, std::initializer_list<std::string_view> args);
