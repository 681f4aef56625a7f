// Reading a merge file piece by piece: lines split across reads, the line
// ends a table file may hold, and the two ways reading stops early.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "table_lines.h"

namespace {

// A stream over `text` that hands out at most `step` bytes a read, then
// fails once `failAt` bytes are out (never when failAt is npos).
TableLineStream StreamOf(const std::string& text, std::size_t step, std::size_t maxLine = TableLineStream::kMaxLine,
                         std::size_t failAt = std::string::npos)
{
    auto pos = std::make_shared<std::size_t>(0);
    return TableLineStream(
        [text, step, failAt, pos](char* buffer, std::size_t size) -> long long {
            if (*pos >= failAt)
                return -1;
            const std::size_t n = std::min({size, step, text.size() - *pos});
            std::memcpy(buffer, text.data() + *pos, n);
            *pos += n;
            return static_cast<long long>(n);
        },
        maxLine);
}

std::vector<std::string> AllLines(TableLineStream& stream)
{
    std::vector<std::string> lines;
    std::string_view line;
    while (stream.Next(line))
        lines.emplace_back(line);
    return lines;
}

}  // namespace

TEST(TableLineStream, ReadsTheLinesTheInMemoryReaderReadsWhateverTheReadSizes)
{
    // LF, CR LF, CR CR LF, an empty line, a lone CR inside, a last line
    // without an end (its CR stays: only CR LF is a line end).
    const std::string text = "a\nbb\r\nccc\r\r\n\r\nd\re\nlast\r";
    std::vector<std::string> expected;
    TableLineReader reader(text);
    for (std::string_view line; reader.Next(line);)
        expected.emplace_back(line);
    ASSERT_EQ(expected, (std::vector<std::string>{"a", "bb", "ccc\r", "", "d\re", "last\r"}));
    for (std::size_t step : {1u, 2u, 3u, 5u, 64u}) {
        TableLineStream stream = StreamOf(text, step);
        EXPECT_EQ(AllLines(stream), expected) << "reads of " << step;
        EXPECT_EQ(stream.GetState(), TableLineStream::State::End);
    }
}

TEST(TableLineStream, EmptyFileHasNoLinesAndAFinalLineEndAddsNone)
{
    TableLineStream empty = StreamOf("", 4);
    EXPECT_TRUE(AllLines(empty).empty());
    EXPECT_EQ(empty.GetState(), TableLineStream::State::End);
    TableLineStream one = StreamOf("x\r\n", 1);
    EXPECT_EQ(AllLines(one), std::vector<std::string>{"x"});
}

TEST(TableLineStream, ALineLongerThanTheLimitStopsTheReading)
{
    // Lines up to the limit pass, with or without their end.
    TableLineStream fits = StreamOf("1234\r\nabcd", 3, 5);
    EXPECT_EQ(AllLines(fits), (std::vector<std::string>{"1234", "abcd"}));
    EXPECT_EQ(fits.GetState(), TableLineStream::State::End);

    TableLineStream tooLong = StreamOf("ok\n123456\nnever\n", 2, 5);
    EXPECT_EQ(AllLines(tooLong), std::vector<std::string>{"ok"});
    EXPECT_EQ(tooLong.GetState(), TableLineStream::State::LineTooLong);
    // A file without any line end, such as a program, stops at the limit
    // rather than being read whole.
    TableLineStream binary = StreamOf(std::string(1 << 20, 'x'), 4096, 1000);
    EXPECT_TRUE(AllLines(binary).empty());
    EXPECT_EQ(binary.GetState(), TableLineStream::State::LineTooLong);
}

TEST(TableLineStream, AReadFailureStopsTheReadingAndSaysSo)
{
    TableLineStream stream = StreamOf("one\ntwo\nthree\n", 4, TableLineStream::kMaxLine, 8);
    EXPECT_EQ(AllLines(stream), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(stream.GetState(), TableLineStream::State::ReadFailed);
    std::string_view line;
    EXPECT_FALSE(stream.Next(line));  // and stays stopped
}
