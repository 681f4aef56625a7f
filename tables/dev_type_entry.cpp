#include "dev_type_entry.h"

#include <utility>

#include "table_lines.h"
#include "table_text.h"

CDevTypeEntry::CDevTypeEntry(std::string printerType, std::string postScript, std::string remark)
    : m_strPrinterType(std::move(printerType)),
      m_strPostScript(std::move(postScript)),
      m_strRemark(std::move(remark))
{
}

std::unique_ptr<CDevTypeEntry> CDevTypeEntry::ParseLine(std::string_view line)
{
    const std::size_t open = line.find('"');
    if (open == std::string_view::npos)
        return nullptr;
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos)
        return nullptr;
    const std::size_t flag = line.find_first_of("YNyn", close + 1);
    if (flag == std::string_view::npos)
        return nullptr;
    const std::size_t semicolon = line.find(';', flag + 1);
    const std::string_view remark =
        semicolon == std::string_view::npos ? std::string_view() : line.substr(semicolon + 1);

    auto entry = std::make_unique<CDevTypeEntry>();
    entry->m_strPrinterType = CleanField(line.substr(open + 1, close - open - 1), kMaxPrinterType);
    entry->m_strPostScript.assign(1, line[flag]);
    entry->m_strRemark = CleanField(remark, kMaxRemark);
    return entry;
}

void CDevTypeEntry::Normalize()
{
    if (m_strPostScript.empty())
        m_strPostScript.assign(1, ' ');
    else if (m_strPostScript.size() > 1)
        m_strPostScript.resize(1);
}

void CDevTypeEntry::WriteLine(std::string& out)
{
    Normalize();
    out += '"';
    out += m_strPrinterType;
    out += "\" ";
    out += m_strPostScript;
    out += " ;";
    out += m_strRemark;
    out += kTableLineEnd;
}

bool CDevTypeEntry::IsPostScript() const
{
    return !m_strPostScript.empty() && (m_strPostScript[0] == 'Y' || m_strPostScript[0] == 'y');
}
