#include "fx/controls.h"

#include "fx/callback_cast.h"

#include <vector>

CString CListBox::GetText(int index) const
{
    LRESULT n = SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (n == LB_ERR)
        return {};
    std::vector<char> text(static_cast<size_t>(n) + 1, '\0');
    SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return CString(text.data());
}

CString CComboBox::GetLBText(int index) const
{
    LRESULT n = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (n == CB_ERR)
        return {};
    std::vector<char> text(static_cast<size_t>(n) + 1, '\0');
    SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return CString(text.data());
}

int CListCtrl::InsertColumn(int index, const char* heading, int format, int width)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(heading);
    column.iSubItem = index;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int index, const char* text, LPARAM data)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(text);
    item.lParam = data;
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int item, int column, const char* text)
{
    LVITEMA lv{};
    lv.iSubItem = column;
    lv.pszText = const_cast<char*>(text);
    return SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)) != 0;
}

CString CListCtrl::GetItemText(int item, int column) const
{
    std::vector<char> text(1024, '\0');
    LVITEMA lv{};
    lv.iSubItem = column;
    lv.pszText = text.data();
    lv.cchTextMax = static_cast<int>(text.size());
    SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
    return CString(text.data());
}

LPARAM CListCtrl::GetItemData(int item) const
{
    LVITEMA lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    return SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv)) ? lv.lParam : 0;
}

BOOL CListCtrl::SetItemData(int item, LPARAM data)
{
    LVITEMA lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    lv.lParam = data;
    return SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lv)) != 0;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMA lv{};
    lv.state = state;
    lv.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)) != 0;
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, LPARAM data)
{
    return SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(data), FxCompareParam(compare)) != 0;
}
