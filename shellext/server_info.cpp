#include "server_info.h"

CServerInfoObj::CServerInfoObj(const char* path) : CNetInfoObj(NETOBJ_SERVER, path)
{
    InitArrays();
    // Filled with the server pages; until then a server offers no pages.
    m_bValid = 0;
}
