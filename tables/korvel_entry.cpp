#include "korvel_entry.h"

#include <utility>

#include "table_lines.h"
#include "table_text.h"

namespace {

// The text between the first double quote at or after `from` and the next
// one; `next` becomes the position after the closing quote. False when
// either quote is missing.
bool FindQuoted(std::string_view line, std::size_t from, std::string_view& text, std::size_t& next)
{
    const std::size_t open = line.find('"', from);
    if (open == std::string_view::npos)
        return false;
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos)
        return false;
    text = line.substr(open + 1, close - open - 1);
    next = close + 1;
    return true;
}

void FitMacCode(std::string& code)
{
    code.resize(CKorvelEntry::kMacCodeLength, ' ');
}

}  // namespace

CKorvelEntry::CKorvelEntry(std::string extension, std::string macType, std::string macCreator,
                           std::string remark)
    : m_strExtension(std::move(extension)),
      m_strMacType(std::move(macType)),
      m_strMacCreator(std::move(macCreator)),
      m_strRemark(std::move(remark))
{
}

std::unique_ptr<CKorvelEntry> CKorvelEntry::ParseLine(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return nullptr;
    std::string_view type;
    std::string_view creator;
    std::size_t next = 0;
    if (!FindQuoted(line, equals + 1, type, next) || !FindQuoted(line, next, creator, next))
        return nullptr;
    const std::size_t semicolon = line.find(';', next);
    const std::string_view remark =
        semicolon == std::string_view::npos ? std::string_view() : line.substr(semicolon + 1);

    auto entry = std::make_unique<CKorvelEntry>();
    entry->m_strExtension = CleanField(line.substr(0, equals), kMaxExtension);
    entry->m_strMacType = CutText(type, kMacCodeLength);
    entry->m_strMacCreator = CutText(TrimLeadingWhiteSpace(creator), kMacCodeLength);
    entry->m_strRemark = CleanField(remark, kMaxRemark);
    return entry;
}

void CKorvelEntry::Normalize()
{
    FitMacCode(m_strMacType);
    FitMacCode(m_strMacCreator);
}

void CKorvelEntry::WriteLine(std::string& out)
{
    Normalize();
    out += m_strExtension;
    out += "=\"";
    out += m_strMacType;
    out += "\" \"";
    out += m_strMacCreator;
    out += "\" ;";
    out += m_strRemark;
    out += kTableLineEnd;
}
