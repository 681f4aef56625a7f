// Records shared between the programs and the AppleTalk stack libraries:
// the NBP entity and tuple, and the header every ATALKDispatch block starts
// with. Portable (no <windows.h>): the network service uses them too.
//
// The layouts are fixed by the stack, byte for byte, on 32-bit Windows; the
// static_asserts below hold them on every build.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "stack records are little-endian");

#if defined(_WIN32)
#define ATSTACK_CALL __stdcall
#else
#define ATSTACK_CALL
#endif

// NBP names: object, type and zone, each NUL-terminated in a 34-byte slot.
constexpr std::size_t kNBPSlotSize = 34;
constexpr std::size_t kNBPMaxNameLength = 32;

// The NBP entity name, the pattern of a lookup (102 bytes). A _NBPTuple
// begins with the same three slots, so either may be passed where an entity
// is asked for.
struct NBPEntityName {
    char object[kNBPSlotSize];  // +0
    char type[kNBPSlotSize];    // +34
    char zone[kNBPSlotSize];    // +68
};

// One NBP entity with its address (112 bytes), always copied whole.
struct _NBPTuple {
    char object[kNBPSlotSize];  // +0
    char type[kNBPSlotSize];    // +34
    char zone[kNBPSlotSize];    // +68
    uint8_t reserved102[2];     // +102
    uint16_t network;           // +104
    uint8_t node;               // +106
    uint8_t socket;             // +107
    uint8_t reserved108[4];     // +108
};
typedef _NBPTuple NBPTuple;

// Result field values of an asynchronous request; negative values are
// failures.
constexpr int32_t kATResultDone = 0;
constexpr int32_t kATResultPending = 1;

// The header of every block passed to ATALKDispatch (52 bytes). Request
// fields follow from byte 52.
struct ATParamBlockHeader {
    uint8_t reserved0[12];      // +0
    int32_t command;            // +12
    int32_t result;             // +16  1 pending, 0 done, negative failed
    uint8_t reserved20[16];     // +20
    int32_t completion;         // +36  0: no completion routine
    uint8_t reserved40[4];      // +40
    int32_t param44;            // +44  0 for close, cancel, status, 0x210, 0x60F
    int32_t param48;            // +48  0 for 0x210
};

// The stack writes the result from its own thread after every output field;
// callers poll it. These two are the only ways the result is touched.
inline int32_t ATLoadResult(const ATParamBlockHeader& h)
{
    return __atomic_load_n(&h.result, __ATOMIC_ACQUIRE);
}
inline void ATStoreResult(ATParamBlockHeader& h, int32_t value)
{
    __atomic_store_n(&h.result, value, __ATOMIC_RELEASE);
}

static_assert(sizeof(NBPEntityName) == 102);
static_assert(offsetof(NBPEntityName, object) == 0);
static_assert(offsetof(NBPEntityName, type) == 34);
static_assert(offsetof(NBPEntityName, zone) == 68);

static_assert(sizeof(_NBPTuple) == 112);
static_assert(offsetof(_NBPTuple, object) == 0);
static_assert(offsetof(_NBPTuple, type) == 34);
static_assert(offsetof(_NBPTuple, zone) == 68);
static_assert(offsetof(_NBPTuple, network) == 104);
static_assert(offsetof(_NBPTuple, node) == 106);
static_assert(offsetof(_NBPTuple, socket) == 107);

static_assert(sizeof(ATParamBlockHeader) == 52);
static_assert(offsetof(ATParamBlockHeader, command) == 12);
static_assert(offsetof(ATParamBlockHeader, result) == 16);
static_assert(offsetof(ATParamBlockHeader, completion) == 36);
static_assert(offsetof(ATParamBlockHeader, param44) == 44);
static_assert(offsetof(ATParamBlockHeader, param48) == 48);
