// The three name lookups a server or printer record carries while the
// network is searched for it: each slot holds a lookup handle and the name
// it looks for. Ending a slot closes the lookup and frees the name; the
// record ends whatever is left when it goes.
#pragma once

#include "molven32.h"

struct NameLookups {
    NameLookups() = default;
    NameLookups(const NameLookups&) = delete;
    NameLookups& operator=(const NameLookups&) = delete;
    ~NameLookups() { EndAll(); }

    ATEnumHandle handle[3] = {};
    _NBPTuple* tuple[3] = {};

    void End(int slot)
    {
        if (handle[slot] != 0)
            NBPCloseEnum(handle[slot]);
        handle[slot] = 0;
        delete tuple[slot];
        tuple[slot] = nullptr;
    }
    void EndAll()
    {
        for (int slot = 0; slot < 3; ++slot)
            End(slot);
    }
};
