// The second page of an AppleShare server (template 132): the AFP versions
// and user authentication methods it supports, this workstation's volumes
// on it with their password flags (only with a session), and whether it
// speaks TCP/IP and lets users change their passwords. The three lists
// sort themselves.
#pragma once

#include "net_page.h"
#include "server_info.h"

class CServerAdvancedPage : public CNetPage {
public:
    CServerAdvancedPage(HWND page, CServerInfoObj* record);

private:
    void FillList(int id, const std::vector<CString>& items);
};
