// The loopback TCP server of atnetd: accepts the libraries' connections,
// cuts their bytes into messages for the engine and sends its answers.
// POSIX sockets natively, Winsock on Windows.
#pragma once

#include <string>

#include "engine.h"

namespace atsvc {

// Listens on `listen` ("127.0.0.1:PORT", port 0 = any free one), writes the
// port to `portFile` when given, and serves until SIGTERM/SIGINT (Ctrl-C or
// Ctrl-Break on Windows). Returns the process exit status.
int RunServer(Engine& engine, const std::string& listen, const std::string& portFile);
void RequestStop();

}  // namespace atsvc
