// CDevTypeDoc: the printer type table ("Printers.PAPTypes") of one printer
// type window. Its rows are those of the window's list; after every save
// that succeeded the stack is told that the printer types changed.
#pragma once

#include "tables/dev_type_entry.h"
#include "tables/table_document.h"

class CDevTypeDoc : public CTableDocumentT<CDevTypeEntry> {
    DECLARE_DYNCREATE(CDevTypeDoc)
public:
    void NotifyTableChanged() override;
};
