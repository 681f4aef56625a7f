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

namespace {

TEST(ElapsedText, DaysThenTwoDigitHoursMinutesSeconds)
{
    const char* format = "%D Day, %H Hours, %M Minutes, %S Seconds";
    EXPECT_EQ(ElapsedText(86400 + 2 * 3600 + 3 * 60 + 4, format), "1 Day, 02 Hours, 03 Minutes, 04 Seconds");
    EXPECT_EQ(ElapsedText(0, format), "0 Day, 00 Hours, 00 Minutes, 00 Seconds");
    EXPECT_EQ(ElapsedText(40 * 86400 + 86399, format), "40 Day, 23 Hours, 59 Minutes, 59 Seconds");
    EXPECT_EQ(ElapsedText(-5, format), "0 Day, 00 Hours, 00 Minutes, 00 Seconds");
    EXPECT_EQ(ElapsedText(61, "%M:%S 100%% %x"), "01:01 100% %x");
}

}  // namespace
