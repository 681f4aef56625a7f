#include "zone_info.h"

#include "molven32.h"

CZoneInfoObj::CZoneInfoObj() : CNetInfoObj(NETOBJ_ZONE, "")
{
    InitArrays();
}

CZoneInfoObj::CZoneInfoObj(const char* name) : CNetInfoObj(NETOBJ_ZONE, name)
{
    InitArrays();
    char zone[36] = "";
    if (AFPParseRemoteName(m_strPath.c_str(), nullptr, nullptr, zone, nullptr, nullptr) != 0) {
        m_bValid = 0;
        return;
    }
    m_names[0] = zone;
}
