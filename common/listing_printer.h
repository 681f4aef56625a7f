// Prints a listing (listing_page.h) on a printer's or the preview's device
// context: a 10-point fixed-pitch "CourierNew", the 81-character lines
// centred on the page, the header at the second line with a rule under it,
// and the rows from the fifth line down. Print and Print Preview draw their
// pages with the same calls.
#pragma once

#include <windows.h>

#include <string>

#include "listing_page.h"

class CListingPrinter {
public:
    CListingPrinter() = default;
    ~CListingPrinter() { End(); }
    CListingPrinter(const CListingPrinter&) = delete;
    CListingPrinter& operator=(const CListingPrinter&) = delete;

    // Makes the font for `dc` (with the output precision each window asks
    // its font with) and measures the page for `rows` rows.
    void Begin(HDC dc, int rows, BYTE outPrecision);
    // Lets go of the font.
    void End();

    int GetPageCount() const { return listing::PageCount(m_nRows, m_nLinesPerPage); }
    listing::PageItems RowsOfPage(int page) const { return listing::ItemsOfPage(page, m_nLinesPerPage, m_nRows); }

    // Selects the font into `dc` for the drawing below; returns the font it
    // replaced, to be selected back.
    HGDIOBJ SelectFont(HDC dc) const { return SelectObject(dc, m_hFont); }
    // The header line and the rule beneath it.
    void DrawHeader(HDC dc, const std::string& header) const;
    // The row `line` lines below the first row of the page.
    void DrawRow(HDC dc, int line, const std::string& text) const;

    HFONT m_hFont = nullptr;
    int m_nRows = 0;
    int m_nLineHeight = 1;    // font height and external leading
    int m_nTextWidth = 0;     // the ruler's width in the font
    int m_nLeftMargin = 0;    // centres the text width on the page
    int m_nLinesPerPage = 1;
};
