#include "win32_pap_stack.h"

#include "kestra32.h"
#include "molven32.h"

int32_t Win32PapStack::Dispatch(void* block)
{
    return ATALKDispatch(block);
}

int32_t Win32PapStack::Alloc(void** block, uint32_t size)
{
    return MPPAlloc(block, size);
}

int32_t Win32PapStack::Free(void* block)
{
    return MPPFree(block);
}

int32_t Win32PapStack::GetDefaultPrinter(_NBPTuple* printer)
{
    return PAPGetDefaultPrinter(printer);
}
