// An "A.B.C.D:PORT" text as the socket address both ends of the wire use:
// the service for --listen, the libraries for the address they connect to.
#pragma once

#if defined(_WIN32)
#include <winsock2.h>
#else
#include <netinet/in.h>
#endif

#include <cstring>
#include <string>

#include "wire.h"

namespace atwire {

inline bool ToSockaddr(const std::string& text, sockaddr_in& addr, bool allowAnyPort)
{
    Endpoint e;
    if (!ParseEndpoint(text, e, allowAnyPort))
        return false;
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
    addr.sin_port = htons(e.port);
    std::memcpy(&addr.sin_addr, e.ip, 4);
    return true;
}

}  // namespace atwire
