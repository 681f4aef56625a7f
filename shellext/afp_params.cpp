#include "afp_params.h"

#include <cstring>

namespace {

template <typename T>
T Read(const uint8_t* buffer, std::size_t size, std::size_t offset)
{
    T value{};
    if (offset <= size && sizeof(T) <= size - offset)
        std::memcpy(&value, buffer + offset, sizeof(T));
    return value;
}

std::optional<int32_t> ReadDate(const uint8_t* buffer, std::size_t size, std::size_t offset)
{
    const int32_t value = Read<int32_t>(buffer, size, offset);
    if (value == kAFPNoDateValue)
        return std::nullopt;
    return value;
}

// A name at `base` plus a 16-bit offset; offset 0 means there is none.
std::string OffsetName(const uint8_t* buffer, std::size_t size, std::size_t base, std::size_t offset)
{
    return offset == 0 ? std::string() : BufferString(buffer, size, base + offset);
}

}  // namespace

std::string BufferString(const uint8_t* buffer, std::size_t size, std::size_t offset)
{
    if (offset >= size)
        return std::string();
    const auto* start = reinterpret_cast<const char*>(buffer + offset);
    const void* nul = std::memchr(start, 0, size - offset);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - start) : size - offset;
    return std::string(start, length);
}

FlDrParams ReadFlDrParams(const uint8_t* buffer, std::size_t size)
{
    FlDrParams p;
    p.mapRef = Read<int32_t>(buffer, size, 426);
    p.attributes = Read<uint16_t>(buffer, size, 475);
    p.modified = ReadDate(buffer, size, 485);
    p.backup = ReadDate(buffer, size, 489);
    p.finderInfo = BufferString(buffer, size, 493);
    p.longName = OffsetName(buffer, size, 475, Read<uint16_t>(buffer, size, 525));
    p.shortName = OffsetName(buffer, size, 475, Read<uint16_t>(buffer, size, 527));
    p.dataFork = Read<uint32_t>(buffer, size, 533);
    p.ownerId = Read<uint32_t>(buffer, size, 535);
    p.resourceFork = Read<uint32_t>(buffer, size, 537);
    p.groupId = Read<uint32_t>(buffer, size, 539);
    // Byte 1 of the number is the first byte in the buffer, whatever the
    // machine's byte order.
    for (std::size_t i = 0; i < 4; ++i)
        p.accessRights |= static_cast<uint32_t>(Read<uint8_t>(buffer, size, 543 + i)) << (8 * i);
    return p;
}

VolParams ReadVolParams(const uint8_t* buffer, std::size_t size)
{
    VolParams v;
    v.displayName = BufferString(buffer, size, 434);
    v.attributes = Read<uint16_t>(buffer, size, 476);
    v.created = ReadDate(buffer, size, 480);
    v.modified = ReadDate(buffer, size, 484);
    v.backup = ReadDate(buffer, size, 488);
    v.bytesFree = Read<uint32_t>(buffer, size, 494);
    v.bytesTotal = Read<uint32_t>(buffer, size, 498);
    // The offset is signed: a name before byte 474 is still inside the buffer.
    const int16_t offset = Read<int16_t>(buffer, size, 502);
    const long at = 474L + offset;
    v.afpName = at < 0 ? std::string() : BufferString(buffer, size, static_cast<std::size_t>(at));
    return v;
}
