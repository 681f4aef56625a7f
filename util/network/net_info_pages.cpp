#include "util/network/net_info_pages.h"

#include <windows.h>

#include <cstring>

#include "fx/message_box.h"
#include "fx/win_app.h"
#include "util/network/netinfo_request.h"
#include "util/network/netinfo_text.h"
#include "util/network/select_zone_dlg.h"
#include "util/resource.h"

namespace {
// Fixed texts of the sheet (not in the string table).
const char kCannotReadNetInfo[] = "Could not access Kestra32.DLL";
const char kCannotChangeZone[] = "Could not change AppleTalk current zone";
// Posted to the General page after an apply the stack refused.
const UINT WM_STILL_MODIFIED = WM_APP + 1;
}  // namespace

// --- both pages -------------------------------------------------------------

BEGIN_MESSAGE_MAP(CNetInfoPage, CPropertyPage)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

bool CNetInfoPage::ReadNetInfo(ATNetInfoBlock& info)
{
    const NetRequestOutcome outcome = RunNetRequest(
        kATGetNetInfo, [](ATNetInfoBlock& b) { b.header.param48 = 0; },
        [&info](const ATNetInfoBlock& b) { info = b; });
    if (outcome == NetRequestOutcome::Failed) {
        AfxMessageBox(kCannotReadNetInfo, MB_OK | MB_ICONERROR);
        SendMessage(WM_CLOSE);
    }
    return outcome == NetRequestOutcome::Done;
}

void CNetInfoPage::OnHelp()
{
    if (CWinApp* app = AfxGetApp())
        app->WinHelp(HIDC_HELP_UTILITIES, HELP_CONTEXT);
}

void CNetInfoPage::OnClose()
{
    // The page cannot show what it is for: the sheet ends as cancelled.
    ::PostMessageA(::GetParent(m_hWnd), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

// --- General ----------------------------------------------------------------

BEGIN_MESSAGE_MAP(CNetGeneralPage, CNetInfoPage)
    ON_BN_CLICKED(IDC_NET_CHANGE_ZONE, OnChangeZone)
    ON_MESSAGE(WM_STILL_MODIFIED, OnStillModified)
END_MESSAGE_MAP()

CNetGeneralPage::CNetGeneralPage() : CNetInfoPage(IDD_NET_GENERAL_PAGE) {}

BOOL CNetGeneralPage::OnInitDialog()
{
    CNetInfoPage::OnInitDialog();
    m_bZoneChanged = FALSE;
    ZIPGetMyZone(m_zoneName);
    ATNetInfoBlock info{};
    if (!ReadNetInfo(info))
        return TRUE;
    SetDlgItemText(IDC_NET_ADDRESS, FormatNodeAddress(info.network, info.node).c_str());
    if (info.zone[0] != '\0') {
        lstrcpynA(m_zoneName, info.zone, sizeof m_zoneName);
        SetDlgItemText(IDC_NET_ZONE, m_zoneName);
    }
    SetDlgItemText(IDC_NET_RANGE, FormatCableRange(info.rangeFirst, info.rangeLast).c_str());
    return TRUE;
}

void CNetGeneralPage::OnChangeZone()
{
    CSelectZoneDlg dlg(this);
    if (dlg.DoModal() != IDOK || !dlg.GetSelectedZone(m_zoneName))
        return;
    m_bZoneChanged = TRUE;
    SetDlgItemText(IDC_NET_ZONE, m_zoneName);
    SetModified(TRUE);
}

BOOL CNetGeneralPage::OnApply()
{
    if (m_bZoneChanged) {
        const NetRequestOutcome outcome = RunNetRequest(kATSetCurrentZone, [this](ATNetInfoBlock& b) {
            b.rangeFirst = 3;
            b.rangeLast = 3;
            lstrcpynA(b.zone, m_zoneName, kATZoneNameSize);
        });
        if (outcome == NetRequestOutcome::Failed)
            AfxMessageBox(kCannotChangeZone, MB_OK | MB_ICONERROR);
        else if (outcome == NetRequestOutcome::Done)
            m_bZoneChanged = FALSE;
    }
    if (m_bZoneChanged) {
        // The pick is still to be sent: Apply stays enabled (the sheet
        // greys it after every apply, so it is lit again afterwards).
        PostMessage(WM_STILL_MODIFIED);
        return CNetInfoPage::OnApply();
    }
    SetModified(FALSE);
    return CNetInfoPage::OnApply();
}

LRESULT CNetGeneralPage::OnStillModified(WPARAM, LPARAM)
{
    if (m_bZoneChanged)
        SetModified(TRUE);
    return 0;
}

// --- Adapter ----------------------------------------------------------------

CAdapterPage::CAdapterPage() : CNetInfoPage(IDD_ADAPTER_PAGE) {}

BOOL CAdapterPage::OnInitDialog()
{
    CNetInfoPage::OnInitDialog();
    ATNetInfoBlock info{};
    if (ReadNetInfo(info))
        SetDlgItemText(IDC_ADAPTER_ADDRESS, FormatAdapterAddress(info.adapter).c_str());
    return TRUE;
}

// --- the sheet --------------------------------------------------------------

void RunNetworkInformationSheet()
{
    CPropertySheet sheet(FxLoadString(AFX_IDS_APP_TITLE).c_str());
    CNetGeneralPage general;
    CAdapterPage adapter;
    sheet.AddPage(&general);
    sheet.AddPage(&adapter);
    sheet.DoModal();
}
