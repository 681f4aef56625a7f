// Lines of a table file. Lines are written ending in CR LF; on reading a
// line ends at LF or at CR LF, and the end is not part of the line. A last
// line without an end is still a line; a file that ends in a line end has
// no empty line after it.
#pragma once

#include <cstddef>
#include <string_view>

inline constexpr std::string_view kTableLineEnd = "\r\n";

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
