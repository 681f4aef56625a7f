// What a table document does with its rows, the same for the printer type
// table (CDevTypeEntry) and the extension map (CKorvelEntry). The document
// keeps no container of its own: its rows are those of m_pListCtrl, the row
// list of its form view, handed over while the view exists and null
// otherwise. Every operation works through that list, and does nothing and
// reports failure without it.
//
// Records are owned by their rows: a record is freed when its row is
// deleted, when the table is cleared, and by AddItemToList when it cannot
// be inserted.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "table_lines.h"
#include "table_rows.h"
#include "table_text.h"

// What loading lines into a table did.
struct TableLoadResult {
    int added = 0;      // rows appended
    int malformed = 0;  // lines skipped without a message
    int refused = 0;    // records the row list did not take (or no list)
};

enum class TableLineOutcome { Added, Malformed, Refused };

template <class Entry>
class CTableContents {
public:
    CTableRows<Entry>* m_pListCtrl = nullptr;  // not owned

    // Inserts `entry` as a new row at `index` (negative: at the end) and
    // returns the new row's index, or -1 (no record, no list, or the list
    // refused it; the record is then freed).
    int AddItemToList(int index, std::unique_ptr<Entry> entry)
    {
        if (!entry || !m_pListCtrl)
            return -1;
        if (index < 0)
            index = m_pListCtrl->GetItemCount();
        const int row = m_pListCtrl->InsertItem(index, entry.get());
        if (row < 0)
            return -1;  // `entry` still owns the record and frees it
        entry.release();
        return row;
    }

    // Frees every row's record, then deletes all rows.
    void DeleteAllEntries()
    {
        if (!m_pListCtrl)
            return;
        const int count = m_pListCtrl->GetItemCount();
        for (int i = 0; i < count; ++i)
            delete m_pListCtrl->GetItemEntry(i);
        m_pListCtrl->DeleteAllItems();
    }

    // Frees the record of the row at `index` and deletes the row.
    bool DeleteEntry(int index)
    {
        if (!m_pListCtrl || index < 0 || index >= m_pListCtrl->GetItemCount())
            return false;
        Entry* entry = m_pListCtrl->GetItemEntry(index);
        if (!m_pListCtrl->DeleteItem(index))
            return false;
        delete entry;
        return true;
    }

    int GetEntryCount() const { return m_pListCtrl ? m_pListCtrl->GetItemCount() : 0; }

    Entry* GetEntry(int index) const { return m_pListCtrl ? m_pListCtrl->GetItemEntry(index) : nullptr; }

    // The first row, searching from the top, whose key equals `key` ignoring
    // case; -1 when none does. Keys are not unique after a load, so the
    // first match wins.
    int FindEntry(std::string_view key) const
    {
        const int count = GetEntryCount();
        for (int i = 0; i < count; ++i) {
            const Entry* entry = m_pListCtrl->GetItemEntry(i);
            if (entry && KeysEqual(entry->GetKey(), key))
                return i;
        }
        return -1;
    }

    // A new record from one line (without its line end); null when the
    // line is malformed.
    static std::unique_ptr<Entry> ParseLine(std::string_view line) { return Entry::ParseLine(line); }

    // The line of the row at `index`, CR LF included. The record is
    // normalized first and stays so. False, with an empty line, when there
    // is no such row.
    bool FormatLine(int index, std::string& line)
    {
        line.clear();
        Entry* entry = GetEntry(index);
        if (!entry)
            return false;
        entry->WriteLine(line);
        return true;
    }

    // One line read from a table file: appended as a row when well formed.
    TableLineOutcome LoadLine(std::string_view line)
    {
        std::unique_ptr<Entry> entry = ParseLine(line);
        if (!entry)
            return TableLineOutcome::Malformed;
        return AddItemToList(-1, std::move(entry)) < 0 ? TableLineOutcome::Refused
                                                       : TableLineOutcome::Added;
    }

    // Every line of a whole table file, appended in file order. Duplicate
    // keys are not checked: they load as separate rows.
    TableLoadResult LoadText(std::string_view text)
    {
        TableLoadResult result;
        TableLineReader reader(text);
        std::string_view line;
        while (reader.Next(line)) {
            switch (LoadLine(line)) {
            case TableLineOutcome::Added: ++result.added; break;
            case TableLineOutcome::Malformed: ++result.malformed; break;
            case TableLineOutcome::Refused: ++result.refused; break;
            }
        }
        return result;
    }

    // Appends the line of every row, first to last, to `out`. A row without
    // a record writes nothing. False when there is no list.
    bool StoreText(std::string& out)
    {
        if (!m_pListCtrl)
            return false;
        const int count = m_pListCtrl->GetItemCount();
        for (int i = 0; i < count; ++i)
            if (Entry* entry = m_pListCtrl->GetItemEntry(i))
                entry->WriteLine(out);
        return true;
    }
};
