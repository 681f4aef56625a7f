// Any bytes as a stack parameter buffer, a drop list or a "Net Resource"
// block: the readers stay inside them and what they read fits in them.
#include <cstdint>
#include <cstdlib>

#include "afp_params.h"
#include "fuzz_target.h"
#include "selection_blocks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FlDrParams f = ReadFlDrParams(data, size);
    if (f.longName.size() > size || f.shortName.size() > size || f.finderInfo.size() > size)
        abort();
    const VolParams v = ReadVolParams(data, size);
    if (v.displayName.size() > size || v.afpName.size() > size)
        abort();
    if (auto list = ReadDropList(data, size)) {
        if (list->first.size() > size || list->firstWide.size() * 2 > size || list->count > size)
            abort();
    }
    if (auto resources = ReadNetResourceBlock(data, size)) {
        if (resources->last.remoteName.size() > size || resources->last.provider.size() > size)
            abort();
    }
    return 0;
}
