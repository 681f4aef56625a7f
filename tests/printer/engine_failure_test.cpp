// Failures and Cancel: what the user sees, what the printer receives, and
// that the job block always goes back to the stack exactly once.
#include <algorithm>

#include "engine_fixture.h"

namespace printertest {
namespace {

using Failures = EngineTest;

TEST_F(Failures, RefusedOpenReportsThePrinterAndCancelsTheDialog)
{
    printer_.openDelayMs = 2000;
    printer_.openRefused = true;
    Engine({AddFile("a.ps", "x")});
    Run();
    EXPECT_EQ(host_.errors,
              std::vector<std::string>{"The printer LaserWriter Pro 630 could not be found on the network"});
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_EQ(engine_->State(), JS_STOPPED);
    EXPECT_TRUE(printer_.RequestsOf(kPAPWrite).empty());
    EXPECT_TRUE(printer_.RequestsOf(kPAPClose).empty());
    EXPECT_TRUE(printer_.RequestsOf(kPAPRead).empty());
    EXPECT_EQ(host_.statusLines.back(), "Status: Closing Printer");
    ExpectBlockFreed();
}

TEST_F(Failures, CancelWhileTheOpenWaitsCancelsTheOpenAndNeverCloses)
{
    printer_.openNeverEnds = true;
    Engine({AddFile("a.ps", "x")});
    Run([this] {
        if (host_.pumps == 5)
            engine_->OnCancel();
    });
    const auto open = printer_.RequestsOf(kPAPOpen);
    ASSERT_EQ(open.size(), 1u);
    const auto cancels = printer_.RequestsOf(kPAPCancel);
    ASSERT_GE(cancels.size(), 1u);
    EXPECT_EQ(cancels[0].requestId, open[0].issuedId);
    EXPECT_EQ(cancels[0].completion, 0);
    EXPECT_EQ(cancels[0].param44, 0);
    EXPECT_TRUE(printer_.RequestsOf(kPAPClose).empty());
    EXPECT_TRUE(host_.errors.empty()) << "a cancelled open is no failure to report";
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_EQ(printer_.detached, 0) << "the open was cancelled before the block went";
    ExpectBlockFreed();
}

TEST_F(Failures, FailedWriteStopsSilentlyAndCancelClosesTheConnection)
{
    printer_.failWriteNumber = 2;
    Engine({AddFile("a.ps", Pattern(10000)), AddFile("b.ps", "never sent")});
    Run();
    EXPECT_EQ(engine_->State(), JS_STOPPED);
    EXPECT_TRUE(host_.errors.empty());
    EXPECT_TRUE(host_.endCodes.empty()) << "the dialog waits for Cancel";
    EXPECT_EQ(Writes().size(), 2u) << "nothing written after the failure";
    EXPECT_FALSE(fs::exists(dir_ / "product" / "VestrelUtil.txt"));
    EXPECT_TRUE(printer_.RequestsOf(kPAPClose).empty());

    engine_->OnCancel();
    EXPECT_EQ(printer_.RequestsOf(kPAPClose).size(), 1u);
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    ExpectBlockFreed();
}

TEST_F(Failures, FailedReadStopsSilentlyBeforeTheNextFile)
{
    printer_.failReadNumber = 2;  // the read after the first job's reply
    printer_.replyDelayMs = 500;
    Engine({AddFile("a.ps", "first"), AddFile("b.ps", "second")});
    Run();
    EXPECT_EQ(engine_->State(), JS_STOPPED);
    EXPECT_TRUE(host_.errors.empty());
    EXPECT_TRUE(host_.endCodes.empty());
    ASSERT_EQ(printer_.Jobs().size(), 1u);
    EXPECT_EQ(printer_.Jobs()[0], "first");
    EXPECT_EQ(LogText(), "DownLoaded File a.ps\r\n");

    engine_->OnCancel();
    EXPECT_EQ(printer_.RequestsOf(kPAPClose).size(), 1u);
    ExpectBlockFreed();
}

TEST_F(Failures, AFileThatCannotBeOpenedStopsTheJobAfterTheFilesSent)
{
    const std::string missing = (dir_ / "gone.ps").string();
    Engine({AddFile("a.ps", "first"), missing, AddFile("c.ps", "third")});
    Run();
    EXPECT_EQ(host_.errors, std::vector<std::string>{"The file " + missing + " could not be accessed"});
    ASSERT_EQ(printer_.Jobs().size(), 1u);
    EXPECT_EQ(LogText(), "DownLoaded File a.ps\r\n");
    EXPECT_TRUE(host_.endCodes.empty());
    engine_->OnCancel();
    EXPECT_EQ(printer_.RequestsOf(kPAPClose).size(), 1u);
    ExpectBlockFreed();
}

TEST_F(Failures, ALogOrResponseThatCannotBeCreatedStopsNothing)
{
    printer_.replies = {"reply"};
    ticket_ = std::make_unique<ZJobTicket>(printer_);
    ticket_->AddFile(AddFile("a.ps", "x"));
    StdioJobFiles nowhere(Folder(dir_ / "no such folder"));
    // The file to send is absolute, so only the reply and the log fail.
    engine_ = std::make_unique<PAPDownloadEngine>(ticket_.get(), printer_, host_, nowhere, Folder(dir_ / "nor this"));
    Run();
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogOK});
    EXPECT_TRUE(host_.errors.empty());
    ASSERT_EQ(printer_.Jobs().size(), 1u);
    EXPECT_FALSE(fs::exists(dir_ / "no such folder"));
    ExpectBlockFreed();
}

TEST_F(Failures, WithoutAJobBlockNothingIsSentAndCancelEnds)
{
    printer_.allocFails = true;
    Engine({AddFile("a.ps", "x")});
    EXPECT_EQ(engine_->OpenPrinter(), kJobErrNoBlock);
    Run();
    EXPECT_TRUE(printer_.Requests().empty());
    EXPECT_TRUE(host_.endCodes.empty());
    engine_->OnCancel();
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_EQ(printer_.frees, 0);
}

TEST_F(Failures, OpenPrinterRefusesASecondStartAndAMissingTicket)
{
    Engine({AddFile("a.ps", "x")});
    EXPECT_EQ(engine_->OpenPrinter(), kATResultPending);
    EXPECT_EQ(engine_->OpenPrinter(), kJobErrAlreadyStarted);
    EXPECT_EQ(printer_.RequestsOf(kPAPOpen).size(), 1u);
    engine_->OnCancel();

    PAPDownloadEngine noTicket(nullptr, printer_, host_, *files_, "");
    EXPECT_EQ(noTicket.OpenPrinter(), kJobErrNoTicket);
}

TEST_F(Failures, AJobWithoutATicketSaysSoAndCancelsWithoutOpening)
{
    engine_ = std::make_unique<PAPDownloadEngine>(nullptr, printer_, host_, *files_, Folder(dir_ / "product"));
    Run();
    EXPECT_EQ(host_.errors,
              std::vector<std::string>{"There is nothing to download: no files and no printer were given"});
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_TRUE(printer_.RequestsOf(kPAPOpen).empty());
    EXPECT_EQ(std::count(host_.statusLines.begin(), host_.statusLines.end(), "Status: Printer Open"), 0);
    ExpectBlockFreed();
}

TEST_F(Failures, AnEngineNeverRunGivesItsBlockBack)
{
    Engine({AddFile("a.ps", "x")});
    engine_.reset();
    EXPECT_EQ(printer_.allocations, 1);
    EXPECT_EQ(printer_.frees, 1);
}

// Each of the two waits (the open's cancel, the status request's cancel) is
// 5 seconds at most by the clock, however long a 1 ms sleep lasts.
TEST_F(Failures, CleanupDoesNotWaitForEverForAStackThatNeverAnswers)
{
    printer_.openNeverEnds = true;
    printer_.ignoreCancels = true;
    host_.timerTickMs = 15;
    Engine({AddFile("a.ps", "x")});
    int64_t cancelledAt = -1;
    Run([&] {
        if (host_.pumps == 3) {
            cancelledAt = printer_.NowMs();
            engine_->OnCancel();
        }
    });
    ASSERT_GE(cancelledAt, 0);
    EXPECT_LE(printer_.NowMs() - cancelledAt, 2 * 5000 + 200);
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_GE(printer_.detached, 1) << "the unanswered requests were left to the stack";
    ExpectBlockFreed();
}

// Cancel pressed while the job is in each state: the dialog ends once with
// IDCANCEL, nothing but cancels and closes follows, the block goes back.
class CancelInState : public EngineTest, public testing::WithParamInterface<JobState> {};

TEST_P(CancelInState, FreesTheBlockAndSendsNothingMore)
{
    const JobState target = GetParam();
    printer_.openDelayMs = 1000;
    printer_.writeDelayMs = 300;
    printer_.replyDelayMs = 2000;
    printer_.closeDelayMs = 1000;
    printer_.closeEndsReadFirst = false;
    Engine({AddFile("a.ps", Pattern(10000)), AddFile("b.ps", Pattern(10))});
    std::size_t requestsBefore = 0;
    bool cancelled = false;
    Run([&] {
        if (!cancelled && engine_->State() == target) {
            cancelled = true;
            requestsBefore = printer_.Requests().size();
            engine_->OnCancel();
        }
    });
    ASSERT_TRUE(cancelled) << "the job never waited in that state";
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_EQ(engine_->State(), JS_STOPPED);
    const auto& all = printer_.Requests();
    for (std::size_t i = requestsBefore; i < all.size(); ++i)
        EXPECT_TRUE(all[i].command == kPAPCancel || all[i].command == kPAPClose) << all[i].command;
    if (target == JS_OPENING) {
        EXPECT_TRUE(printer_.RequestsOf(kPAPClose).empty());
    } else {
        EXPECT_FALSE(printer_.RequestsOf(kPAPClose).empty());
    }
    ExpectBlockFreed();
}

INSTANTIATE_TEST_SUITE_P(EveryWaitingState, CancelInState,
                         testing::Values(JS_OPENING, JS_SENDING, JS_LASTWRITE, JS_WAITEOF, JS_FILEDONE, JS_CLOSING));

TEST_F(Failures, CancelBeforeTheJobStartsAndAfterItStopped)
{
    Engine({AddFile("a.ps", "x")});
    engine_->OnCancel();  // JS_IDLE
    Run();
    EXPECT_TRUE(printer_.RequestsOf(kPAPOpen).empty());
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    ExpectBlockFreed();
}

}  // namespace
}  // namespace printertest
