// The lookup window's printing: a listing page (common/listing_printer.h)
// under a header with the zone and the page number, one device a line.
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
    const int items = m_list.GetItemCount();
    m_columns = {};
    for (int i = 0; i < items; ++i) {
        if (const LookupItem* item = ItemAt(i)) {
            m_columns.nameWidth = std::max(m_columns.nameWidth, static_cast<int>(item->m_strName.size()));
            m_columns.typeWidth = std::max(m_columns.typeWidth, static_cast<int>(item->m_strType.size()));
        }
    }
    m_columns.Adjust();
    m_printer.Begin(dc->m_hDC, items, OUT_CHARACTER_PRECIS);
    info->m_nMaxPage = static_cast<UINT>(m_printer.GetPageCount());
    if (m_strPageFormat.IsEmpty())
        m_strPageFormat = FxLoadString(IDS_PAGE_FORMAT);
}

void CVestrelLookupView::OnPrint(CDC* dc, CPrintInfo* info)
{
    HDC h = dc->m_hDC;
    const int page = static_cast<int>(info->m_nCurPage);
    char pageText[64];
    wsprintfA(pageText, m_strPageFormat.c_str(), page);
    const int selected = m_zoneCombo.GetCurSel();
    HGDIOBJ old = m_printer.SelectFont(h);
    m_printer.DrawHeader(h, PrintHeader(selected >= 0 ? m_zoneCombo.GetLBText(selected) : CString(), pageText));
    const listing::PageItems items = m_printer.RowsOfPage(page);
    for (int i = items.first; i <= items.last; ++i) {
        if (const LookupItem* item = ItemAt(i))
            m_printer.DrawRow(h, i - items.first,
                              PrintItemLine(m_columns, item->m_strName, item->m_strType, item->m_strAddress));
    }
    SelectObject(h, old);
}

void CVestrelLookupView::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_printer.End();
}
