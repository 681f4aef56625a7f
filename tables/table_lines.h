// Lines of a table file. Lines are written ending in CR LF; on reading a
// line ends at LF or at CR LF, and the end is not part of the line. A last
// line without an end is still a line; a file that ends in a line end has
// no empty line after it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

inline constexpr std::string_view kTableLineEnd = "\r\n";

// A line cut at its LF, without the CR of a CR LF end.
constexpr std::string_view WithoutCarriageReturn(std::string_view line)
{
    return !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
}

// Walks the lines of a whole file held in memory.
class TableLineReader {
public:
    explicit TableLineReader(std::string_view text) : m_text(text) {}

    // The next line, without its end; false when the text is used up.
    bool Next(std::string_view& line);

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Reads the lines of a file piece by piece, so that a file of any size is
// read with memory for its longest line only. A line longer than the limit
// ends the reading (no table line comes near it; a file without line ends,
// such as a program, does).
class TableLineStream {
public:
    // Fills `buffer` with up to `size` bytes; returns how many, 0 at the
    // end, a negative number when reading failed.
    using ReadFunction = std::function<long long(char* buffer, std::size_t size)>;

    static constexpr std::size_t kMaxLine = 64 * 1024;

    enum class State { Reading, End, LineTooLong, ReadFailed };

    explicit TableLineStream(ReadFunction read, std::size_t maxLine = kMaxLine);

    // The next line, without its end; false at the end of the file or when
    // reading stopped (GetState() says which). The line stays valid until
    // the next call.
    bool Next(std::string_view& line);
    State GetState() const { return m_state; }

private:
    ReadFunction m_read;
    std::size_t m_maxLine;
    std::string m_buffer;
    std::size_t m_pos = 0;  // where the next line starts in m_buffer
    bool m_atEnd = false;   // nothing more to read
    State m_state = State::Reading;

    bool Fill();
};
