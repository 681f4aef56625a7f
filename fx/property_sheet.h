// Property sheets: CPropertySheet over the common control's PropertySheetA,
// CPropertyPage a dialog page of it. A page exchanges its data when it is
// left (PSN_KILLACTIVE) and commits at PSN_APPLY; the page object belongs to
// its owner, and the page's release callback tells it when the system is
// done with the page. Help (F1 anywhere in the sheet, or its Help button)
// reaches the current page as the command ID_HELP of the page's table.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "fx/dialog.h"

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
    DECLARE_MESSAGE_MAP()
public:
    explicit CPropertyPage(UINT templateId);

    PROPSHEETPAGEA m_psp{};
    int m_nReleaseCount = 0;  // times the system released the page

    // Called when the page becomes current; FALSE refuses it.
    virtual BOOL OnSetActive() { return TRUE; }
    // Called when the user leaves the page; FALSE keeps the user there.
    virtual BOOL OnKillActive() { return UpdateData(TRUE); }
    // Commits the page (OK or Apply); FALSE when it cannot.
    virtual BOOL OnApply() { return TRUE; }
    virtual void OnReset() {}
    // The system no longer uses the page (PSPCB_RELEASE).
    virtual void OnRelease() {}
    // Enables the sheet's Apply button.
    void SetModified(BOOL changed = TRUE);

    // Runs the page's ID_HELP handler; FALSE when the page has none.
    BOOL OnHelpRequest();

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // A page is ended by its sheet, not by its own OK and Cancel.
    void OnOK() override {}
    void OnCancel() override {}

protected:
    LRESULT OnHelpMessage(WPARAM, LPARAM);

private:
    static INT_PTR CALLBACK PageDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static UINT CALLBACK PageCallback(HWND hwnd, UINT message, PROPSHEETPAGEA* page);
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(const char* caption, CWnd* parent = nullptr);

    void AddPage(CPropertyPage* page) { m_pages.push_back(page); }
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const { return m_pages[static_cast<size_t>(index)]; }

    // Runs the sheet modally: IDOK when it was closed with OK (or changes
    // were applied), IDCANCEL otherwise.
    INT_PTR DoModal();
    // Shows the sheet modeless; the owner ends it with DestroyWindow once
    // IsDone says OK or Cancel was pressed.
    BOOL Create(CWnd* parent = nullptr);
    BOOL IsDone() const;
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CString m_strCaption;

protected:
    // A modal sheet's window runs through this object only for F1 on the
    // sheet's own buttons and tabs (the help of the current page); the
    // system's sheet handles everything else.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);
    CWnd* m_pParentWnd;
    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEA> m_built;
    PROPSHEETHEADERA BuildHeader(DWORD flags, HWND owner);
};
