// The page of a printed listing (the table windows, the lookup window):
// lines of 81 fixed-pitch characters under a header line that ends in the
// page number, as many lines to a page as fit below the header.
#pragma once

#include <string>

namespace listing {

// The characters of a printed line: the width of the ruler the page is
// measured with (the ruler itself is never printed).
constexpr int kPrintLineChars = 81;
extern const char kPrintRuler[];

// `text`, then spaces, then `pageText`, so that the page text ends at the
// 81st character; no spaces when the two make 81 or more already.
std::string PadPageHeader(const std::string& text, const std::string& pageText);

// Lines that fit a page: the printable height less seven lines for header
// and margins, at least 1.
int LinesPerPage(int printableHeight, int lineHeight);
// Pages for `items` at `linesPerPage`, at least 1.
int PageCount(int items, int linesPerPage);
// First and last item (0-based, inclusive) of `page` (1-based); last < first
// when the page holds none.
struct PageItems {
    int first;
    int last;
};
PageItems ItemsOfPage(int page, int linesPerPage, int items);

}  // namespace listing
