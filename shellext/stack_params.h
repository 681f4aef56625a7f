// The stack's AppleShare parameter calls, read into their records' terms:
// a file's or folder's parameters (ATKIFSGetFlDrParams) and a volume's
// (ATKIFSGetVolParams), each from a 2522-byte buffer.
#pragma once

#include <optional>

#include "afp_params.h"

// Nothing when the stack could not fill the buffer.
std::optional<FlDrParams> GetFileDirParams(const char* path);
std::optional<VolParams> GetVolumeParams(const char* path);
