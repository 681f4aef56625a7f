// The AppleShare parameter buffers the stack fills (ATKIFSGetFlDrParams and
// ATKIFSGetVolParams, 2522 bytes each), read at the byte positions the
// information records use. Integers are in the machine's byte order, the
// access rights are four single bytes.
//
// Names are NUL-terminated strings at a base plus a 16-bit offset from the
// buffer. An offset can point anywhere, so a name is read only inside the
// buffer: one that starts past its end is empty, one that runs to its end
// without a NUL is cut there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

constexpr std::size_t kAFPParamBufferSize = 2522;
// A date the server does not know.
constexpr int32_t kAFPNoDateValue = INT32_MIN;

// AFP attribute bits at byte 475 of a file or folder buffer.
enum AFPFileAttribute : uint16_t {
    kAFPAttrSystem = 0x0004,
    kAFPAttrWriteInhibit = 0x0020,
    kAFPAttrRenameInhibit = 0x0080,
    kAFPAttrDeleteInhibit = 0x0100,
    kAFPAttrCopyProtect = 0x0400,
};

struct FlDrParams {
    int32_t mapRef = 0;                 // 426: for AFPMapID
    uint16_t attributes = 0;            // 475
    std::optional<int32_t> modified;    // 485 (none: no date)
    std::optional<int32_t> backup;      // 489
    std::string finderInfo;             // 493: type (4) and creator (4), up to a NUL
    std::string longName, shortName;    // at 475 + the offsets at 525 and 527 (0: none)
    uint32_t dataFork = 0;              // 533 (file)
    uint32_t ownerId = 0;               // 535 (folder)
    uint32_t resourceFork = 0;          // 537 (file)
    uint32_t groupId = 0;               // 539 (folder)
    uint32_t accessRights = 0;          // 543: current user, everyone, group, owner (bytes 1..4)
};

struct VolParams {
    std::string displayName;            // 434
    uint16_t attributes = 0;            // 476: 0x1 read only, 0x2 has a password
    std::optional<int32_t> created;     // 480
    std::optional<int32_t> modified;    // 484
    std::optional<int32_t> backup;      // 488
    uint32_t bytesFree = 0;             // 494
    uint32_t bytesTotal = 0;            // 498
    std::string afpName;                // at 474 + the signed 16-bit offset at 502
};

// `size` is the buffer's size (kAFPParamBufferSize from the stack); fields
// that do not fit in it read as zero or empty.
FlDrParams ReadFlDrParams(const uint8_t* buffer, std::size_t size);
VolParams ReadVolParams(const uint8_t* buffer, std::size_t size);

// The NUL-terminated string at `offset`, read only inside the buffer.
std::string BufferString(const uint8_t* buffer, std::size_t size, std::size_t offset);
