// Properties both line formats keep, checked by the fuzz targets: whatever
// a line holds, a record parsed from it is written as a line that parses
// back to the same record, and a whole file loaded and saved once is saved
// again byte for byte.
#pragma once

#include <cstdlib>
#include <string>
#include <string_view>

#include "table_contents.h"

namespace roundtrip {

// The one difference a second reading may show: `same(written, reread)`.
template <class Entry, class Same>
void CheckLine(std::string_view line, Same same)
{
    std::unique_ptr<Entry> parsed = Entry::ParseLine(line);
    if (!parsed)
        return;
    Entry written = *parsed;
    std::string out;
    written.WriteLine(out);
    if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0)
        abort();
    const std::string_view body(out.data(), out.size() - 2);
    std::unique_ptr<Entry> reread = Entry::ParseLine(body);
    if (!reread || !same(written, *reread))
        abort();

    // Read as a table file, the written line is one row again, unless a
    // field holds a line feed (no line read from a file does).
    if (body.find('\n') == std::string_view::npos) {
        CTableRowVector<Entry> rows;
        CTableContents<Entry> table;
        table.m_pListCtrl = &rows;
        const TableLoadResult result = table.LoadText(out);
        const bool one = result.added == 1 && result.malformed == 0 && same(written, *table.GetEntry(0));
        table.DeleteAllEntries();
        if (!one)
            abort();
    }
}

template <class Entry, class Same>
void CheckFile(std::string_view text, Same same)
{
    CTableRowVector<Entry> firstRows;
    CTableContents<Entry> first;
    first.m_pListCtrl = &firstRows;
    first.LoadText(text);
    std::string saved;
    first.StoreText(saved);

    CTableRowVector<Entry> secondRows;
    CTableContents<Entry> second;
    second.m_pListCtrl = &secondRows;
    const TableLoadResult reloaded = second.LoadText(saved);
    std::string savedAgain;
    second.StoreText(savedAgain);

    bool ok = reloaded.added == first.GetEntryCount() && reloaded.malformed == 0 && savedAgain == saved;
    for (int i = 0; ok && i < first.GetEntryCount(); ++i)
        ok = same(*first.GetEntry(i), *second.GetEntry(i));
    first.DeleteAllEntries();
    second.DeleteAllEntries();
    if (!ok)
        abort();
}

}  // namespace roundtrip
