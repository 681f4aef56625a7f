// The row list of a table document as the list control of its form view:
// each row's item data is its record, and the list asks for the column
// texts (LPSTR_TEXTCALLBACK), so no text is copied into the control.
#pragma once

#include "fx/controls.h"
#include "table_rows.h"

template <class Entry>
class CListCtrlRows final : public CTableRows<Entry> {
public:
    explicit CListCtrlRows(CListCtrl& list) : m_list(list) {}

    int GetItemCount() const override { return m_list.GetItemCount(); }

    int InsertItem(int index, Entry* entry) override
    {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = LPSTR_TEXTCALLBACKA;
        item.lParam = reinterpret_cast<LPARAM>(entry);
        return static_cast<int>(m_list.SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }

    Entry* GetItemEntry(int index) const override
    {
        if (index < 0 || index >= GetItemCount())
            return nullptr;
        return reinterpret_cast<Entry*>(m_list.GetItemData(index));
    }

    bool DeleteItem(int index) override { return m_list.DeleteItem(index) != FALSE; }
    void DeleteAllItems() override { m_list.DeleteAllItems(); }
    void RedrawItems(int first, int last) override
    {
        m_list.SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(first), last);
    }
    void SetRedraw(bool on) override
    {
        m_list.SendMessage(WM_SETREDRAW, on ? TRUE : FALSE);
        if (on)
            m_list.Invalidate();
    }

private:
    CListCtrl& m_list;
};
