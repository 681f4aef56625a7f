#include "folder_page.h"

#include "molven32.h"
#include "resource.h"

namespace {

// The check boxes of one row of the access grid: see folders, see files,
// make changes; rows in the order of the rights bytes.
struct AccessRow {
    int seeFolders, seeFiles, makeChanges;
};
constexpr AccessRow kAccessRows[4] = {
    {IDC_USER_SEE_FOLDERS, IDC_USER_SEE_FILES, IDC_USER_MAKE_CHANGES},
    {IDC_EVERYONE_SEE_FOLDERS, IDC_EVERYONE_SEE_FILES, IDC_EVERYONE_MAKE_CHANGES},
    {IDC_GROUP_SEE_FOLDERS, IDC_GROUP_SEE_FILES, IDC_GROUP_MAKE_CHANGES},
    {IDC_OWNER_SEE_FOLDERS, IDC_OWNER_SEE_FILES, IDC_OWNER_MAKE_CHANGES},
};

}  // namespace

CFolderPage::CFolderPage(HWND page, CDirectoryInfoObj* record) : CNetPage(IDD_FOLDER_PAGE, page, record)
{
    SetDlgItemText(IDC_DIRECTORY_NAME, record->GetNameAt(0).c_str());
    if (record->m_bVolumeRoot) {
        for (int id : {IDC_MODIFIED_DATE_LABEL, IDC_BACKUP_DATE_LABEL, IDC_SYSTEM, IDC_RENAME_INHIBIT,
                       IDC_DELETE_INHIBIT, IDC_FOLDER_SEPARATOR, IDC_DIRECTORY_SHORT_NAME})
            ShowItem(id, false);
        SetDlgItemText(IDC_MODIFIED_DATE, "");
        SetDlgItemText(IDC_BACKUP_DATE, "");
    } else {
        SetDlgItemText(IDC_DIRECTORY_SHORT_NAME, record->GetNameAt(1).c_str());
        const uint16_t flags = record->m_wAttributes;
        SetCheck(IDC_SYSTEM, flags & NA_SYSTEM);
        SetCheck(IDC_RENAME_INHIBIT, flags & NA_RENAMEINHIBIT);
        SetCheck(IDC_DELETE_INHIBIT, flags & NA_DELETEINHIBIT);
        SetDlgItemText(IDC_BACKUP_DATE, DateText(record->GetDateAt(0)).c_str());
        SetDlgItemText(IDC_MODIFIED_DATE, DateText(record->GetDateAt(1)).c_str());
    }

    // A missing rights number is -1: every box set.
    ShowAccessGrid(static_cast<DWORD>(record->GetNumberAt(0)));

    SetDlgItemText(IDC_OWNER_NAME, OwnerText(kAFPMapUser, record->GetNumberAt(1), IDS_OWNER_ID).c_str());
    SetDlgItemText(IDC_GROUP_NAME, OwnerText(kAFPMapGroup, record->GetNumberAt(2), IDS_GROUP_ID).c_str());
    SetPageIcon();
}

void CFolderPage::ShowAccessGrid(DWORD rights)
{
    for (int row = 0; row < 4; ++row) {
        const DWORD bits = (rights >> (8 * row)) & 0xFF;
        SetCheck(kAccessRows[row].seeFolders, bits & 0x1);
        SetCheck(kAccessRows[row].seeFiles, bits & 0x2);
        SetCheck(kAccessRows[row].makeChanges, bits & 0x4);
    }
}

CString CFolderPage::OwnerText(int32_t function, long id, UINT idFormat) const
{
    char name[36] = "";
    const auto mapRef = static_cast<uint32_t>(m_pRecord->GetNumberAt(3));
    const int32_t result = AFPMapID(mapRef, function, static_cast<int32_t>(id), name);
    name[sizeof name - 1] = '\0';
    if (result == 0)
        return CString(name);
    if (result == kAFPItemNotFound || result == kAFPParamErr) {
        CString text;
        const CString format = FxLoadString(idFormat);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        text.Format(format.c_str(), id);
#pragma GCC diagnostic pop
        return text;
    }
    return CString();
}
