// What every page object of the extension shares: it is made over the page
// window the property sheet created (on WM_INITDIALOG), routes that
// window's messages through its message map, reads the record it shows
// (which it does not own), and removes the sheet's context-help button
// while it is the current page.
#pragma once

#include <optional>

#include "fx/property_sheet.h"
#include "net_info.h"

class CNetPage : public CPropertyPage {
public:
    CNetPage(UINT templateId, HWND page, CNetInfoObj* record);
    ~CNetPage() override;

    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    // Page objects alive in this module.
    static LONG LiveCount();

protected:
    CNetInfoObj* m_pRecord;

    void SetCheck(int id, bool on);
    void ShowItem(int id, bool show);
    // The shell's icon for the record's path into control 1059.
    void SetPageIcon();
    // Texts in the string table's formats.
    CString DateText(std::optional<int32_t> seconds) const;
    CString NumberText(long number) const;

private:
    HICON m_hIcon = nullptr;
};

// Takes the sheet's context-help button (WS_EX_CONTEXTHELP) away or gives it
// back, and redraws the sheet's frame. `page` is a page window of the sheet.
void ShowSheetContextHelp(HWND page, bool show);
