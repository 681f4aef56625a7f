// Key comparison and field clean-up shared by both line formats.
#include <gtest/gtest.h>

#include "table_text.h"

TEST(TableKeys, CaseIsIgnoredForLettersOfTheCodePage)
{
    EXPECT_TRUE(KeysEqual("LaserWriter", "laserwriter"));
    EXPECT_TRUE(KeysEqual("\xC0\xC9\xD6\xDE", "\xE0\xE9\xF6\xFE"));  // accented capitals
    EXPECT_TRUE(KeysEqual("\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"));  // S/OE/Z with marks, Y diaeresis
    EXPECT_TRUE(KeysEqual("", ""));
}

TEST(TableKeys, OtherCharactersMustMatchExactly)
{
    EXPECT_FALSE(KeysEqual("\xD7", "\xF7"));  // multiplication and division signs
    EXPECT_FALSE(KeysEqual("[", "{"));        // 0x5B and 0x7B are not a letter pair
    EXPECT_FALSE(KeysEqual("@", "`"));
    EXPECT_FALSE(KeysEqual("abc", "abcd"));
    EXPECT_FALSE(KeysEqual("abc", "ab"));
    EXPECT_FALSE(KeysEqual(std::string_view("a\0b", 3), std::string_view("a\0c", 3)));
}

TEST(TableFieldCleanUp, TrimCutTrimInThatOrder)
{
    EXPECT_EQ(CleanField("  abc  ", 10), "abc");
    EXPECT_EQ(CleanField("   abcdef", 3), "abc");
    EXPECT_EQ(CleanField("ab   cd", 4), "ab");
    EXPECT_EQ(CleanField(" \t\r\n\v\f", 5), "");
    EXPECT_EQ(CleanField("a\xA0", 5), "a\xA0");
}
