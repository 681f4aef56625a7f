#include "listing_printer.h"

#include <algorithm>

void CListingPrinter::Begin(HDC dc, int rows, BYTE outPrecision)
{
    End();
    // 10 points on the device. A fixed pitch steers the font mapper to a
    // face whose characters are all as wide, as the layout needs, whatever
    // answers for "CourierNew".
    const int height = (GetDeviceCaps(dc, LOGPIXELSY) * 10) / -72;
    m_hFont = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, outPrecision,
                          CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "CourierNew");
    HGDIOBJ old = SelectFont(dc);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    m_nLineHeight = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    SIZE ruler{};
    GetTextExtentPoint32A(dc, listing::kPrintRuler, listing::kPrintLineChars, &ruler);
    m_nTextWidth = ruler.cx;
    SelectObject(dc, old);

    m_nRows = rows;
    m_nLinesPerPage = listing::LinesPerPage(GetDeviceCaps(dc, VERTRES), m_nLineHeight);
    m_nLeftMargin = (GetDeviceCaps(dc, HORZRES) - m_nTextWidth) / 2;
}

void CListingPrinter::End()
{
    if (m_hFont != nullptr)
        DeleteObject(m_hFont);
    m_hFont = nullptr;
}

void CListingPrinter::DrawHeader(HDC dc, const std::string& header) const
{
    TextOutA(dc, m_nLeftMargin, 2 * m_nLineHeight, header.c_str(), static_cast<int>(header.size()));
    const int ruleY = 2 * m_nLineHeight + (3 * m_nLineHeight) / 2;
    MoveToEx(dc, m_nLeftMargin, ruleY, nullptr);
    LineTo(dc, m_nLeftMargin + m_nTextWidth, ruleY);
}

void CListingPrinter::DrawRow(HDC dc, int line, const std::string& text) const
{
    TextOutA(dc, m_nLeftMargin, (line + 5) * m_nLineHeight, text.c_str(), static_cast<int>(text.size()));
}
