#include "volume_page.h"

#include <string>

#include "info_text.h"
#include "resource.h"

namespace {

// Volume sizes are unsigned 32-bit numbers: 3,000,000,000 bytes is a volume
// of 3,000,000,000 bytes, not a negative one.
std::string ByteCountText(long number)
{
    return GroupDigits(std::to_string(static_cast<uint32_t>(number)));
}

}  // namespace

CVolumePage::CVolumePage(HWND page, CVolumeInfoObj* record) : CNetPage(IDD_VOLUME_PAGE, page, record)
{
    SetDlgItemText(IDC_VOLUME_NAME, record->GetNameAt(0).c_str());
    SetDlgItemText(IDC_VOLUME_SHORT_NAME, record->GetNameAt(1).c_str());
    SetDlgItemText(IDC_BYTES_TOTAL, ByteCountText(record->GetNumberAt(1)).c_str());
    SetDlgItemText(IDC_BYTES_FREE, ByteCountText(record->GetNumberAt(0)).c_str());
    SetDlgItemText(IDC_CREATED_DATE, DateText(record->GetDateAt(2)).c_str());
    SetDlgItemText(IDC_BACKUP_DATE, DateText(record->GetDateAt(0)).c_str());
    SetDlgItemText(IDC_MODIFIED_DATE, DateText(record->GetDateAt(1)).c_str());
    SetCheck(IDC_READ_ONLY, record->m_wAttributes & NA_READONLY);
    SetCheck(IDC_HAS_PASSWORD, record->m_wAttributes & NA_HASPASSWORD);
    SetPageIcon();
}
