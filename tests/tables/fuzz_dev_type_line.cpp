// Any bytes as one printer type line and as a whole printer type file.
#include <cstdint>
#include <cstdlib>

#include "dev_type_entry.h"
#include "fuzz_target.h"
#include "round_trip_checks.h"

namespace {

void CheckParsedFields(std::string_view line)
{
    auto entry = CDevTypeEntry::ParseLine(line);
    if (!entry)
        return;
    const std::string& flag = entry->m_strPostScript;
    if (flag.size() != 1 || std::string_view("YNyn").find(flag[0]) == std::string_view::npos)
        abort();
    if (entry->m_strPrinterType.size() > CDevTypeEntry::kMaxPrinterType ||
        entry->m_strPrinterType.find('"') != std::string::npos ||
        entry->m_strRemark.size() > CDevTypeEntry::kMaxRemark)
        abort();
}

bool Same(const CDevTypeEntry& written, const CDevTypeEntry& reread)
{
    return written == reread;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckParsedFields(input);
    roundtrip::CheckLine<CDevTypeEntry>(input, Same);
    roundtrip::CheckFile<CDevTypeEntry>(input, Same);
    return 0;
}
