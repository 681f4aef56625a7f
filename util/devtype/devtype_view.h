// CDevTypeView: the form of a printer type window (template 143). The
// PostScript check box stands for the flag: checked is "Y", cleared "N";
// it is never disabled and is cleared with the fields.
#pragma once

#include <memory>

#include "tables/list_ctrl_rows.h"
#include "tables/table_form_view.h"

class CDevTypeDoc;
class CDevTypeEntry;

class CDevTypeView : public CTableFormView {
    DECLARE_DYNCREATE(CDevTypeView)
public:
    CDevTypeView();

    CDevTypeDoc* GetDevTypeDoc() const;
    CDevTypeEntry* EntryAt(int row) const;

protected:
    void AttachRows() override;
    void DetachRows() override;
    void LoadInitialTable() override;
    int FindKey(const std::string& key) const override;
    int AddRowFromFields() override;
    bool UpdateRowFromFields(int row, bool withKey) override;
    void FillFieldsFromRow(int row) override;
    bool DeleteRow(int row) override;
    std::string ColumnText(LPARAM entry, int column) const override;
    int CompareEntries(LPARAM a, LPARAM b, int column) const override;
    void ClearExtraFields() override;
    void OnFrameFitted(CFrameWnd* frame) override;

private:
    CListCtrlRows<CDevTypeEntry> m_rows{m_listCtrl};
    const char* FlagFromBox() const;
};
