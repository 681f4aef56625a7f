// The record of an AppleTalk zone: name [0] the zone. Made without a name it
// stands for a multiple selection or an object of no known kind.
#pragma once

#include "net_info.h"

class CZoneInfoObj : public CNetInfoObj {
public:
    CZoneInfoObj();
    // The zone of a network name (AFPParseRemoteName); not valid when the
    // name does not parse.
    explicit CZoneInfoObj(const char* name);
    void InitArrays() override { SizeArrays(1, 0, 0); }
};
