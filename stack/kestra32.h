// Kestra32: the single entry point of the AppleTalk stack.
#pragma once

#include "atalk_records.h"

extern "C" {

// Issues the request described by `block` (a PAPParamBlock or an
// ATNetInfoBlock; the command is at byte 12). Returns a negative value when
// the request could not be issued; otherwise the request runs on and the
// stack writes its result field last: 1 while in progress, 0 done, negative
// failed. Callers poll that field; PAP callers ignore the return value.
int32_t ATSTACK_CALL ATALKDispatch(void* block);

}
