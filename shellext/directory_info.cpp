#include "directory_info.h"

#include "file_info.h"
#include "stack_params.h"

CDirectoryInfoObj::CDirectoryInfoObj(const char* path) : CNetInfoObj(NETOBJ_FOLDER, path)
{
    InitArrays();
    if (const auto params = GetFileDirParams(m_strPath.c_str()))
        Fill(*params);
    else
        m_bValid = 0;
}

void CDirectoryInfoObj::Fill(const FlDrParams& params)
{
    m_names[0] = params.longName;
    m_names[1] = params.shortName;
    SetDate(0, params.backup);
    SetDate(1, params.modified);
    m_wAttributes = NetAttributesOf(params.attributes, false);
    m_numbers[0] = params.accessRights;
    m_numbers[1] = params.ownerId;
    m_numbers[2] = params.groupId;
    m_numbers[3] = static_cast<DWORD>(params.mapRef);
}
