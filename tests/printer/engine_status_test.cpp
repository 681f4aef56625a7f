// The status line: the engine's own texts and the printer's status string,
// polled every 3 seconds, also while the open waits.
#include "engine_fixture.h"

#include <algorithm>

namespace printertest {
namespace {

using StatusLine = EngineTest;

TEST_F(StatusLine, OpeningThenThePrintersOwnStatusThenOpen)
{
    printer_.openDelayMs = 10'000;
    Engine({AddFile("a.ps", "x")});
    Run();
    const auto& lines = host_.statusLines;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Status: Opening Printer");
    EXPECT_EQ(lines[1], "status: busy; source: AppleTalk") << "shown while the open still waits";
    const auto open = std::find(lines.begin(), lines.end(), "Status: Printer Open");
    ASSERT_NE(open, lines.end());
    EXPECT_EQ(lines.back(), "Status: Closing Printer");

    const auto status = printer_.RequestsOf(kPAPStatus);
    ASSERT_GE(status.size(), 3u);
    EXPECT_GE(status[0].at, 3000) << "no poll before 3 seconds";
    for (std::size_t i = 0; i < status.size(); ++i) {
        EXPECT_EQ(status[i].printer, "LaserWriter Pro 630");
        if (i > 0) {
            EXPECT_GE(status[i].at - status[i - 1].at, 3000);
        }
    }
}

TEST_F(StatusLine, AnEmptyStatusStringIsNotShown)
{
    printer_.openDelayMs = 10'000;
    printer_.statusText = "";
    Engine({AddFile("a.ps", "x")});
    Run();
    EXPECT_GE(printer_.RequestsOf(kPAPStatus).size(), 2u);
    EXPECT_EQ(host_.statusLines,
              (std::vector<std::string>{"Status: Opening Printer", "Status: Printer Open", "Status: Closing Printer"}));
}

TEST_F(StatusLine, AStatusRequestInProgressIsNotIssuedAgain)
{
    printer_.openDelayMs = 20'000;
    printer_.statusDelayMs = 10'000;
    Engine({AddFile("a.ps", "x")});
    Run();
    const auto status = printer_.RequestsOf(kPAPStatus);
    ASSERT_GE(status.size(), 2u);
    EXPECT_GE(status[1].at, status[0].at + 10'000);
}

TEST_F(StatusLine, AFailedStatusIsNeverIssuedAgain)
{
    printer_.openDelayMs = 30'000;
    printer_.statusResult = -1028;
    Engine({AddFile("a.ps", "x")});
    Run();
    EXPECT_EQ(printer_.RequestsOf(kPAPStatus).size(), 1u);
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogOK});
}

TEST_F(StatusLine, CleanupCancelsTheStatusRequestAndClearsItsBlocks)
{
    printer_.openDelayMs = 4000;
    printer_.statusDelayMs = 60'000;
    Engine({AddFile("a.ps", "x")});
    Run();
    const auto status = printer_.RequestsOf(kPAPStatus);
    ASSERT_EQ(status.size(), 1u);
    const auto cancels = printer_.RequestsOf(kPAPCancel);
    ASSERT_EQ(cancels.size(), 1u);
    EXPECT_EQ(cancels[0].requestId, status[0].issuedId);
    EXPECT_EQ(printer_.detached, 0) << "nothing left outstanding in the freed block";
    ExpectBlockFreed();
}

}  // namespace
}  // namespace printertest
