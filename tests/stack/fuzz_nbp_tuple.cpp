// Any 112 bytes a stack hands back as a tuple: names read from it stay
// inside their slots and survive being written into a fresh tuple.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_target.h"
#include "nbp_names.h"
#include "pap_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    _NBPTuple raw;
    std::memset(&raw, 0, sizeof raw);
    std::memcpy(&raw, data, size < sizeof raw ? size : sizeof raw);

    const std::string object = NBPSlotText(raw.object);
    const std::string type = NBPSlotText(raw.type);
    const std::string zone = NBPSlotText(raw.zone);
    if (object.size() > kNBPMaxNameLength || type.size() > kNBPMaxNameLength ||
        zone.size() > kNBPMaxNameLength)
        abort();

    _NBPTuple copy = NBPMakeTuple(object, type, zone);
    if (NBPSlotText(copy.object) != object || NBPSlotText(copy.type) != type ||
        NBPSlotText(copy.zone) != zone)
        abort();

    PAPParamBlock block;
    std::memset(&block, 0, sizeof block);
    std::memcpy(block.status, data, size < sizeof block.status ? size : sizeof block.status);
    if (block.StatusString().size() > kPAPStatusSize)
        abort();
    return 0;
}
