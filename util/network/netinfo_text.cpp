#include "netinfo_text.h"

#include <cstdio>

std::string FormatNodeAddress(uint16_t network, uint8_t node)
{
    char text[40];
    std::snprintf(text, sizeof text, "%u %u (%4.4X %2.2X)", static_cast<unsigned>(network), static_cast<unsigned>(node),
                  static_cast<unsigned>(network), static_cast<unsigned>(node));
    return text;
}

std::string FormatCableRange(uint16_t first, uint16_t last)
{
    char text[24];
    std::snprintf(text, sizeof text, "%u-%u", static_cast<unsigned>(first), static_cast<unsigned>(last));
    return text;
}

std::string FormatAdapterAddress(const uint8_t (&bytes)[6])
{
    char text[24];
    std::snprintf(text, sizeof text, "%2.2X.%2.2X.%2.2X.%2.2X.%2.2X.%2.2X\n", bytes[0], bytes[1], bytes[2], bytes[3],
                  bytes[4], bytes[5]);
    return text;
}
