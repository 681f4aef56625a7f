// The texts the download shows, by their string-table ids, and the English
// text of each for hosts without a string table.
#pragma once

#include <string>
#include <string_view>

enum JobTextId : int {
    IDS_FILE_NOT_ACCESSIBLE = 114,  // "The file %1 could not be accessed"
    IDS_STATUS_OPENING = 116,       // "Status: Opening Printer"
    IDS_STATUS_OPEN = 117,          // "Status: Printer Open"
    IDS_STATUS_CLOSING = 119,       // "Status: Closing Printer"
    IDS_PRINTER_NOT_FOUND = 121,    // "The printer %1 could not be found on the network"
};

// The English text of `id`; empty for an id the download does not use.
std::string JobTextEnglish(int id);

// `text` with every "%1" replaced by `arg` (the string table's placeholder).
std::string FormatJobText(std::string_view text, std::string_view arg);
