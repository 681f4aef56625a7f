// The real stack behind PapStack: Kestra32's ATALKDispatch and Molven32's
// block and default-printer calls, linked at load time.
#pragma once

#include "pap_stack.h"

class Win32PapStack : public PapStack {
public:
    int32_t Dispatch(void* block) override;
    int32_t Alloc(void** block, uint32_t size) override;
    int32_t Free(void* block) override;
    int32_t GetDefaultPrinter(_NBPTuple* printer) override;
};
