// CSelectZoneDlg: "Select Current Zone" (dialog 138). It reads the zones of
// the workstation's own network into its list, preselects the workstation's
// zone, and hands the zone taken with OK (or a double-click) to its caller.
#pragma once

#include "fx/controls.h"
#include "fx/dialog.h"
#include "molven32.h"
#include "netinfo_block.h"

class CSelectZoneDlg : public CDialog {
    DECLARE_MESSAGE_MAP()
public:
    explicit CSelectZoneDlg(CWnd* parent = nullptr);

    ATEnumHandle m_hZoneEnum = 0;
    int32_t m_nStatus = -1;
    uint16_t m_nCount = 0;
    BOOL m_bSelected = FALSE;
    char m_zoneName[kATZoneNameSize] = "";

    // Copies the zone taken into `zone` (33 bytes); false, leaving `zone`
    // untouched, when none was taken or `zone` is null.
    bool GetSelectedZone(char* zone) const;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    CListBox m_list;
    void OnListDoubleClick() { OnOK(); }
    void EndZoneRequest();
};
