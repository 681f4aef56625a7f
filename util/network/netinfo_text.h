// The texts of the network information sheet: the node address, the cable
// range and the adapter's hardware address as the pages show them.
#pragma once

#include <cstdint>
#include <string>

// "%u %u (%4.4X %2.2X)": network 1234, node 56 give "1234 56 (04D2 38)".
std::string FormatNodeAddress(uint16_t network, uint8_t node);
// "%u-%u": "1000-1009".
std::string FormatCableRange(uint16_t first, uint16_t last);
// Six bytes as "00.A0.24.1B.2C.3D" and a newline the static does not show.
std::string FormatAdapterAddress(const uint8_t (&bytes)[6]);
