#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "util/network/lookup_text.h"
#include "util/network/netinfo_text.h"

namespace {

TEST(LookupAddress, FieldsArePaddedWithSpacesAndAZeroNodeOrSocketIsBlank)
{
    EXPECT_EQ(FormatLookupAddress(1234, 56, 254), " 1234  56 254");
    EXPECT_EQ(FormatLookupAddress(65280, 0, 4), "65280       4");
    EXPECT_EQ(FormatLookupAddress(0, 0, 0), "    0        ");
    EXPECT_EQ(FormatLookupAddress(7, 255, 0), "    7 255    ");
}

#ifndef _WIN32
// The list shows what the C library's "%5.1u %03.u %03.u" prints.
TEST(LookupAddress, MatchesTheCLibrarysFormat)
{
    for (unsigned network : {0u, 1u, 99u, 1005u, 65535u})
        for (unsigned node : {0u, 1u, 56u, 255u})
            for (unsigned socket : {0u, 4u, 254u}) {
                char expected[32];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
                std::snprintf(expected, sizeof expected, "%5.1u %03.u %03.u", network, node, socket);
#pragma GCC diagnostic pop
                EXPECT_EQ(FormatLookupAddress(static_cast<uint16_t>(network), static_cast<uint8_t>(node),
                                              static_cast<uint8_t>(socket)),
                          expected);
            }
}
#endif

TEST(Listing, ALineIsNameTypeAndAddressWithTwoSpacesAndCrLf)
{
    EXPECT_EQ(ListingLine("Anna's PC", "VestrelNode", " 1004  17   4"), "Anna's PC  VestrelNode   1004  17   4\r\n");
}

TEST(PrintedPage, HeaderIsZoneDeviceListingAndPageNumberIn81Characters)
{
    const std::string header = PrintHeader("Isolated AppleTalk Network", "Page 1");
    EXPECT_EQ(header, "Isolated AppleTalk Network Device Listing:" + std::string(33, ' ') + "Page 1");
    EXPECT_EQ(header.size(), 81u);
    EXPECT_EQ(PrintHeader("Isolated AppleTalk Network", "Page 12").size(), 81u);

    // A zone text of more than 50 characters goes without " Device Listing:";
    // texts longer than the line get no padding.
    const std::string wide(51, 'Z');
    EXPECT_EQ(PrintHeader(wide, "Page 2"), wide + std::string(24, ' ') + "Page 2");
    const std::string fifty(50, 'Z');
    EXPECT_EQ(PrintHeader(fifty, "Page 2").substr(50, 16), " Device Listing:");
    const std::string huge(80, 'Z');
    EXPECT_EQ(PrintHeader(huge, "Page 2"), huge + "Page 2");
    EXPECT_EQ(PrintHeader("", "Page 1"), " Device Listing:" + std::string(59, ' ') + "Page 1");
}

TEST(PrintedPage, ColumnsWidenOrNarrowTogetherUntilTheAddressColumnIsNear14)
{
    PrintColumns narrow{10, 11};
    narrow.Adjust();
    EXPECT_EQ(narrow.nameWidth - 10, narrow.typeWidth - 11);
    EXPECT_LE(std::abs(narrow.AddressWidth() - 14), 1);
    EXPECT_EQ(narrow.AddressWidth(), 15);

    PrintColumns full{32, 32};
    full.Adjust();
    EXPECT_EQ(full.nameWidth, 32);
    EXPECT_EQ(full.AddressWidth(), 14);

    PrintColumns wide{40, 30};
    wide.Adjust();
    EXPECT_EQ(wide.nameWidth, 37);
    EXPECT_EQ(wide.typeWidth, 27);
    EXPECT_EQ(wide.AddressWidth(), 14);
}

TEST(PrintedPage, AnItemLineIsPaddedColumnsAndACutAddress)
{
    const PrintColumns columns{12, 14};  // address column 52
    EXPECT_EQ(PrintItemLine(columns, "Build PC", "VestrelNode", " 1001 201   4"),
              "Build PC" + std::string(4 + 2, ' ') + "VestrelNode" + std::string(3 + 2, ' ') + " 1001 201   4" +
                  std::string(39, ' '));
    const PrintColumns tight{31, 35};  // address column 12 cuts the text
    EXPECT_EQ(PrintItemLine(tight, "A", "B", " 1001 201   4").substr(31 + 2 + 35 + 2), " 1001 201   ");
}

TEST(PrintedPage, LinesPagesAndTheItemsOfAPage)
{
    EXPECT_EQ(listing::LinesPerPage(1000, 20), 43);
    EXPECT_EQ(listing::LinesPerPage(100, 20), 1) << "at least one line";
    EXPECT_EQ(listing::PageCount(0, 43), 1);
    EXPECT_EQ(listing::PageCount(1, 43), 1);
    EXPECT_EQ(listing::PageCount(43, 43), 1);
    EXPECT_EQ(listing::PageCount(44, 43), 2);
    EXPECT_EQ(listing::PageCount(1024, 43), 24);
    EXPECT_EQ(listing::ItemsOfPage(1, 43, 50).first, 0);
    EXPECT_EQ(listing::ItemsOfPage(1, 43, 50).last, 42);
    EXPECT_EQ(listing::ItemsOfPage(2, 43, 50).first, 43);
    EXPECT_EQ(listing::ItemsOfPage(2, 43, 50).last, 49);
}

TEST(NetworkInformation, AddressRangeAndAdapterTexts)
{
    EXPECT_EQ(FormatNodeAddress(1234, 56), "1234 56 (04D2 38)");
    EXPECT_EQ(FormatNodeAddress(65280, 255), "65280 255 (FF00 FF)");
    EXPECT_EQ(FormatCableRange(1000, 1009), "1000-1009");
    const uint8_t adapter[6] = {0x00, 0xA0, 0x24, 0x1B, 0x2C, 0x3D};
    EXPECT_EQ(FormatAdapterAddress(adapter), "00.A0.24.1B.2C.3D\n");
}

}  // namespace
