#include "server_info.h"

#include <algorithm>
#include <cstring>

#include "molven32.h"

namespace {

// A name of the stack's record: up to its NUL, never past its field.
template <std::size_t N>
CString FieldText(const char (&field)[N])
{
    return CString(std::string(field, strnlen(field, N)));
}

std::optional<int32_t> DateOf(int32_t seconds)
{
    return seconds == kAFPNoDate ? std::nullopt : std::optional<int32_t>(seconds);
}

}  // namespace

CServerInfoObj::CServerInfoObj(const char* path) : CNetInfoObj(NETOBJ_SERVER, path)
{
    InitArrays();
    AFPServerInfo info{};
    if (AFPGetServerInfo(m_strPath.c_str(), &info) != 0) {
        m_bValid = 0;
        return;
    }
    Fill(info);
}

void CServerInfoObj::Fill(const AFPServerInfo& info)
{
    m_names[0] = FieldText(info.name);
    m_names[1] = FieldText(info.zone);
    m_names[2] = FieldText(info.machineType);
    m_names[3] = FieldText(info.logonName);
    SetDate(0, DateOf(info.serverTime));
    SetDate(1, DateOf(info.connectedAt));
    m_wAttributes = 0;
    if (info.flags & kAFPServerAllowsChangePassword)
        m_wAttributes |= NA_ALLOWSCHANGEPWD;
    if (info.flags & kAFPServerTCPIP)
        m_wAttributes |= NA_TCPIP;
    m_strPassword = FieldText(info.password);

    // Counts are the stack's; the lists never read past their arrays.
    const std::size_t versions = std::min<std::size_t>(info.versionCount, std::size(info.versions));
    const std::size_t uams = std::min<std::size_t>(info.uamCount, std::size(info.uams));
    const std::size_t volumes = std::min<std::size_t>(info.volumeCount, std::size(info.volumes));
    m_afpVersions.clear();
    m_uams.clear();
    m_volumes.clear();
    m_volumeHasPassword.clear();
    for (std::size_t i = 0; i < versions; ++i)
        m_afpVersions.push_back(FieldText(info.versions[i]));
    for (std::size_t i = 0; i < uams; ++i)
        m_uams.push_back(FieldText(info.uams[i]));
    for (std::size_t i = 0; i < volumes; ++i) {
        m_volumes.push_back(FieldText(info.volumes[i]));
        m_volumeHasPassword.push_back(info.volumeHasPassword[i] != 0 ? 1 : 0);
    }
}
