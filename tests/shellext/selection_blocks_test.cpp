// Drop lists and "Net Resource" blocks as the shell hands them over, and as
// a careless or hostile one might.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "selection_blocks.h"
#include "selection_builders.h"

namespace {

using blocks::DropList;

TEST(DropList, AnsiAndWideListsGiveTheFirstNameAndTheCount)
{
    const auto two = DropList({"N:\\Vestrel 2.5\\Read Me", "N:\\b"}, false);
    auto ansi = ReadDropList(two.data(), two.size());
    ASSERT_TRUE(ansi);
    EXPECT_FALSE(ansi->wide);
    EXPECT_EQ(ansi->first, "N:\\Vestrel 2.5\\Read Me");
    EXPECT_EQ(ansi->count, 2u);

    const auto block = DropList({"N:\\Read Me"}, true);
    auto wide = ReadDropList(block.data(), block.size());
    ASSERT_TRUE(wide);
    EXPECT_TRUE(wide->wide);
    EXPECT_EQ(wide->firstWide, u"N:\\Read Me");
    EXPECT_EQ(wide->count, 1u);
}

TEST(DropList, MalformedBlocksAreReadOnlyInsideThemselves)
{
    std::vector<uint8_t> header(19, 0);
    EXPECT_FALSE(ReadDropList(header.data(), header.size()));  // no room for the header

    auto outside = DropList({"a"}, false);
    outside[0] = 200;  // names offset past the end
    EXPECT_FALSE(ReadDropList(outside.data(), outside.size()));

    auto unended = DropList({"abc"}, false);
    unended.resize(22);  // "ab", no NUL
    auto cut = ReadDropList(unended.data(), unended.size());
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->first, "ab");
    EXPECT_EQ(cut->count, 1u);

    auto wideOdd = DropList({"ab"}, true);
    wideOdd.resize(23);  // "a" and half a character
    auto half = ReadDropList(wideOdd.data(), wideOdd.size());
    ASSERT_TRUE(half);
    EXPECT_EQ(half->firstWide, u"a");

    auto empty = DropList({}, false);
    auto none = ReadDropList(empty.data(), empty.size());
    ASSERT_TRUE(none);
    EXPECT_EQ(none->count, 0u);
}

using blocks::NetResourceBlock;

TEST(NetResourceBlock, TheLastItemAndTheCount)
{
    const auto block = NetResourceBlock({{"\\\\Engineering", "Microsoft Network"}, {"\\\\Marketing", "AppleTalk Network"}});
    auto selection = ReadNetResourceBlock(block.data(), block.size());
    ASSERT_TRUE(selection);
    EXPECT_EQ(selection->count, 2u);
    EXPECT_EQ(selection->last.remoteName, "\\\\Marketing");
    EXPECT_EQ(selection->last.provider, "AppleTalk Network");
}

TEST(NetResourceBlock, EmptyOrShortBlocksAndWildOffsets)
{
    auto none = NetResourceBlock({});
    EXPECT_FALSE(ReadNetResourceBlock(none.data(), none.size()));

    auto lying = NetResourceBlock({{"\\\\Engineering", "AppleTalk Network"}});
    const uint32_t many = 1000;
    std::memcpy(lying.data(), &many, 4);  // more items than the block holds
    EXPECT_FALSE(ReadNetResourceBlock(lying.data(), lying.size()));

    auto wild = NetResourceBlock({{"\\\\Engineering", "AppleTalk Network"}});
    const uintptr_t far = 1u << 30;
    std::memcpy(wild.data() + kNetResourceFirstEntry + 16 + sizeof(void*), &far, sizeof far);
    auto selection = ReadNetResourceBlock(wild.data(), wild.size());
    ASSERT_TRUE(selection);
    EXPECT_EQ(selection->last.remoteName, "");
    EXPECT_EQ(selection->last.provider, "AppleTalk Network");
}

}  // namespace
