// The lookup window's printing: the listing in 10-point CourierNew, 81
// characters to the line, centred on the page under a header with the zone
// and the page number. Print and Print Preview draw the same pages.
#include <windows.h>

#include <algorithm>

#include "util/network/lookup_item.h"
#include "util/network/lookup_view.h"
#include "util/resource.h"

BOOL CVestrelLookupView::OnPreparePrinting(CPrintInfo* info)
{
    return DoPreparePrinting(info);
}

void CVestrelLookupView::OnBeginPrinting(CDC* dc, CPrintInfo* info)
{
    HDC h = dc->m_hDC;
    const int pixelsPerInch = GetDeviceCaps(h, LOGPIXELSY);
    m_hPrinterFont = CreateFontA(-(pixelsPerInch * 10 / 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY,
                                 FIXED_PITCH | FF_MODERN, "CourierNew");

    m_nItemCount = m_list.GetItemCount();
    m_columns = {};
    for (int i = 0; i < m_nItemCount; ++i) {
        if (const LookupItem* item = ItemAt(i)) {
            m_columns.nameWidth = std::max(m_columns.nameWidth, static_cast<int>(item->m_strName.size()));
            m_columns.typeWidth = std::max(m_columns.typeWidth, static_cast<int>(item->m_strType.size()));
        }
    }
    m_columns.Adjust();

    HGDIOBJ old = SelectObject(h, m_hPrinterFont);
    TEXTMETRICA metrics{};
    GetTextMetricsA(h, &metrics);
    m_nLineHeight = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    SIZE ruler{};
    GetTextExtentPoint32A(h, kPrintRuler, kPrintLineChars, &ruler);
    m_nTextWidth = ruler.cx;
    SelectObject(h, old);

    m_nLinesPerPage = LinesPerPage(GetDeviceCaps(h, VERTRES), m_nLineHeight);
    info->m_nMaxPage = static_cast<UINT>(PageCount(m_nItemCount, m_nLinesPerPage));
    m_nLeftMargin = (GetDeviceCaps(h, HORZRES) - m_nTextWidth) / 2;
    if (m_strPageFormat.IsEmpty())
        m_strPageFormat = FxLoadString(IDS_PAGE_FORMAT);
}

void CVestrelLookupView::OnPrint(CDC* dc, CPrintInfo* info)
{
    HDC h = dc->m_hDC;
    HGDIOBJ old = SelectObject(h, m_hPrinterFont);
    const int page = static_cast<int>(info->m_nCurPage);

    char pageText[64];
    wsprintfA(pageText, m_strPageFormat.c_str(), page);
    const int selected = m_zoneCombo.GetCurSel();
    const std::string header = PrintHeader(selected >= 0 ? m_zoneCombo.GetLBText(selected) : CString(), pageText);
    TextOutA(h, m_nLeftMargin, 2 * m_nLineHeight, header.c_str(), static_cast<int>(header.size()));
    const int ruleY = 2 * m_nLineHeight + (3 * m_nLineHeight) / 2;
    MoveToEx(h, m_nLeftMargin, ruleY, nullptr);
    LineTo(h, m_nLeftMargin + m_nTextWidth, ruleY);

    const PageItems items = ItemsOfPage(page, m_nLinesPerPage, m_nItemCount);
    for (int i = items.first; i <= items.last; ++i) {
        const LookupItem* item = ItemAt(i);
        if (item == nullptr)
            continue;
        const std::string line = PrintItemLine(m_columns, item->m_strName, item->m_strType, item->m_strAddress);
        TextOutA(h, m_nLeftMargin, (i - items.first + 5) * m_nLineHeight, line.c_str(), static_cast<int>(line.size()));
    }
    SelectObject(h, old);
}

void CVestrelLookupView::OnEndPrinting(CDC*, CPrintInfo*)
{
    if (m_hPrinterFont != nullptr)
        DeleteObject(m_hPrinterFont);
    m_hPrinterFont = nullptr;
}
