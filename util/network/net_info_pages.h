// The pages of the network information sheet. Both read the workstation's
// network information (request 0x210) when they open and answer F1 with the
// utilities' help topic. A page whose request fails says so and closes the
// whole sheet as if cancelled, so nothing is sent to the stack.
#pragma once

#include "fx/property_sheet.h"
#include "netinfo_block.h"

class CNetInfoPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()
public:
    explicit CNetInfoPage(UINT templateId) : CPropertyPage(templateId) {}

protected:
    // Reads the network information into `info`. False when it could not
    // be read: silently when the stack had no block to give, else after the
    // failure message, with the sheet closing.
    bool ReadNetInfo(ATNetInfoBlock& info);
    void OnHelp();
    void OnClose();
};

// "General": the node address, the cable range and the current zone, which
// "Change..." replaces and Apply (or OK) sends to the stack.
class CNetGeneralPage : public CNetInfoPage {
    DECLARE_MESSAGE_MAP()
public:
    CNetGeneralPage();

    char m_zoneName[kATZoneNameSize] = "";
    BOOL m_bZoneChanged = FALSE;

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    void OnChangeZone();
    LRESULT OnStillModified(WPARAM, LPARAM);
};

// "Adapter": the hardware address of the network adapter.
class CAdapterPage : public CNetInfoPage {
public:
    CAdapterPage();
    BOOL OnInitDialog() override;
};

// Network > Information: runs the sheet modally.
void RunNetworkInformationSheet();
