// The block of the two workstation requests of ATALKDispatch: 0x210 reads the
// node's network information, 0x60F sets the workstation's current zone.
#pragma once

#include "atalk_records.h"

enum ATNodeCommand : int32_t {
    kATGetNetInfo = 0x210,
    kATSetCurrentZone = 0x60F,
};

constexpr std::size_t kATZoneNameSize = 33;  // 32 characters and the NUL

struct ATNetInfoBlock {
    ATParamBlockHeader header;  // +0
    uint16_t network;           // +52  out (0x210): the node's network number
    uint8_t node;               // +54  out (0x210): node id
    uint8_t reserved55;         // +55
    uint16_t rangeFirst;        // +56  out (0x210): cable range; in (0x60F): 3
    uint16_t rangeLast;         // +58  out (0x210): cable range; in (0x60F): 3
    char zone[38];              // +60  out (0x210): current zone; in (0x60F): new zone
    uint8_t adapter[6];         // +98  out (0x210): hardware address, first byte first
};

static_assert(sizeof(ATNetInfoBlock) == 104);
static_assert(offsetof(ATNetInfoBlock, network) == 52);
static_assert(offsetof(ATNetInfoBlock, node) == 54);
static_assert(offsetof(ATNetInfoBlock, rangeFirst) == 56);
static_assert(offsetof(ATNetInfoBlock, rangeLast) == 58);
static_assert(offsetof(ATNetInfoBlock, zone) == 60);
static_assert(offsetof(ATNetInfoBlock, adapter) == 98);
