// Reading and writing a whole table file. Paths are ANSI paths in the
// system code page, as the programs hold them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "table_contents.h"

// The whole file as text; false when it cannot be opened or read.
bool ReadTableFile(const std::string& path, std::string& text);

// Replaces the file's contents with `text` (creating it when missing);
// false when it cannot be opened or written in full.
bool WriteTableFile(const std::string& path, std::string_view text);

// Appends every well-formed line of the file as a row. Nothing when the file
// cannot be read (the table is then left as it was).
template <class Entry>
std::optional<TableLoadResult> LoadTableFile(CTableContents<Entry>& table, const std::string& path)
{
    std::string text;
    if (!ReadTableFile(path, text))
        return std::nullopt;
    return table.LoadText(text);
}

// Writes every row as a line. The whole text is built before the file is
// opened, so a table without a list leaves the file untouched.
template <class Entry>
bool SaveTableFile(CTableContents<Entry>& table, const std::string& path)
{
    std::string text;
    if (!table.StoreText(text))
        return false;
    return WriteTableFile(path, text);
}
