// "VSXPrintExt": the extension for Windows printers whose port is an
// AppleTalk printer ("PrinterFriendlyName").
#pragma once

#include "shell_ext.h"

class CVSXPrinterExt : public CVSXShellExt {
    DECLARE_DYNCREATE(CVSXPrinterExt)
public:
    CVSXPrinterExt();

    UINT m_cfPrinterName;   // the registered clipboard format "PrinterFriendlyName"
    CString m_strPort;      // the printer's port: an AppleTalk printer's network name
    CString m_strPrinter;   // the printer's (friendly) name

protected:
    HRESULT ReadSelection(IDataObject* data) override;
    void ChoosePages(PageAdder& pages) override;
};
