#include "file_page.h"

#include "resource.h"

CFilePage::CFilePage(HWND page, CFileInfoObj* record) : CNetPage(IDD_FILE_PAGE, page, record)
{
    SetDlgItemText(IDC_FILE_NAME, record->GetNameAt(0).c_str());
    SetDlgItemText(IDC_FILE_SHORT_NAME, record->GetNameAt(1).c_str());
    // Type and creator are the first and second four characters of the
    // Finder text (shorter when it is).
    const CString finder = record->GetNameAt(2);
    SetDlgItemText(IDC_FILE_TYPE, finder.substr(0, 4).c_str());
    SetDlgItemText(IDC_FILE_CREATOR, finder.size() > 4 ? finder.substr(4, 4).c_str() : "");

    const uint16_t flags = record->m_wAttributes;
    SetCheck(IDC_SYSTEM, flags & NA_SYSTEM);
    SetCheck(IDC_READ_ONLY, flags & NA_READONLY);
    SetCheck(IDC_RENAME_INHIBIT, flags & NA_RENAMEINHIBIT);
    SetCheck(IDC_DELETE_INHIBIT, flags & NA_DELETEINHIBIT);
    SetCheck(IDC_COPY_PROTECT, flags & NA_COPYPROTECT);

    SetDlgItemText(IDC_BACKUP_DATE, DateText(record->GetDateAt(0)).c_str());
    SetDlgItemText(IDC_DATA_FORK_LENGTH, NumberText(record->GetNumberAt(0)).c_str());
    SetDlgItemText(IDC_RESOURCE_FORK_LENGTH, NumberText(record->GetNumberAt(1)).c_str());

    SetPageIcon();
    ShowSheetContextHelp(m_hWnd, false);
}
