#include "stack_params.h"

#include <array>

#include "molven32.h"

namespace {
using Buffer = std::array<uint8_t, kAFPParamBufferSize>;
static_assert(kAFPParamBufferSize == kATKIFSBufferSize);
}  // namespace

std::optional<FlDrParams> GetFileDirParams(const char* path)
{
    Buffer buffer{};
    if (ATKIFSGetFlDrParams(path, buffer.data(), kATKIFSBufferSize) != 0)
        return std::nullopt;
    return ReadFlDrParams(buffer.data(), buffer.size());
}

std::optional<VolParams> GetVolumeParams(const char* path)
{
    Buffer buffer{};
    if (ATKIFSGetVolParams(path, buffer.data(), kATKIFSBufferSize) != 0)
        return std::nullopt;
    return ReadVolParams(buffer.data(), buffer.size());
}
