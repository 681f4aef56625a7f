#include "nbp_names.h"

#include <cstring>

bool NBPSetSlot(char (&slot)[kNBPSlotSize], std::string_view name)
{
    const std::size_t n = name.size() < kNBPMaxNameLength ? name.size() : kNBPMaxNameLength;
    std::memset(slot, 0, sizeof slot);
    std::memcpy(slot, name.data(), n);
    return n == name.size();
}

std::string NBPSlotText(const char (&slot)[kNBPSlotSize])
{
    return std::string(slot, strnlen(slot, kNBPMaxNameLength));
}

_NBPTuple NBPMakeTuple(std::string_view object, std::string_view type, std::string_view zone)
{
    _NBPTuple t{};
    NBPSetSlot(t.object, object);
    NBPSetSlot(t.type, type);
    NBPSetSlot(t.zone, zone);
    return t;
}
