#include "printer_ext.h"

#include "molven32.h"
#include "printer_info.h"
#include "resource.h"
#include "selection.h"

IMPLEMENT_DYNCREATE(CVSXPrinterExt, CVSXShellExt)

CVSXPrinterExt::CVSXPrinterExt() : m_cfPrinterName(RegisterClipboardFormatA("PrinterFriendlyName")) {}

HRESULT CVSXPrinterExt::ReadSelection(IDataObject* data)
{
    HRESULT hr = S_OK;
    const UINT count = ReadDroppedNames(data, m_cfPrinterName, hr);
    if (FAILED(hr))
        return hr;
    if (count == 0 || !FindPrinterPort(m_strName.c_str(), m_strPort, m_strPrinter))
        return E_FAIL;
    if ((AFPGetNameBitmap(m_strPort.c_str()) & NETOBJ_PRINTER) == 0)
        return E_FAIL;
    // Kept whether or not the port parses: the page then shows empty names.
    DeleteRecord();
    m_pRecord = new CPrinterInfoObj(m_strPort.c_str(), m_strPrinter.c_str());
    return S_OK;
}

void CVSXPrinterExt::ChoosePages(PageAdder& pages)
{
    if (m_pRecord->m_nKind == NETOBJ_PRINTER)
        pages.AddFirst(IDD_PRINTER_PAGE);
}
