// The table form's printing: the rows in the list's order, 81 characters a
// line, measured on the printer (or, for the preview, on the printer the
// preview stands for) when the job begins.
#include "fx/document.h"
#include "fx/fx_string.h"
#include "table_document.h"
#include "table_form_view.h"
#include "table_ids.h"

void CTableFormView::OnFilePrintDirect()
{
    m_bPrintDirect = true;
    OnFilePrint();
    m_bPrintDirect = false;
}

BOOL CTableFormView::OnPreparePrinting(CPrintInfo* info)
{
    if (m_bPrintDirect)
        info->m_bDirect = TRUE;
    return DoPreparePrinting(info);
}

void CTableFormView::OnBeginPrinting(CDC* dc, CPrintInfo* info)
{
    CTableStore* table = GetTableStore();
    m_nPrintKeyWidth = table != nullptr ? table->GetLongestKey() : 0;
    m_printer.Begin(dc->m_hDC, m_listCtrl.GetItemCount(), OUT_STRING_PRECIS);
    info->m_nMaxPage = static_cast<UINT>(m_printer.GetPageCount());
    if (m_strPageFormat.IsEmpty())
        m_strPageFormat = FxLoadString(IDS_TABLE_PAGE_FORMAT);
}

void CTableFormView::OnPrint(CDC* dc, CPrintInfo* info)
{
    CDocument* doc = GetDocument();
    CTableStore* table = GetTableStore();
    if (doc == nullptr || table == nullptr)
        return;
    const int page = static_cast<int>(info->m_nCurPage);
    char pageText[64];
    wsprintfA(pageText, m_strPageFormat.c_str(), page);
    HDC h = dc->m_hDC;
    HGDIOBJ old = m_printer.SelectFont(h);
    m_printer.DrawHeader(h, TablePageHeader(doc->GetPathName(), doc->GetTitle(), pageText));
    const listing::PageItems rows = m_printer.RowsOfPage(page);
    for (int row = rows.first; row <= rows.last; ++row)
        m_printer.DrawRow(h, row - rows.first, table->GetPrintLine(row, m_nPrintKeyWidth));
    SelectObject(h, old);
}

void CTableFormView::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_printer.End();
}
