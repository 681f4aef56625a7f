// The first page of an AppleShare server (template 131): name, zone,
// machine type, and this workstation's session with it: logon name, when it
// was connected, how long ago that is, and the server's time. The time
// connected counts up once a second, but only while the page is shown.
#pragma once

#include "net_page.h"
#include "server_info.h"

class CServerPage : public CNetPage {
    DECLARE_MESSAGE_MAP()
public:
    CServerPage(HWND page, CServerInfoObj* record);

    // The timer that refreshes the time connected.
    static constexpr UINT_PTR kElapsedTimer = 1;
    static constexpr UINT kElapsedPeriodMs = 1000;

private:
    void ShowElapsedTime();
    LRESULT OnShowWindow(WPARAM showing, LPARAM status);
    void OnTimer(UINT_PTR id);
    void OnDestroy();
};
