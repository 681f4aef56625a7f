#include "volume_info.h"

#include "stack_params.h"

CVolumeInfoObj::CVolumeInfoObj(const char* path) : CNetInfoObj(NETOBJ_VOLUME, path)
{
    InitArrays();
    const auto params = GetVolumeParams(m_strPath.c_str());
    if (!params) {
        m_bValid = 0;
        return;
    }
    Fill(*params);
    m_pRoot = std::make_unique<CDirectoryInfoObj>((m_strPath + "\\").c_str());
    if (m_pRoot->m_bValid)
        m_pRoot->m_bVolumeRoot = 1;
}

void CVolumeInfoObj::Fill(const VolParams& params)
{
    m_names[0] = params.displayName;
    m_names[1] = params.afpName;
    SetDate(0, params.backup);
    SetDate(1, params.modified);
    SetDate(2, params.created);
    m_numbers[0] = params.bytesFree;
    m_numbers[1] = params.bytesTotal;
    m_wAttributes = 0;
    if (params.attributes & 0x0001)
        m_wAttributes |= NA_READONLY;
    if (params.attributes & 0x0002)
        m_wAttributes |= NA_HASPASSWORD;
}
