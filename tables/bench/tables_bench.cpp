// Times loading (parsing) and storing (formatting) a table of a million
// rows in each line format, through the same code a document uses.
//
// Also times the same through a file: saving (formatting and writing) and
// loading (reading and parsing).
//
//   tables_bench [ROWS] [ROUNDS]     defaults: 1000000 rows, best of 3
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "dev_type_entry.h"
#include "korvel_entry.h"
#include "table_contents.h"
#include "table_file.h"

namespace {

using Clock = std::chrono::steady_clock;

// A printer type file of `rows` lines, varied in length like real ones.
std::string MakeDevTypeText(int rows)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(rows) * 48);
    for (int i = 0; i < rows; ++i) {
        text += "\"LaserWriter Model ";
        text += std::to_string(i);
        text += i % 3 == 0 ? "\" Y ;office printer, floor " : "\" n ;";
        text += std::to_string(i % 97);
        text += "\r\n";
    }
    return text;
}

// An extension map file of `rows` lines.
std::string MakeKorvelText(int rows)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(rows) * 44);
    for (int i = 0; i < rows; ++i) {
        text += "x";
        text += std::to_string(i);
        text += i % 2 == 0 ? "=\"TEXT\" \"ttxt\" ;SimpleText Document " : "=\"XLS\" \"XCEL\" ;Excel ";
        text += std::to_string(i % 89);
        text += "\r\n";
    }
    return text;
}

struct Timing {
    double parseSeconds = 1e9;
    double formatSeconds = 1e9;
    double saveSeconds = 1e9;
    double loadSeconds = 1e9;
    std::size_t bytes = 0;
};

double Seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

template <class Entry>
Timing TimeFormat(const std::string& text, int rows, int rounds, const std::string& path)
{
    Timing best;
    for (int round = 0; round < rounds; ++round) {
        CTableRowVector<Entry> list;
        list.Reserve(rows);
        CTableContents<Entry> table;
        table.m_pListCtrl = &list;

        const auto start = Clock::now();
        const TableLoadResult loaded = table.LoadText(text);
        const auto parsed = Clock::now();
        std::string out;
        table.StoreText(out);
        const auto formatted = Clock::now();
        const bool saved = SaveTableFile(table, path);
        const auto written = Clock::now();
        table.DeleteAllEntries();
        const auto cleared = Clock::now();
        const auto reloaded = LoadTableFile(table, path);
        const auto read = Clock::now();

        if (loaded.added != rows || loaded.malformed != 0 || !saved || !reloaded ||
            reloaded->added != rows) {
            std::fprintf(stderr, "tables_bench: rows lost (%d of %d loaded) or %s failed\n",
                         loaded.added, rows, path.c_str());
            std::exit(1);
        }
        best.parseSeconds = std::min(best.parseSeconds, Seconds(start, parsed));
        best.formatSeconds = std::min(best.formatSeconds, Seconds(parsed, formatted));
        best.saveSeconds = std::min(best.saveSeconds, Seconds(formatted, written));
        best.loadSeconds = std::min(best.loadSeconds, Seconds(cleared, read));
        best.bytes = out.size();
        table.DeleteAllEntries();
    }
    return best;
}

void Report(const char* name, int rows, const Timing& t)
{
    std::printf("| %s | %d | %.1f | %.3f | %.3f | %.3f | %.3f |\n", name, rows, t.bytes / 1e6,
                t.parseSeconds, t.formatSeconds, t.loadSeconds, t.saveSeconds);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    if (rows <= 0) {
        std::fprintf(stderr, "usage: tables_bench [ROWS] [ROUNDS]\n");
        return 2;
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / "vestrel_tables_bench.txt").string();
    std::printf("| Format | Lines | MB | Parse (s) | Format (s) | Load file (s) | Save file (s) |\n");
    std::printf("|--------|-------|----|-----------|------------|---------------|---------------|\n");
    Report("printer type", rows,
           TimeFormat<CDevTypeEntry>(MakeDevTypeText(rows), rows, rounds, path));
    Report("extension map", rows,
           TimeFormat<CKorvelEntry>(MakeKorvelText(rows), rows, rounds, path));
    std::remove(path.c_str());
    return 0;
}
