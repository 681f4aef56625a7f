// The TCP server of atnetd: accepts the libraries' connections, cuts their
// bytes into messages for the engine and sends its answers. POSIX sockets
// natively, Winsock on Windows.
//
// Every client is bounded: the server reads from a client only while its
// unsent answers and its unparsed input stay under their caps (so a client
// that sends without reading stops being read instead of growing the
// service), handles a few of its messages per pass so one fast client
// cannot starve the others, drops a client that takes none of its answers
// for kStallMs or sends nothing for the idle limit, and at the client limit
// makes room for a newcomer by dropping the client idle longest.
#pragma once

#include <cstdint>
#include <string>

#include "engine.h"

namespace atsvc {

struct ServerOptions {
    std::string listen;          // "ADDRESS:PORT"; port 0 = any free one
    std::string portFile;        // where the bound port is written, when given
    int64_t idleLimitMs = 600000;
};

// Listens, writes the port to the port file, and serves until
// SIGTERM/SIGINT (Ctrl-C or Ctrl-Break on Windows). Returns the process
// exit status.
int RunServer(Engine& engine, const ServerOptions& options);
void RequestStop();

}  // namespace atsvc
