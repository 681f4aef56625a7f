// What reaches the printer, what comes back, and what is logged, on the
// simulated LaserWriter.
#include "engine_fixture.h"

namespace printertest {
namespace {

using Transfer = EngineTest;

TEST_F(Transfer, ChunksAre4096BytesWithEOFOnlyOnTheLastWrite)
{
    struct Case {
        std::size_t size;
        std::vector<Chunk> writes;
    };
    const std::vector<Case> cases = {
        {0, {{0, true}}},
        {1, {{1, true}}},
        {4095, {{4095, true}}},
        {4096, {{4096, false}, {0, true}}},
        {8192, {{4096, false}, {4096, false}, {0, true}}},
        {10000, {{4096, false}, {4096, false}, {1808, true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        Restart();
        const std::string bytes = Pattern(c.size);
        Engine({AddFile("job.ps", bytes)});
        Run();
        EXPECT_EQ(Writes(), c.writes);
        ASSERT_EQ(printer_.Jobs().size(), 1u);
        EXPECT_EQ(printer_.Jobs()[0], bytes);
        EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogOK});
        ExpectBlockFreed();
    }
}

TEST_F(Transfer, LeadingControlDIsSentAsASpaceAndNoOtherByteChanges)
{
    std::string first = Pattern(9000);
    first[0] = '\x04';
    first[1] = '\x04';
    first[4096] = '\x04';  // the start of the second chunk is not the start of the file
    first[8999] = '\x04';
    std::string second = "\x04%!PS\r\nshowpage\r\n\x04";
    const std::string third = "%!PS\x04\r\n";
    Engine({AddFile("a.ps", first), AddFile("b.ps", second), AddFile("c.ps", third)});
    Run();

    ASSERT_EQ(printer_.Jobs().size(), 3u);
    std::string expectFirst = first;
    expectFirst[0] = ' ';
    EXPECT_EQ(printer_.Jobs()[0], expectFirst);
    second[0] = ' ';
    EXPECT_EQ(printer_.Jobs()[1], second) << "every file starts afresh";
    EXPECT_EQ(printer_.Jobs()[2], third);
}

TEST_F(Transfer, OptionsThatAreOnlyRecordedChangeNoByte)
{
    const std::string bytes = "%!PS\r\n\x03\x11\x13\x14\x1A\x04 no showpage here\r\n";
    Engine({AddFile("a.ps", bytes)});
    ticket_->m_bAppendShowpage = true;
    ticket_->m_bStripCtrlChars = true;
    Run();
    ASSERT_EQ(printer_.Jobs().size(), 1u);
    EXPECT_EQ(printer_.Jobs()[0], bytes);
}

TEST_F(Transfer, AReadIsOutstandingWheneverAChunkIsWritten)
{
    printer_.replies = {"first reply", "second reply"};
    Engine({AddFile("a.ps", Pattern(9000)), AddFile("b.ps", Pattern(5000))});
    Run();
    const auto writes = printer_.RequestsOf(kPAPWrite);
    ASSERT_EQ(writes.size(), 5u);
    for (const auto& w : writes)
        EXPECT_TRUE(w.readOutstanding) << "write at " << w.at;
    EXPECT_EQ(ReadBytes(ResponsePath()), "first replysecond reply");
}

TEST_F(Transfer, WaitForEOFOffFinishesWhenTheLastWriteCompletes)
{
    printer_.replyDelayMs = 60'000;
    printer_.replies = {"done\r\n"};
    Engine({AddFile("a.ps", Pattern(100))}, /*waitForEOF=*/false);
    Run();
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogOK});
    const auto closes = printer_.RequestsOf(kPAPClose);
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_LT(closes[0].at, 60'000) << "the engine did not wait for the reply";
    EXPECT_FALSE(engine_->EOFSeen());
    EXPECT_FALSE(fs::exists(ResponsePath()));
    EXPECT_EQ(LogText(), "DownLoaded File a.ps\r\n");
}

TEST_F(Transfer, WaitForEOFOnWaitsForThePrintersEOFOfEveryFile)
{
    printer_.replyDelayMs = 20'000;
    Engine({AddFile("a.ps", Pattern(100)), AddFile("b.ps", Pattern(5000))}, /*waitForEOF=*/true);
    Run();
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogOK});
    const auto writes = printer_.RequestsOf(kPAPWrite);
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_GE(writes[1].at, writes[0].at + 20'000) << "the second file waited for the first job's EOF";
    const auto closes = printer_.RequestsOf(kPAPClose);
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_GE(closes[0].at, writes[2].at + 20'000) << "the last file waited for its own EOF";
    EXPECT_TRUE(engine_->EOFSeen());
}

TEST_F(Transfer, ReplyCaptureCreatesResponseOnlyForBytesAndAppendsInOrder)
{
    // No bytes from the printer: an old Response.txt stays as it was.
    WriteBytes(ResponsePath(), "old replies");
    Engine({AddFile("a.ps", "x")});
    Run();
    EXPECT_EQ(ReadBytes(ResponsePath()), "old replies");

    // One byte: the file is emptied and holds it.
    Restart();
    printer_.replies = {"!"};
    Engine({AddFile("a.ps", "x")});
    Run();
    EXPECT_EQ(ReadBytes(ResponsePath()), "!");

    // Several jobs, replies longer than a read: all kept, in order, nothing added.
    Restart();
    const std::string longReply = Pattern(9000, 'a');
    printer_.replies = {"%%[ first ]%%\r\n", "", longReply};
    Engine({AddFile("a.ps", "1"), AddFile("b.ps", "2"), AddFile("c.ps", "3")});
    Run();
    EXPECT_EQ(ReadBytes(ResponsePath()), "%%[ first ]%%\r\n" + longReply);
}

TEST_F(Transfer, NoResponseFileWithoutDeletingAnAbsentOne)
{
    Engine({AddFile("a.ps", "x")});
    Run();
    EXPECT_FALSE(fs::exists(ResponsePath())) << "a 0-byte reply creates nothing";
    EXPECT_EQ(printer_.RequestsOf(kPAPRead).size(), 2u) << "one read kept outstanding after the reply";
}

TEST_F(Transfer, EachFileSentIsLoggedInTheProductFolder)
{
    WriteBytes(dir_ / "product" / "VestrelUtil.txt", "DownLoaded File earlier.ps\r\n");
    Engine({AddFile("first.ps", "1"), AddFile("second.txt", "2")});
    Run();
    EXPECT_EQ(LogText(), "DownLoaded File earlier.ps\r\nDownLoaded File first.ps\r\nDownLoaded File second.txt\r\n");
    EXPECT_EQ(host_.titles, (std::vector<std::string>{"first.ps", "second.txt"}));
}

TEST_F(Transfer, ProgressShowsBytesBeforeEachChunkAndEndsAtTheFullSize)
{
    Engine({AddFile("a.ps", Pattern(10000)), AddFile("empty.ps", "")});
    Run();
    EXPECT_EQ(host_.sizes, (std::vector<int32_t>{10000, 0}));
    EXPECT_EQ(host_.bytesSent, (std::vector<int32_t>{0, 4096, 8192, 10000, 0, 0}));
    EXPECT_EQ(host_.progress, (std::vector<int>{0, 40, 81, 100})) << "an empty file moves no bar";
}

TEST_F(Transfer, RequestsAreFilledAsTheStackExpects)
{
    Engine({AddFile("a.ps", Pattern(5000))});
    Run();
    EXPECT_EQ(printer_.lastAllocSize, 5u * 688 + 4 + 8192);

    const auto& all = printer_.Requests();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0].command, kPAPOpen);
    EXPECT_EQ(all[0].printer, "LaserWriter Pro 630");
    EXPECT_EQ(all[0].quantum, 8);
    for (const auto& r : all) {
        SCOPED_TRACE(r.command);
        EXPECT_EQ(r.completion, 0);
        if (r.command == kPAPClose || r.command == kPAPCancel || r.command == kPAPStatus) {
            EXPECT_EQ(r.param44, 0);
        }
        if (r.command == kPAPRead) {
            EXPECT_EQ(r.length, 4096);
            EXPECT_EQ(r.connRef, 7);
        }
        if (r.command == kPAPWrite || r.command == kPAPClose) {
            EXPECT_EQ(r.connRef, 7);
        }
    }
    // The read is posted before the first write and stays outstanding.
    std::size_t firstRead = all.size(), firstWrite = all.size();
    for (std::size_t i = all.size(); i-- > 0;) {
        if (all[i].command == kPAPRead)
            firstRead = i;
        if (all[i].command == kPAPWrite)
            firstWrite = i;
    }
    EXPECT_LT(firstRead, firstWrite);
}

TEST_F(Transfer, OneChunkPerPumpPass)
{
    Engine({AddFile("a.ps", Pattern(5 * 4096))});
    Run();
    const auto writes = printer_.RequestsOf(kPAPWrite);
    ASSERT_EQ(writes.size(), 6u);
    for (std::size_t i = 1; i < writes.size(); ++i)
        EXPECT_EQ(writes[i].at - writes[i - 1].at, 100) << "write " << i;
}

}  // namespace
}  // namespace printertest
