// Any bytes as one extension map line and as a whole extension map file.
#include <cstdint>
#include <cstdlib>

#include "fuzz_target.h"
#include "korvel_entry.h"
#include "round_trip_checks.h"
#include "table_text.h"

namespace {

void CheckParsedFields(std::string_view line)
{
    auto entry = CKorvelEntry::ParseLine(line);
    if (!entry)
        return;
    if (entry->m_strExtension.size() > CKorvelEntry::kMaxExtension ||
        entry->m_strExtension.find('=') != std::string::npos ||
        entry->m_strMacType.size() > CKorvelEntry::kMacCodeLength ||
        entry->m_strMacType.find('"') != std::string::npos ||
        entry->m_strMacCreator.size() > CKorvelEntry::kMacCodeLength ||
        entry->m_strMacCreator.find('"') != std::string::npos ||
        entry->m_strRemark.size() > CKorvelEntry::kMaxRemark)
        abort();
    if (!entry->m_strMacCreator.empty() && IsTableWhiteSpace(entry->m_strMacCreator[0]))
        abort();
}

// A creator of four spaces is read back empty (the creator loses leading
// white space), and written as four spaces again: the file stays the same.
bool Same(const CKorvelEntry& written, const CKorvelEntry& reread)
{
    if (written == reread)
        return true;
    CKorvelEntry blank = written;
    blank.m_strMacCreator.clear();
    return written.m_strMacCreator == "    " && blank == reread;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckParsedFields(input);
    roundtrip::CheckLine<CKorvelEntry>(input, Same);
    roundtrip::CheckFile<CKorvelEntry>(input, Same);
    return 0;
}
