#include "file_info.h"

#include "stack_params.h"

uint16_t NetAttributesOf(uint16_t afp, bool file)
{
    uint16_t flags = 0;
    if (afp & kAFPAttrSystem)
        flags |= NA_SYSTEM;
    if (afp & kAFPAttrRenameInhibit)
        flags |= NA_RENAMEINHIBIT;
    if (afp & kAFPAttrDeleteInhibit)
        flags |= NA_DELETEINHIBIT;
    if (file && (afp & kAFPAttrWriteInhibit))
        flags |= NA_READONLY;
    if (file && (afp & kAFPAttrCopyProtect))
        flags |= NA_COPYPROTECT;
    return flags;
}

CFileInfoObj::CFileInfoObj(const char* path) : CNetInfoObj(NETOBJ_FILE, path)
{
    InitArrays();
    if (const auto params = GetFileDirParams(m_strPath.c_str()))
        Fill(*params);
    else
        m_bValid = 0;
}

void CFileInfoObj::Fill(const FlDrParams& params)
{
    m_names[0] = params.longName;
    m_names[1] = params.shortName;
    m_names[2] = params.finderInfo;
    m_numbers[0] = params.dataFork;
    m_numbers[1] = params.resourceFork;
    SetDate(0, params.backup);
    m_wAttributes = NetAttributesOf(params.attributes, true);
}
