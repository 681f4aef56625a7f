// The record of an AppleShare server: names [0] server, [1] zone, [2]
// machine type, [3] logon name; dates [0] server time, [1] time the session
// was connected (none without a session); flags NA_ALLOWSCHANGEPWD and
// NA_TCPIP; the session's password, AFP versions, authentication methods
// and volumes with a password flag each.
#pragma once

#include <vector>

#include "molven32.h"
#include "name_lookups.h"
#include "net_info.h"

class CServerInfoObj : public CNetInfoObj {
public:
    // Asks the stack about the server of `path` ("\\server"): what the
    // server tells every client and what this workstation's session with
    // it holds (AFPGetServerInfo). Not valid when the stack cannot answer.
    explicit CServerInfoObj(const char* path);
    void InitArrays() override { SizeArrays(4, 2, 2); }

    void Fill(const AFPServerInfo& info);

    // Name lookups that find the server on the network (ended and freed
    // with the record); the server's information comes through the stack's
    // own call, so they stay unused.
    NameLookups m_lookups;
    CString m_strPassword;
    std::vector<CString> m_afpVersions;
    std::vector<CString> m_uams;
    std::vector<CString> m_volumes;
    std::vector<uint8_t> m_volumeHasPassword;
};
