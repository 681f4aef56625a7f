// CDevTypeDoc: the printer type table ("Printers.PAPTypes") of one printer
// type window. Its rows are those of the window's list; after every save
// that succeeded the stack is told that the printer types changed.
#pragma once

#include "tables/dev_type_entry.h"
#include "tables/table_contents.h"
#include "tables/table_document.h"

class CDevTypeDoc : public CTableDocument {
    DECLARE_DYNCREATE(CDevTypeDoc)
public:
    CTableContents<CDevTypeEntry> m_table;  // m_table.m_pListCtrl: the view's rows

    void DeleteAllEntries() override { m_table.DeleteAllEntries(); }
    void LoadTableText(std::string_view text) override { m_table.LoadText(text); }
    bool StoreTableText(std::string& text) override { return m_table.StoreText(text); }
    void NotifyTableChanged() override;
};
