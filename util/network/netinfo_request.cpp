#include "util/network/netinfo_request.h"

#include <windows.h>

#include "kestra32.h"
#include "molven32.h"

NetRequestOutcome RunNetRequest(int32_t command, const std::function<void(ATNetInfoBlock&)>& fill,
                                const std::function<void(const ATNetInfoBlock&)>& done)
{
    void* memory = nullptr;
    if (MPPAlloc(&memory, 0) != 0 || memory == nullptr)
        return NetRequestOutcome::NoBlock;
    auto* block = static_cast<ATNetInfoBlock*>(memory);
    block->header.command = command;
    block->header.completion = 0;
    block->header.param44 = 0;
    if (fill)
        fill(*block);
    int32_t result = ATALKDispatch(block);
    if (result >= 0) {
        const DWORD start = GetTickCount();
        while ((result = ATLoadResult(block->header)) == kATResultPending) {
            if (GetTickCount() - start > kNetRequestLimitMs)
                break;
            Sleep(0);
        }
    }
    const bool ok = result == kATResultDone;
    if (ok && done)
        done(*block);
    MPPFree(block);  // an answer still on its way writes nowhere
    return ok ? NetRequestOutcome::Done : NetRequestOutcome::Failed;
}
