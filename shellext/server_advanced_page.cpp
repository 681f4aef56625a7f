#include "server_advanced_page.h"

#include "resource.h"

CServerAdvancedPage::CServerAdvancedPage(HWND page, CServerInfoObj* record)
    : CNetPage(IDD_SERVER_ADVANCED_PAGE, page, record)
{
    FillList(IDC_AFP_VERSIONS, record->m_afpVersions);
    FillList(IDC_UAMS, record->m_uams);

    // "Y" or "N" for the volume's password, then its name.
    std::vector<CString> volumes;
    if (record->GetDateAt(1)) {
        for (size_t i = 0; i < record->m_volumes.size(); ++i) {
            const bool password = i < record->m_volumeHasPassword.size() && record->m_volumeHasPassword[i];
            CString item;
            item.Format("%c       %s", password ? 'Y' : 'N', record->m_volumes[i].c_str());
            volumes.push_back(item);
        }
    } else {
        volumes.push_back(FxLoadString(IDS_NOT_CONNECTED));
    }
    FillList(IDC_SERVER_VOLUMES, volumes);

    SetCheck(IDC_SUPPORTS_TCPIP, record->m_wAttributes & NA_TCPIP);
    SetCheck(IDC_ALLOWS_CHANGE_PWD, record->m_wAttributes & NA_ALLOWSCHANGEPWD);
}

void CServerAdvancedPage::FillList(int id, const std::vector<CString>& items)
{
    HWND list = GetDlgItem(id);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const CString& item : items)
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}
