// Reading and writing the name slots of NBP records without ever running
// past a slot, whatever bytes the record holds.
#pragma once

#include <string>
#include <string_view>

#include "atalk_records.h"

// Writes `name` into a slot: at most 32 characters, NUL-terminated, the
// rest of the slot zeroed. Returns false when the name had to be cut.
bool NBPSetSlot(char (&slot)[kNBPSlotSize], std::string_view name);

// The name in a slot: up to its first NUL, at most 32 characters.
std::string NBPSlotText(const char (&slot)[kNBPSlotSize]);

// A tuple with the three names set and the address zero.
_NBPTuple NBPMakeTuple(std::string_view object, std::string_view type, std::string_view zone);
