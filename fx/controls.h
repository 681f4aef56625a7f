// Thin wrappers over the standard and common controls that dialogs, form
// views and property pages bind to with DDX_Control: each is a CWnd whose
// members forward to the control's messages.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "fx/wnd.h"

class CStatic : public CWnd {
public:
    void SetIcon(HICON icon) { SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)); }
};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};

class CEdit : public CWnd {
public:
    void LimitText(int chars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void SetReadOnly(BOOL readOnly = TRUE) { SendMessage(EM_SETREADONLY, static_cast<WPARAM>(readOnly)); }
    // Appends `text` at the end.
    void Append(const char* text)
    {
        int end = GetWindowTextLengthA(m_hWnd);
        SetSel(end, end);
        SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    }
};

class CListBox : public CWnd {
public:
    int AddString(const char* text) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index))); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    CString GetText(int index) const;
};

class CComboBox : public CWnd {
public:
    int AddString(const char* text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int FindStringExact(int start, const char* text) const
    {
        return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text)));
    }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    CString GetLBText(int index) const;
};

class CProgressCtrl : public CWnd {
public:
    void SetRange(int low, int high) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
    void SetPos(int pos) { SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos)); }
};

// The list-view control in report view: the table editors' rows.
class CListCtrl : public CWnd {
public:
    int InsertColumn(int index, const char* heading, int format = LVCFMT_LEFT, int width = 80);
    int InsertItem(int index, const char* text, LPARAM data = 0);
    BOOL SetItemText(int item, int column, const char* text);
    CString GetItemText(int item, int column) const;
    LPARAM GetItemData(int item) const;
    BOOL SetItemData(int item, LPARAM data);
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetNextItem(int start, int flags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), flags));
    }
    BOOL DeleteItem(int item) { return SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item)) != 0; }
    BOOL DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    BOOL SetItemState(int item, UINT state, UINT mask);
    void SetExtendedStyle(DWORD style) { SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)); }
    // Sorts the items: `compare` gets two items' data and `data`.
    BOOL SortItems(PFNLVCOMPARE compare, LPARAM data);
};
