#include "table_print.h"

#include <algorithm>
#include <cstdio>

#include "dev_type_entry.h"
#include "korvel_entry.h"
#include "listing_page.h"

namespace {

constexpr std::size_t kLongestPathShown = 68;
// The key and remark columns share what the other columns leave of the
// 81 characters.
constexpr int kKeyAndRemark = 63;

int RemarkWidth(int keyWidth)
{
    return std::max(0, kKeyAndRemark - keyWidth);
}

// What snprintf wrote into `line` (keys are at most 32 characters and
// remarks 40, so a line fits many times over).
std::string Written(const char* line, int n, std::size_t size)
{
    if (n < 0)
        return {};
    return std::string(line, std::min(static_cast<std::size_t>(n), size - 1));
}

}  // namespace

std::string TablePageHeader(const std::string& pathName, const std::string& title, const std::string& pageText)
{
    return listing::PadPageHeader(pathName.size() > kLongestPathShown ? title : pathName, pageText);
}

std::string TablePrintLine(const CDevTypeEntry& entry, int keyWidth)
{
    const char* label = entry.IsPostScript() ? "PostScript    " : "NON-PostScript";
    const int remark = RemarkWidth(keyWidth);
    char line[512];
    const int n = std::snprintf(line, sizeof line, "%-*s  %-1s  %-*.*s", keyWidth, entry.m_strPrinterType.c_str(),
                                label, remark, remark, entry.m_strRemark.c_str());
    return Written(line, n, sizeof line);
}

std::string TablePrintLine(CKorvelEntry& entry, int keyWidth)
{
    entry.Normalize();
    const int remark = RemarkWidth(keyWidth);
    char line[512];
    const int n = std::snprintf(line, sizeof line, "%-*s  \"%-4s\"  \"%-4s\"  %-*.*s", keyWidth,
                                entry.m_strExtension.c_str(), entry.m_strMacType.c_str(),
                                entry.m_strMacCreator.c_str(), remark, remark, entry.m_strRemark.c_str());
    return Written(line, n, sizeof line);
}
