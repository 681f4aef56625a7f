#include "table_lines.h"

#include <utility>

bool TableLineReader::Next(std::string_view& line)
{
    if (m_pos >= m_text.size())
        return false;
    const std::size_t end = m_text.find('\n', m_pos);
    if (end == std::string_view::npos) {
        line = m_text.substr(m_pos);  // the last line, without an end
        m_pos = m_text.size();
    } else {
        line = WithoutCarriageReturn(m_text.substr(m_pos, end - m_pos));
        m_pos = end + 1;
    }
    return true;
}

TableLineStream::TableLineStream(ReadFunction read, std::size_t maxLine)
    : m_read(std::move(read)), m_maxLine(maxLine)
{
}

bool TableLineStream::Fill()
{
    // What was handed out already goes; the line being read moves to the front.
    m_buffer.erase(0, m_pos);
    m_pos = 0;
    char chunk[16384];
    const long long got = m_read(chunk, sizeof chunk);
    if (got < 0) {
        m_state = State::ReadFailed;
        return false;
    }
    if (got == 0)
        m_atEnd = true;
    else
        m_buffer.append(chunk, static_cast<std::size_t>(got));
    return true;
}

bool TableLineStream::Next(std::string_view& line)
{
    if (m_state != State::Reading)
        return false;
    std::size_t searched = m_pos;
    for (;;) {
        const std::size_t end = m_buffer.find('\n', searched);
        if (end != std::string::npos && end - m_pos <= m_maxLine) {
            line = WithoutCarriageReturn(std::string_view(m_buffer).substr(m_pos, end - m_pos));
            m_pos = end + 1;
            return true;
        }
        if (m_buffer.size() - m_pos > m_maxLine) {
            m_state = State::LineTooLong;
            return false;
        }
        if (m_atEnd) {
            if (m_pos >= m_buffer.size()) {
                m_state = State::End;
                return false;
            }
            line = std::string_view(m_buffer).substr(m_pos);  // the last line, without an end
            m_pos = m_buffer.size();
            return true;
        }
        searched = m_buffer.size() - m_pos;  // relative to the front after Fill
        if (!Fill())
            return false;
    }
}
