#include "util/network/select_zone_dlg.h"

#include <windows.h>

#include "fx/message_box.h"
#include "util/resource.h"

BEGIN_MESSAGE_MAP(CSelectZoneDlg, CDialog)
    ON_CONTROL(LBN_DBLCLK, IDC_SELECT_ZONE_LIST, OnListDoubleClick)
END_MESSAGE_MAP()

CSelectZoneDlg::CSelectZoneDlg(CWnd* parent) : CDialog(IDD_SELECT_ZONE, parent) {}

void CSelectZoneDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_SELECT_ZONE_LIST, m_list);
}

BOOL CSelectZoneDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.EnableWindow(FALSE);
    ::EnableWindow(GetDlgItem(IDOK), FALSE);

    m_nStatus = ZIPOpenEnum(&m_hZoneEnum, 1);
    if (m_nStatus != 0) {
        m_hZoneEnum = 0;
        return TRUE;  // only Cancel
    }
    while ((m_nStatus = ZIPEnumStatus(m_hZoneEnum)) == kATResultPending)
        Sleep(0);
    if (m_nStatus != 0) {
        FxMessageBox(m_hWnd, FxLoadString(IDS_NO_ZONES_FOUND).c_str(), FxLoadString(IDS_NO_ZONES_CAPTION).c_str(),
                     MB_OK | MB_ICONERROR);
        EndZoneRequest();
        return TRUE;
    }
    m_list.ResetContent();
    m_nCount = ZIPZoneCount(m_hZoneEnum);
    for (uint16_t i = 0; i < m_nCount; ++i) {
        char zone[kATZoneNameSize] = "";
        if (ZIPReadEnum(m_hZoneEnum, i, zone) == 0)
            m_list.AddString(zone);
    }
    EndZoneRequest();
    if (ZIPGetMyZone(m_zoneName) == 0)
        m_list.SendMessage(LB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(m_zoneName));
    if (m_nCount > 1)
        m_list.EnableWindow(TRUE);
    ::EnableWindow(GetDlgItem(IDOK), TRUE);
    return TRUE;
}

void CSelectZoneDlg::EndZoneRequest()
{
    if (m_hZoneEnum != 0)
        ZIPCloseEnum(m_hZoneEnum);
    m_hZoneEnum = 0;
}

void CSelectZoneDlg::OnOK()
{
    if (m_nStatus == 0 && m_nCount > 0) {
        const int selected = m_list.GetCurSel();
        if (selected < 0)
            return;  // stays open
        const CString text = m_list.GetText(selected);
        lstrcpynA(m_zoneName, text.c_str(), sizeof m_zoneName);
        if (m_zoneName[0] != '\0')
            m_bSelected = TRUE;
    }
    EndDialog(IDOK);
}

bool CSelectZoneDlg::GetSelectedZone(char* zone) const
{
    if (!m_bSelected || zone == nullptr)
        return false;
    lstrcpynA(zone, m_zoneName, kATZoneNameSize);
    return true;
}
