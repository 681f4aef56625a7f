// What an interpreting printer's Ghostscript reads before a job's own
// bytes: the printer's parameters, the server loop (laserwriter_prolog.ps)
// and the printer's persistent changes to replay.
#pragma once

#include <string>

#include "world.h"

namespace simnet {

// The server loop, as built into the service.
extern const char* const kLaserWriterProlog;

// `nonce`: letters and digits that mark the server loop's control lines.
std::string JobStreamHead(const atw::Printer& printer, const std::string& nonce);

// The marker of control lines with that nonce.
std::string ControlMarker(const std::string& nonce);

}  // namespace simnet
