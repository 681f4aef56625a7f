// Any bytes as a table and a merge file (split at the first NUL byte),
// merged under each guideline into both kinds of table, the file read in
// pieces of a size the input chooses. What a merge keeps:
//  - reading stops exactly at the first line the table's own parser
//    refuses, and every line before it was merged;
//  - rows are only appended: the table's rows keep their places, and a row
//    the file did not replace keeps its fields;
//  - a row is added only for a key the table does not hold, and after
//    emptying the table first no two rows share a key;
//  - every record is freed (checked by the sanitizers).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dev_type_entry.h"
#include "fuzz_target.h"
#include "korvel_entry.h"
#include "table_merge.h"
#include "table_text.h"

namespace {

template <class Entry>
void MergeOnce(std::string_view tableText, std::string_view mergeText, int guideline, std::size_t step)
{
    CTableRowVector<Entry> rows;
    CTableContents<Entry> table;
    table.m_pListCtrl = &rows;
    table.LoadText(tableText);
    std::vector<Entry> before;
    for (int i = 0; i < table.GetEntryCount(); ++i)
        before.push_back(*table.GetEntry(i));

    std::size_t pos = 0;
    TableLineStream lines([&](char* buffer, std::size_t size) -> long long {
        const std::size_t n = std::min({size, step, mergeText.size() - pos});
        std::memcpy(buffer, mergeText.data() + pos, n);
        pos += n;
        return static_cast<long long>(n);
    }, 256);
    int asked = 0;
    std::vector<bool> replaced(before.size(), false);
    const MergeOutcome outcome = MergeTableLines(table, guideline, lines, [&](const Entry& existing, const Entry&) {
        if (guideline != MergeCaseByCase)
            abort();
        ++asked;
        return static_cast<DuplicateAnswer>((existing.GetKey().size() + static_cast<std::size_t>(asked)) % 3);
    });

    // The merge read the lines as the whole-file reader splits them, and
    // stopped exactly at the first one the parser refuses or that is over
    // 256 bytes long with its CR.
    std::size_t at = 0;
    int number = 0;
    bool stoppedEarly = false;
    while (at < mergeText.size()) {
        const std::size_t lf = mergeText.find('\n', at);
        const std::string_view raw = mergeText.substr(at, lf == std::string_view::npos ? std::string_view::npos : lf - at);
        const std::string_view line = lf == std::string_view::npos ? raw : WithoutCarriageReturn(raw);
        at = lf == std::string_view::npos ? mergeText.size() : lf + 1;
        ++number;
        const bool bad = raw.size() > 256 || !Entry::ParseLine(line);
        if (bad != (outcome.malformed && number == outcome.lineNumber))
            abort();
        if (bad || (outcome.stopped && number == outcome.lineNumber)) {
            stoppedEarly = true;
            break;
        }
    }
    if (number != outcome.lineNumber || stoppedEarly != (outcome.malformed || outcome.stopped) || outcome.readFailed)
        abort();

    const int kept = guideline == MergeReplaceTable ? 0 : static_cast<int>(before.size());
    if (table.GetEntryCount() != kept + outcome.added)
        abort();
    if (guideline == MergeRetainExisting || guideline == MergeReplaceTable)
        if (outcome.changed != 0)
            abort();
    if (guideline == MergeRetainExisting)
        for (int i = 0; i < kept; ++i)
            if (!(*table.GetEntry(i) == before[static_cast<std::size_t>(i)]))
                abort();
    // A row is added only for a key the table did not hold: no row before
    // an added one has its key (after emptying the table first, no two rows
    // share a key at all).
    for (int i = kept; i < table.GetEntryCount(); ++i)
        if (table.FindEntry(table.GetEntry(i)->GetKey()) != i)
            abort();
    if (guideline == MergeReplaceTable)
        for (int i = 0; i < table.GetEntryCount(); ++i)
            if (table.FindEntry(table.GetEntry(i)->GetKey()) != i)
                abort();
    table.DeleteAllEntries();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t step = 1 + data[0] % 37;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = input.find('\0');
    const std::string_view tableText = split == std::string_view::npos ? std::string_view() : input.substr(0, split);
    const std::string_view mergeText = split == std::string_view::npos ? input : input.substr(split + 1);
    for (int guideline = MergeReplaceTable; guideline <= MergeCaseByCase; ++guideline) {
        MergeOnce<CDevTypeEntry>(tableText, mergeText, guideline, step);
        MergeOnce<CKorvelEntry>(tableText, mergeText, guideline, step);
    }
    return 0;
}
