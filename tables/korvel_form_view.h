// CKorvelFormView: the extension map's form (template 130) on the shared
// table form: PC Extension (filtered by CExtensionEdit), Type, Creator and
// Remark, all but the remark required. The program's view derives from it
// and supplies the document's rows and the initial load (which falls back
// to the built-in map).
#pragma once

#include "korvel_entry.h"
#include "list_ctrl_rows.h"
#include "extension_edit.h"
#include "table_contents.h"
#include "table_form_view.h"

class CKorvelFormView : public CTableFormView {
    DECLARE_DYNAMIC(CKorvelFormView)
public:
    CKorvelFormView();

    void OnInitialUpdate() override;
    CKorvelEntry* EntryAt(int row) const { return m_rows.GetItemEntry(row); }

    CExtensionEdit m_extensionEdit;

protected:
    // The document's table; null while there is none.
    virtual CTableContents<CKorvelEntry>* GetTableContents() const = 0;

    void AttachRows() override;
    void DetachRows() override;
    int FindKey(const std::string& key) const override;
    int AddRowFromFields() override;
    bool UpdateRowFromFields(int row, bool withKey) override;
    void FillFieldsFromRow(int row) override;
    bool DeleteRow(int row) override;
    std::string ColumnText(LPARAM entry, int column) const override;
    int CompareEntries(LPARAM a, LPARAM b, int column) const override;

    CListCtrlRows<CKorvelEntry> m_rows{m_listCtrl};
};
