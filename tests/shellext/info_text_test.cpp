// Numbers grouped by thousands and dates in the pages' format.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "info_text.h"

namespace {

TEST(GroupThousands, GroupsFromTheRightCountingEveryCharacter)
{
    EXPECT_EQ(GroupThousands(0), "0");
    EXPECT_EQ(GroupThousands(999), "999");
    EXPECT_EQ(GroupThousands(1000), "1,000");
    EXPECT_EQ(GroupThousands(123456789), "123,456,789");
    EXPECT_EQ(GroupThousands(1234567), "1,234,567");
    EXPECT_EQ(GroupThousands(-1), "-1");
    EXPECT_EQ(GroupThousands(-1234), "-1,234");
    EXPECT_EQ(GroupThousands(-123456), "-,123,456");  // the minus sign counts
}

class DateTextTest : public ::testing::Test {
protected:
    void SetUp() override { SetZone("UTC0"); }
    void TearDown() override { SetZone(nullptr); }
    static void SetZone(const char* zone)
    {
#ifdef _WIN32
        _putenv_s("TZ", zone ? zone : "");
        _tzset();
#else
        if (zone)
            setenv("TZ", zone, 1);
        else
            unsetenv("TZ");
        tzset();
#endif
    }
};

TEST_F(DateTextTest, LocalTimeInTheStringTableFormat)
{
    // 1996-03-10 02:00:00 UTC
    EXPECT_EQ(DateText(826423200, "%A,  %B %d, %Y at %I:%M %p", "<None>"), "Sunday,  March 10, 1996 at 02:00 AM");
    EXPECT_EQ(DateText(std::nullopt, "%A,  %B %d, %Y at %I:%M %p", "<None>"), "<None>");
}

TEST_F(DateTextTest, TextLongerThanTheBufferIsEmpty)
{
    const std::string longFormat(200, 'x');
    EXPECT_EQ(DateText(0, longFormat.c_str(), "<None>"), "");
}

}  // namespace
