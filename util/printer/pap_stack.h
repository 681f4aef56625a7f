// The AppleTalk stack calls the download engine and the job ticket make,
// behind an interface: on Windows the real libraries (Kestra32, Molven32),
// in tests a simulated printer.
#pragma once

#include <cstdint>

#include "atalk_records.h"

class PapStack {
public:
    virtual ~PapStack() = default;

    // ATALKDispatch: issues the request in `block`; completion is seen by
    // polling the block's result field.
    virtual int32_t Dispatch(void* block) = 0;
    // MPPAlloc / MPPFree: zero-filled blocks; 0 = success.
    virtual int32_t Alloc(void** block, uint32_t size) = 0;
    virtual int32_t Free(void* block) = 0;
    // PAPGetDefaultPrinter: 0 = `printer` filled.
    virtual int32_t GetDefaultPrinter(_NBPTuple* printer) = 0;
};
