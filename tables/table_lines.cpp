#include "table_lines.h"

bool TableLineReader::Next(std::string_view& line)
{
    if (m_pos >= m_text.size())
        return false;
    std::size_t end = m_text.find('\n', m_pos);
    std::size_t after = end + 1;
    if (end == std::string_view::npos) {
        end = m_text.size();
        after = end;
    } else if (end > m_pos && m_text[end - 1] == '\r') {
        --end;  // CR LF: the CR belongs to the line end
    }
    line = m_text.substr(m_pos, end - m_pos);
    m_pos = after;
    return true;
}
