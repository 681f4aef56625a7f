// The recent-printer list: entries and their order.
#include <gtest/gtest.h>

#include "nbp_names.h"
#include "recent_printers.h"

namespace {

TEST(RecentPrinters, EntriesRoundTripAndRefuseMalformedNames)
{
    const _NBPTuple lw = NBPMakeTuple("Lab: LW@2", "LaserWriter", "Engineering");
    EXPECT_EQ(FormatPrinterEntry(lw), "Lab: LW@2:LaserWriter@Engineering");
    _NBPTuple back{};
    // The object ends at the first ':', the zone starts after the last '@':
    // a colon in the object name does not survive, so such names come back
    // differently split and are refused if a part would be too long.
    ASSERT_TRUE(ParsePrinterEntry("Lab LW:LaserWriter@Engineering", &back));
    EXPECT_STREQ(back.object, "Lab LW");
    EXPECT_STREQ(back.type, "LaserWriter");
    EXPECT_STREQ(back.zone, "Engineering");
    EXPECT_EQ(back.network, 0);

    _NBPTuple untouched = NBPMakeTuple("keep", "me", "here");
    for (const char* bad : {"", "no separators", "obj:type", "obj@zone:type", ":LaserWriter@Zone", "obj:@Zone",
                            "obj:LaserWriter@", "obj:LaserWriter@a-zone-name-that-is-longer-than-32-chars"}) {
        EXPECT_FALSE(ParsePrinterEntry(bad, &untouched)) << bad;
        EXPECT_STREQ(untouched.object, "keep") << bad;
    }
    EXPECT_EQ(FormatPrinterEntry(_NBPTuple{}), "") << "no printer, no entry";
}

TEST(RecentPrinters, PromoteMovesToTheFrontDropsCaseDuplicatesAndKeepsEight)
{
    std::vector<std::string> list = {"A:LaserWriter@Z", "B:LaserWriter@Z", "C:LaserWriter@Z"};
    PromoteRecentPrinter(list, "c:laserwriter@z");
    EXPECT_EQ(list, (std::vector<std::string>{"c:laserwriter@z", "A:LaserWriter@Z", "B:LaserWriter@Z"}));
    PromoteRecentPrinter(list, "not an entry");
    EXPECT_EQ(list.size(), 3u);
    for (int i = 0; i < 10; ++i)
        PromoteRecentPrinter(list, "P" + std::to_string(i) + ":LaserWriter@Z");
    ASSERT_EQ(list.size(), kRecentPrinterLimit);
    EXPECT_EQ(list.front(), "P9:LaserWriter@Z");
    EXPECT_EQ(list.back(), "P2:LaserWriter@Z");
}

}  // namespace
