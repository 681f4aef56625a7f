// The texts of the lookup window that need no window: a device's address,
// a line of a saved listing, and the printed page's header, item lines and
// column widths (the page itself is a listing page, common/listing_page.h).
#pragma once

#include <cstdint>
#include <string>

#include "listing_page.h"

// Network, node and socket as the list shows them ("%5.1u %03.u %03.u"):
// space-padded to 5, 3 and 3 characters; a node or socket of 0 prints as
// blanks (network 1234, node 56, socket 254 give " 1234  56 254").
std::string FormatLookupAddress(uint16_t network, uint8_t node, uint8_t socket);

// One line of a saved listing: name, two spaces, type, two spaces, address,
// CR LF.
std::string ListingLine(const std::string& name, const std::string& type, const std::string& address);

// The page header: the zone (with " Device Listing:" after a zone of at most
// 50 characters), then spaces, then `pageText`, 81 characters in all unless
// the texts are longer.
std::string PrintHeader(const std::string& zone, const std::string& pageText);

// Column widths of the printed items. The name and type columns start as the
// longest name and type; Adjust() then widens or narrows both alike until
// the address column (78 less the other two) is within one of 14.
struct PrintColumns {
    int nameWidth = 0;
    int typeWidth = 0;
    int AddressWidth() const { return 78 - nameWidth - typeWidth; }
    void Adjust();
};

// One printed item ("%-*s  %-*s  %-*.*s").
std::string PrintItemLine(const PrintColumns& columns, const std::string& name, const std::string& type,
                          const std::string& address);
