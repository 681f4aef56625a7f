// The workstation requests of the information sheet (0x210 read the node's
// network information, 0x60F set the current zone), run as short requests
// run: a block from MPPAlloc, ATALKDispatch, then spin with Sleep(0) until
// the result leaves "in progress", and the block back to MPPFree.
#pragma once

#include <cstdint>
#include <functional>

#include "netinfo_block.h"

enum class NetRequestOutcome {
    NoBlock,  // MPPAlloc gave no block: nothing was asked
    Failed,   // the call or the stack's result was negative (or no answer came)
    Done,
};

// Runs `command` with the fields `fill` sets; `done` reads the answer from
// the block before it is freed (only when the request succeeded).
NetRequestOutcome RunNetRequest(int32_t command, const std::function<void(ATNetInfoBlock&)>& fill,
                                const std::function<void(const ATNetInfoBlock&)>& done = {});

// How long the spin waits for an answer before it counts the request as
// failed; the stack answers these at once, so only a stack that has gone
// silent ever reaches it.
constexpr uint32_t kNetRequestLimitMs = 15000;
