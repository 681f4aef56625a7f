// The printer rename job on the simulated LaserWriter: the one write and
// its bytes, the log line only after the printer's EOF, the name escaped
// for its PostScript string, a printer that refuses the job, failures and
// Cancel in every waiting state, and the job block given back exactly once.
#include "engine_fixture.h"
#include "ps_string.h"
#include "rename_job.h"

namespace printertest {
namespace {

const std::string kOldName = "LaserWriter Pro 630";

std::string ExpectedJob(const std::string& escapedName)
{
    return "%!PS-Adobe-2.0 ExitServer \n%%For:Quarnet for Windows\n%%Title:Printer Rename \n%%Creator:Vestrel \n"
           "%%CreationDate:6/15/92 \n%%BeginExitServer 0 \nserverdict begin 0 exitserver statusdict \nbegin (" +
           escapedName + ") setprintername\n%%EndExitServer\n%%EOF\n";
}

class RenameJob : public EngineTest {
protected:
    PAPRenameJob& Job()
    {
        job_ = std::make_unique<PAPRenameJob>(printer_, host_, *files_, Folder(dir_ / "product"));
        return *job_;
    }
    // Runs the rename of the default printer; `onPump` plays the user.
    void Rename(const std::string& newName, std::function<void()> onPump = nullptr)
    {
        if (!job_)
            Job();
        host_.onPump = [this, onPump] {
            if (onPump)
                onPump();
            if (printer_.NowMs() > 3'600'000 && !runaway_) {
                runaway_ = true;
                job_->OnCancel();
            }
        };
        job_->Run(*printer_.defaultPrinter, newName);
        EXPECT_FALSE(runaway_) << "the job did not end by itself";
    }
    void ExpectJobBlockFreed() const
    {
        EXPECT_EQ(printer_.allocations, 1);
        EXPECT_EQ(printer_.frees, 1);
        EXPECT_EQ(printer_.LiveBlocks(), 0);
        EXPECT_EQ(job_->Block(), nullptr);
    }
    fs::path LogPath() const { return dir_ / "product" / "VestrelUtil.txt"; }

    std::unique_ptr<PAPRenameJob> job_;
};

TEST_F(RenameJob, SendsOneWriteWithEOFAndLogsOnlyAfterThePrintersEOF)
{
    printer_.replies = {"%%[ exitserver: permanent state may be changed ]%%\r\n"};
    printer_.replyDelayMs = 5000;  // the printer withholds its EOF for 5 s
    int64_t logSeenAt = -1, eofWrittenAt = -1;
    Rename("Front Desk", [&] {
        if (eofWrittenAt < 0 && !printer_.Jobs().empty())
            eofWrittenAt = printer_.NowMs();
        if (logSeenAt < 0 && fs::exists(LogPath()))
            logSeenAt = printer_.NowMs();
    });

    const auto open = printer_.RequestsOf(kPAPOpen);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].printer, kOldName);
    EXPECT_EQ(open[0].quantum, kPAPFlowQuantum);
    const auto writes = printer_.RequestsOf(kPAPWrite);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].data, ExpectedJob("Front Desk"));
    EXPECT_EQ(writes[0].length, static_cast<int32_t>(writes[0].data.size()));
    EXPECT_TRUE(writes[0].eof);
    EXPECT_EQ(printer_.RequestsOf(kPAPClose).size(), 1u);

    ASSERT_GE(eofWrittenAt, 0);
    ASSERT_GE(logSeenAt, 0);
    EXPECT_GE(logSeenAt - eofWrittenAt, 5000) << "the line waits for the printer's EOF";
    EXPECT_EQ(ReadBytes(LogPath()), "Renamed Printer LaserWriter Pro 630 to Front Desk \r\n");
    EXPECT_EQ(ReadBytes(ResponsePath()), printer_.replies[0]);

    const std::vector<std::string> steps = {"Status: Opening Printer", "Status: Printer Open",
                                            "Status: Starting Printer Rename Operation",
                                            "Status: Printer Rename in progress ..."};
    ASSERT_GE(host_.statusLines.size(), steps.size());
    EXPECT_EQ(std::vector<std::string>(host_.statusLines.begin(), host_.statusLines.begin() + 4), steps);
    EXPECT_EQ(host_.statusLines.back(), "Status: Closing Printer");
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogOK});
    EXPECT_TRUE(host_.errors.empty());
    EXPECT_EQ(job_->State(), JS_IDLE);
    ExpectJobBlockFreed();

    // A second run of the same dialog's job does nothing.
    job_->Run(*printer_.defaultPrinter, "Again");
    EXPECT_EQ(printer_.RequestsOf(kPAPOpen).size(), 1u);
}

TEST_F(RenameJob, TheNameIsEscapedSoThePrinterReadsExactlyTheTypedBytes)
{
    EXPECT_EQ(PostScriptStringBody("a) pop (b"), "a\\) pop \\(b");
    EXPECT_EQ(PostScriptStringBody("x\\"), "x\\\\");
    EXPECT_EQ(PostScriptStringBody("(("), "\\(\\(");
    EXPECT_EQ(PostScriptStringBody("Caf\xE9\n\x01~ %"), "Caf\\351\\012\\001~ %");
    EXPECT_EQ(PostScriptStringBody(""), "");
    EXPECT_EQ(PAPRenameJob::JobText(JobTextEnglish(IDS_RENAME_JOB), "a) 100 %%"), ExpectedJob("a\\) 100 %%"));

    const std::string longest(31, 'W');
    Rename(longest);
    const auto writes = printer_.RequestsOf(kPAPWrite);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].data, ExpectedJob(longest)) << "31 characters are sent whole";
}

TEST_F(RenameJob, APrinterThatRefusesTheJobIsReportedAndNothingLogged)
{
    printer_.replies = {"%%[ Error: invalidaccess; OffendingCommand: exitserver ]%%\r\n"
                        "%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n"};
    Rename("Front Desk");
    EXPECT_EQ(host_.errors, std::vector<std::string>{
                                "The printer LaserWriter Pro 630 refused the new name \"Front Desk\" and keeps its "
                                "name.\n\n%%[ Error: invalidaccess; OffendingCommand: exitserver ]%%"});
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_EQ(printer_.RequestsOf(kPAPClose).size(), 1u);
    EXPECT_FALSE(fs::exists(LogPath()));
    ExpectJobBlockFreed();
}

TEST_F(RenameJob, ARefusedOpenNamesThePrinterAndSendsNothing)
{
    printer_.openDelayMs = 1500;
    printer_.openRefused = true;
    Rename("Front Desk");
    EXPECT_EQ(host_.errors,
              std::vector<std::string>{"The printer LaserWriter Pro 630 could not be found on the network"});
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_TRUE(printer_.RequestsOf(kPAPWrite).empty());
    EXPECT_TRUE(printer_.RequestsOf(kPAPClose).empty());
    EXPECT_FALSE(fs::exists(LogPath()));
    ExpectJobBlockFreed();
}

TEST_F(RenameJob, APrinterLostMidJobIsReportedAndTheConnectionClosed)
{
    printer_.failReadNumber = 1;
    printer_.replyDelayMs = 1000;
    Rename("Front Desk");
    EXPECT_EQ(host_.errors,
              std::vector<std::string>{"The printer LaserWriter Pro 630 could not be found on the network"});
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_EQ(printer_.RequestsOf(kPAPClose).size(), 1u);
    EXPECT_FALSE(fs::exists(LogPath())) << "no EOF, no line";
    ExpectJobBlockFreed();
}

TEST_F(RenameJob, AFailedStatusRequestShowsNotFoundAndTheJobGoesOn)
{
    printer_.statusResult = -1028;
    printer_.openDelayMs = 8000;
    Rename("Front Desk");
    const std::string notFound = "The printer LaserWriter Pro 630 could not be found on the network";
    EXPECT_NE(std::find(host_.statusLines.begin(), host_.statusLines.end(), notFound), host_.statusLines.end());
    EXPECT_EQ(printer_.RequestsOf(kPAPStatus).size(), 1u) << "a failed request is not issued again";
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogOK});
    EXPECT_EQ(ReadBytes(LogPath()), "Renamed Printer LaserWriter Pro 630 to Front Desk \r\n");
    ExpectJobBlockFreed();
}

TEST_F(RenameJob, WithoutAJobBlockNothingIsSentAndTheDialogEnds)
{
    printer_.allocFails = true;
    Rename("Front Desk");
    EXPECT_TRUE(printer_.Requests().empty());
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogOK});
    EXPECT_EQ(printer_.frees, 0);
}

// Cancel while the job waits in each state: the dialog ends once with
// IDCANCEL, a waiting open is cancelled (never closed), a connection is
// closed, nothing else is sent and the block goes back.
class RenameCancelInState : public RenameJob, public testing::WithParamInterface<JobState> {};

TEST_P(RenameCancelInState, EndsTheJobAndFreesTheBlock)
{
    const JobState target = GetParam();
    printer_.openDelayMs = 1000;
    printer_.writeDelayMs = 500;
    printer_.replyDelayMs = 2000;
    printer_.closeDelayMs = 1000;
    printer_.closeEndsReadFirst = false;
    std::size_t requestsBefore = 0;
    bool cancelled = false;
    Job();
    Rename("Front Desk", [&] {
        if (!cancelled && job_->State() == target) {
            cancelled = true;
            requestsBefore = printer_.Requests().size();
            job_->OnCancel();
        }
    });
    ASSERT_TRUE(cancelled) << "the job never waited in that state";
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_TRUE(host_.errors.empty());
    const auto& all = printer_.Requests();
    for (std::size_t i = requestsBefore; i < all.size(); ++i)
        EXPECT_TRUE(all[i].command == kPAPCancel || all[i].command == kPAPClose) << all[i].command;
    if (target == JS_OPENING) {
        EXPECT_TRUE(printer_.RequestsOf(kPAPClose).empty());
        EXPECT_EQ(printer_.RequestsOf(kPAPCancel).at(0).requestId, printer_.RequestsOf(kPAPOpen).at(0).issuedId);
    } else {
        EXPECT_FALSE(printer_.RequestsOf(kPAPClose).empty());
    }
    EXPECT_EQ(fs::exists(LogPath()), target == JS_CLOSING) << "logged only once the EOF came";
    ExpectJobBlockFreed();
}

INSTANTIATE_TEST_SUITE_P(EveryWaitingState, RenameCancelInState,
                         testing::Values(JS_OPENING, JS_LASTWRITE, JS_WAITEOF, JS_CLOSING));

}  // namespace
}  // namespace printertest
