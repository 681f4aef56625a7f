#include "lookup_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// printf's "%W.Pu" by hand: the precision gives the least number of digits
// (so 0 with precision 0 prints nothing), then spaces pad to the width. Done
// here because compilers warn about the "0" flag the format also carries,
// which printf ignores once a precision is given.
std::string PaddedUnsigned(unsigned value, std::size_t width, std::size_t precision)
{
    std::string digits = (value == 0 && precision == 0) ? "" : std::to_string(value);
    if (digits.size() < precision)
        digits.insert(0, precision - digits.size(), '0');
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), ' ');
    return digits;
}

}  // namespace

std::string FormatLookupAddress(uint16_t network, uint8_t node, uint8_t socket)
{
    return PaddedUnsigned(network, 5, 1) + " " + PaddedUnsigned(node, 3, 0) + " " + PaddedUnsigned(socket, 3, 0);
}

std::string ListingLine(const std::string& name, const std::string& type, const std::string& address)
{
    return name + "  " + type + "  " + address + "\r\n";
}

std::string PrintHeader(const std::string& zone, const std::string& pageText)
{
    return listing::PadPageHeader(zone.size() <= 50 ? zone + " Device Listing:" : zone, pageText);
}

void PrintColumns::Adjust()
{
    while (std::abs(AddressWidth() - 14) > 1) {
        const int step = AddressWidth() >= 14 ? 1 : -1;
        nameWidth += step;
        typeWidth += step;
    }
}

std::string PrintItemLine(const PrintColumns& columns, const std::string& name, const std::string& type,
                          const std::string& address)
{
    const int addressWidth = columns.AddressWidth();
    // Names and types are at most 32 characters and the widths stay near
    // 78 in all, so a line fits this buffer many times over.
    char line[512];
    const int n = std::snprintf(line, sizeof line, "%-*s  %-*s  %-*.*s", columns.nameWidth, name.c_str(),
                                columns.typeWidth, type.c_str(), addressWidth, addressWidth, address.c_str());
    if (n < 0)
        return {};
    return std::string(line, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof line - 1));
}
