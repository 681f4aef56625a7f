// Kestra32's one export beyond the stack's own call, for Molven32: MPPFree
// detaches every outstanding request whose block or data buffer lies in the
// memory it frees, so that an answer arriving later writes nowhere.
#pragma once

#include "atalk_records.h"

extern "C" {

// Returns how many outstanding requests were detached.
int32_t ATSTACK_CALL ATStackReleaseRange(const void* start, uint32_t size);

}
