// PAPJobBlock: the memory one download owns for its whole life, obtained
// from MPPAlloc in a single piece. The stack sees only the five request
// blocks and the two buffers they point at; the use count is ours.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pap_block.h"

constexpr std::size_t kPAPJobBufferSize = static_cast<std::size_t>(kPAPChunkSize);

struct PAPJobBlock {
    PAPParamBlock open;         // the connection's open
    PAPParamBlock closeCancel;  // shared by the close and by every cancel
    int32_t useCount;           // 1 from allocation; freed when it drops to 0
    PAPParamBlock read;         // the one read kept outstanding
    PAPParamBlock write;        // at most one write outstanding
    PAPParamBlock status;       // the status poll (needs no connection)
    char receive[kPAPJobBufferSize];
    char send[kPAPJobBufferSize];
};

constexpr uint32_t kPAPJobBlockSize = 5 * kPAPParamBlockSize + sizeof(int32_t) + 2 * kPAPJobBufferSize;

static_assert(sizeof(PAPJobBlock) == kPAPJobBlockSize);
static_assert(offsetof(PAPJobBlock, open) == 0);
static_assert(offsetof(PAPJobBlock, closeCancel) == 688);
static_assert(offsetof(PAPJobBlock, useCount) == 2 * 688);
static_assert(offsetof(PAPJobBlock, read) == 2 * 688 + 4);
static_assert(offsetof(PAPJobBlock, write) == 3 * 688 + 4);
static_assert(offsetof(PAPJobBlock, status) == 4 * 688 + 4);
static_assert(offsetof(PAPJobBlock, receive) == 5 * 688 + 4);
static_assert(offsetof(PAPJobBlock, send) == 5 * 688 + 4 + 4096);
