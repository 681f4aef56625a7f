// Reading and writing a whole table file. Paths are ANSI paths in the
// system code page, as the programs hold them.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "table_contents.h"
#include "table_lines.h"

// The whole file as text; false when it cannot be opened or read.
bool ReadTableFile(const std::string& path, std::string& text);

// Replaces the file's contents with `text` (creating it when missing)
// through a copy written beside it; false when the copy cannot be written in
// full or put in the file's place, and the file is then as it was.
bool WriteTableFile(const std::string& path, std::string_view text);

// A file opened for reading line by line (a merge's input); closed with the
// object.
class TableInputFile {
public:
    explicit TableInputFile(const std::string& path);

    bool IsOpen() const { return m_file != nullptr; }
    TableLineStream& Lines() { return m_lines; }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_file;
    TableLineStream m_lines;
};

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
