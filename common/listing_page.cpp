#include "listing_page.h"

#include <algorithm>

namespace listing {

const char kPrintRuler[] = "---------1---------2---------3---------4---------5---------6---------7---------8-";
static_assert(sizeof kPrintRuler - 1 == kPrintLineChars);

std::string PadPageHeader(const std::string& text, const std::string& pageText)
{
    std::string header = text;
    const std::size_t used = header.size() + pageText.size();
    if (used < kPrintLineChars)
        header.append(kPrintLineChars - used, ' ');
    return header + pageText;
}

int LinesPerPage(int printableHeight, int lineHeight)
{
    if (lineHeight <= 0)
        return 1;
    return std::max(1, (printableHeight - 7 * lineHeight) / lineHeight);
}

int PageCount(int items, int linesPerPage)
{
    linesPerPage = std::max(1, linesPerPage);
    return std::max(1, (items + linesPerPage - 1) / linesPerPage);
}

PageItems ItemsOfPage(int page, int linesPerPage, int items)
{
    const int first = linesPerPage * (page - 1);
    const int last = std::min(first + linesPerPage - 1, items - 1);
    return {first, last};
}

}  // namespace listing
