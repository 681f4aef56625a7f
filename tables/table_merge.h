// Merging another table file into a table: every line of the file is read
// with the table's own line parser and goes into the table by the merge
// guideline the user chose. The same steps serve both tables; what a
// document does around them (asking about a duplicate, the summary, saving
// or reloading) is in the document (table_document.h).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "table_contents.h"
#include "table_lines.h"
#include "table_text.h"

// What becomes of a row of the file whose key the table already holds.
enum MergeGuideline : int {
    MergeNone = 0,             // no merge
    MergeReplaceTable = 1,     // the table is emptied first: only a key repeated in the file meets
                               // itself, and its later row is dropped
    MergeRetainExisting = 2,   // the file's row is dropped
    MergeReplaceExisting = 3,  // the table's row takes every field of the file's row, key included
    MergeCaseByCase = 4,       // the user decides each one
};

// The user's answer about one duplicate key (MergeCaseByCase).
enum class DuplicateAnswer {
    Replace,  // the table's row takes the file's row
    Retain,   // the file's row is dropped
    Stop,     // the file's row is dropped and no more lines are read
};

// What one merge did.
struct MergeOutcome {
    int lineNumber = 0;      // the last line read, 1-based
    int added = 0;           // rows appended
    int changed = 0;         // rows that took a file row's fields
    bool malformed = false;  // line `lineNumber` is not a table line: the merge is aborted
    bool readFailed = false; // the file could not be read to its end
    bool stopped = false;    // the user stopped at a duplicate
};

// Merges every line of `lines` into `table` under `guideline`. `ask` is
// called as ask(const Entry& existing, const Entry& incoming) for each
// duplicate key under MergeCaseByCase and returns a DuplicateAnswer. New
// rows are appended after the existing ones, in file order. Reading ends at
// the first malformed line (or one too long to be a table line), leaving
// what was merged so far in the table: the caller throws it away.
template <class Entry, class Ask>
MergeOutcome MergeTableLines(CTableContents<Entry>& table, int guideline, TableLineStream& lines, Ask&& ask)
{
    MergeOutcome outcome;
    if (guideline == MergeReplaceTable)
        table.DeleteAllEntries();
    // The first row of each key, found as FindEntry finds it (ignoring
    // case, the first row wins), without walking the rows for every line.
    // A replaced row keeps its key but for case, and rows are only added
    // at the end, so the index stays true as the merge goes.
    std::unordered_map<std::string, int> firstRow;
    for (int i = table.GetEntryCount() - 1; i >= 0; --i)
        if (const Entry* entry = table.GetEntry(i))
            firstRow[FoldTableKey(entry->GetKey())] = i;
    std::string_view line;
    while (lines.Next(line)) {
        ++outcome.lineNumber;
        std::unique_ptr<Entry> incoming = table.ParseLine(line);
        if (!incoming) {
            outcome.malformed = true;
            return outcome;
        }
        std::string key = FoldTableKey(incoming->GetKey());
        const auto found = firstRow.find(key);
        if (found == firstRow.end()) {
            const int row = table.AddItemToList(-1, std::move(incoming));
            if (row >= 0) {
                firstRow.emplace(std::move(key), row);
                ++outcome.added;
            }
            continue;
        }
        Entry* existing = table.GetEntry(found->second);
        DuplicateAnswer answer = DuplicateAnswer::Retain;
        if (guideline == MergeReplaceExisting)
            answer = DuplicateAnswer::Replace;
        else if (guideline == MergeCaseByCase)
            answer = ask(static_cast<const Entry&>(*existing), static_cast<const Entry&>(*incoming));
        if (answer == DuplicateAnswer::Replace) {
            *existing = std::move(*incoming);
            ++outcome.changed;
        } else if (answer == DuplicateAnswer::Stop) {
            outcome.stopped = true;
            return outcome;
        }
    }
    if (lines.GetState() == TableLineStream::State::LineTooLong) {
        ++outcome.lineNumber;
        outcome.malformed = true;
    } else if (lines.GetState() == TableLineStream::State::ReadFailed) {
        outcome.readFailed = true;
    }
    return outcome;
}
