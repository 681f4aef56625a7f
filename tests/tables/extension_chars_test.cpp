// Which typed characters the PC Extension field lets through.
#include <gtest/gtest.h>

#include <string>

#include "extension_chars.h"

TEST(ExtensionChars, FileNameCharactersPassAndTheRestIsDropped)
{
    for (char c : std::string("azAZ09!#$%&'()+,-;=[]^_`{}~@ \b"))
        EXPECT_TRUE(IsExtensionChar(static_cast<unsigned char>(c))) << int(c);
    for (char c : std::string(".\"*?/\\:<>|\t\r\n\x1b\x7f"))
        EXPECT_FALSE(IsExtensionChar(static_cast<unsigned char>(c))) << int(c);
    EXPECT_FALSE(IsExtensionChar(0));
    for (int c = 128; c < 256; ++c)
        EXPECT_TRUE(IsExtensionChar(static_cast<unsigned char>(c))) << c;
    int allowed = 0;
    for (int c = 0; c < 128; ++c)
        allowed += IsExtensionChar(static_cast<unsigned char>(c)) ? 1 : 0;
    EXPECT_EQ(allowed, 26 + 26 + 10 + 21 + 3);  // letters, digits, punctuation, @ space backspace
}
