// The download engine, without its dialog, on the real replaced stack:
// Kestra32 and Molven32 linked at load time, a real atnetd on the sample
// world, its spool and trace read back.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "download_engine.h"
#include "real_job_host.h"
#include "win32_pap_stack.h"

namespace {

using nlohmann::json;

class RealStackDownload : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = service_.Dir() + "job\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA((folder_ + "product\\").c_str(), nullptr);
    }

    std::string AddFile(const std::string& name, const std::string& bytes)
    {
        attest::WriteFile(folder_ + name, bytes);
        return folder_ + name;
    }

    // The trace lines of `op` once there are at least `count` of them (the
    // service writes a request when it completes).
    std::vector<json> AwaitTrace(const std::string& op, std::size_t count)
    {
        std::vector<json> lines;
        for (int i = 0; i < 250; ++i) {
            lines = service_.TraceOf(op);
            if (lines.size() >= count)
                break;
            Sleep(20);
        }
        return lines;
    }

    attest::AtnetdProcess service_;
    Win32PapStack stack_;
    RealHost host_;
    std::string folder_;
};

TEST_F(RealStackDownload, TwoFilesReachTheSpoolTheTraceTheResponseAndTheLog)
{
    ASSERT_TRUE(service_.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    std::string first(8192, '\0');
    for (std::size_t i = 0; i < first.size(); ++i)
        first[i] = static_cast<char>('a' + i % 26);
    first[0] = '\x04';
    first[5000] = '\x04';
    const std::string second = "%!PS\r\nshowpage\r\n";

    ZJobTicket ticket(stack_);
    EXPECT_STREQ(ticket.m_printer.object, "LaserWriter Pro 630") << "the world's default printer";
    ZJobTicket::s_pDefaultStack = &stack_;
    std::unique_ptr<CObject> created(RUNTIME_CLASS(ZJobTicket)->CreateObject());
    ZJobTicket::s_pDefaultStack = nullptr;
    EXPECT_STREQ(static_cast<ZJobTicket*>(created.get())->m_printer.object, "LaserWriter Pro 630")
        << "dynamic creation asks the same stack";
    ticket.AddFile(AddFile("first.ps", first));
    ticket.AddFile(AddFile("second.ps", second));
    StdioJobFiles files(folder_);
    {
        PAPDownloadEngine engine(&ticket, stack_, host_, files, folder_ + "product\\");
        engine.RunJob();
        EXPECT_EQ(engine.Block(), nullptr);
    }
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogOK});
    EXPECT_TRUE(host_.errors.empty());
    ASSERT_GE(host_.statusLines.size(), 3u);
    EXPECT_EQ(host_.statusLines.front(), "Status: Opening Printer");
    EXPECT_EQ(host_.statusLines.back(), "Status: Closing Printer");

    // The exact bytes, one spool file per file.
    auto spool = service_.SpoolFiles();
    std::sort(spool.begin(), spool.end());
    ASSERT_EQ(spool.size(), 2u);
    std::string sentFirst = first;
    sentFirst[0] = ' ';
    EXPECT_EQ(attest::ReadFile(service_.SpoolDir() + spool[0]), sentFirst);
    EXPECT_EQ(attest::ReadFile(service_.SpoolDir() + spool[1]), second);

    // The writes: 4096 + 4096 without EOF, 0 with EOF; then the short file.
    const auto writes = AwaitTrace("pap.write", 4);
    ASSERT_EQ(writes.size(), 4u);
    const int lengths[] = {4096, 4096, 0, static_cast<int>(second.size())};
    const bool eofs[] = {false, false, true, true};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(writes[i]["in"]["length"], lengths[i]) << i;
        EXPECT_EQ(writes[i]["in"]["eof"], eofs[i]) << i;
        EXPECT_EQ(writes[i]["result"], 0) << i;
    }
    const auto opens = service_.TraceOf("pap.open");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0]["in"]["quantum"], 8);
    EXPECT_EQ(AwaitTrace("pap.close", 1).size(), 1u);
    const auto allocs = service_.TraceOf("mpp.alloc");
    ASSERT_EQ(allocs.size(), 1u);
    EXPECT_EQ(allocs[0]["in"]["size"], kPAPJobBlockSize);
    EXPECT_EQ(AwaitTrace("mpp.free", 1).size(), 1u);

    // Both replies, in order, and one log line per file.
    const std::string reply = "%%[ status: end of job ]%%\r\n";
    EXPECT_EQ(attest::ReadFile(folder_ + "Response.txt"), reply + reply);
    EXPECT_EQ(attest::ReadFile(folder_ + "product\\VestrelUtil.txt"),
              "DownLoaded File first.ps\r\nDownLoaded File second.ps\r\n");
}

TEST_F(RealStackDownload, CancelWhileTheOpenWaitsCancelsItAndNeverCloses)
{
    ASSERT_TRUE(service_.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    ZJobTicket ticket(stack_);
    std::memset(&ticket.m_printer, 0, sizeof ticket.m_printer);
    std::strcpy(ticket.m_printer.object, "Lab LaserWriter II");  // opens after 1.5 s
    std::strcpy(ticket.m_printer.type, "LaserWriter");
    std::strcpy(ticket.m_printer.zone, "Engineering");
    ticket.AddFile(AddFile("a.ps", "never sent"));
    StdioJobFiles files(folder_);
    PAPDownloadEngine engine(&ticket, stack_, host_, files, folder_);
    host_.onPump = [&] {
        if (host_.pumps == 3)
            engine.OnCancel();
    };
    engine.RunJob();
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_EQ(engine.Block(), nullptr);

    const auto opens = AwaitTrace("pap.open", 1);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0]["result"], -1105) << "the open ended by its cancel";
    bool cancelledTheOpen = false;
    for (const auto& c : service_.TraceOf("pap.cancel"))
        cancelledTheOpen = cancelledTheOpen || c["in"]["target"] == opens[0]["in"]["reqid"];
    EXPECT_TRUE(cancelledTheOpen);
    EXPECT_TRUE(service_.TraceOf("pap.close").empty());
    EXPECT_TRUE(service_.TraceOf("pap.write").empty());
    EXPECT_TRUE(service_.SpoolFiles().empty());
    EXPECT_EQ(AwaitTrace("mpp.free", 1).size(), 1u);
}

TEST_F(RealStackDownload, ARefusedOpenNamesThePrinterAndCancels)
{
    ASSERT_TRUE(service_.Start(R"({"workstation": {"network": 7, "node": 9},
        "printers": [{"name": "Refusing LW", "openRefused": true, "openDelayMs": 200}],
        "defaultPrinter": "Refusing LW"})"));
    ZJobTicket ticket(stack_);
    ticket.AddFile(AddFile("a.ps", "x"));
    StdioJobFiles files(folder_);
    PAPDownloadEngine engine(&ticket, stack_, host_, files, folder_);
    engine.RunJob();
    EXPECT_EQ(host_.errors, std::vector<std::string>{"The printer Refusing LW could not be found on the network"});
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_EQ(engine.Block(), nullptr);
    EXPECT_TRUE(service_.TraceOf("pap.write").empty());
    EXPECT_TRUE(service_.TraceOf("pap.close").empty());
}

TEST_F(RealStackDownload, ThePrintersStatusShowsWhileTheOpenWaits)
{
    ASSERT_TRUE(service_.Start(R"({"workstation": {"network": 7, "node": 9},
        "printers": [{"name": "Slow LW", "openDelayMs": 7500, "status": {"fixed": "status: warming up"}}],
        "defaultPrinter": "Slow LW"})"));
    ZJobTicket ticket(stack_);
    ticket.AddFile(AddFile("a.ps", "x"));
    StdioJobFiles files(folder_);
    PAPDownloadEngine engine(&ticket, stack_, host_, files, folder_);
    engine.RunJob();
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogOK});
    const auto& lines = host_.statusLines;
    const auto warming = std::find(lines.begin(), lines.end(), "status: warming up");
    const auto open = std::find(lines.begin(), lines.end(), "Status: Printer Open");
    ASSERT_NE(warming, lines.end());
    EXPECT_LT(warming, open);
    EXPECT_EQ(lines.front(), "Status: Opening Printer");
    EXPECT_GE(service_.TraceOf("pap.status").size(), 1u);
}

TEST_F(RealStackDownload, AFailedWriteStopsSilentlyAndCancelCloses)
{
    ASSERT_TRUE(service_.Start(R"({"workstation": {"network": 7, "node": 9},
        "printers": [{"name": "Faulty LW", "faults": [{"at": "write", "nth": 2}]}],
        "defaultPrinter": "Faulty LW"})"));
    ZJobTicket ticket(stack_);
    ticket.AddFile(AddFile("a.ps", std::string(10000, 'z')));
    StdioJobFiles files(folder_);
    PAPDownloadEngine engine(&ticket, stack_, host_, files, folder_);
    engine.RunJob();
    EXPECT_EQ(engine.State(), JS_STOPPED);
    EXPECT_TRUE(host_.errors.empty());
    EXPECT_TRUE(host_.endCodes.empty()) << "the dialog waits for Cancel";
    EXPECT_EQ(AwaitTrace("pap.write", 2).size(), 2u);
    EXPECT_TRUE(service_.TraceOf("pap.close").empty());

    engine.OnCancel();
    EXPECT_EQ(host_.endCodes, std::vector<int>{kJobDialogCancel});
    EXPECT_EQ(engine.Block(), nullptr);
    const auto closes = AwaitTrace("pap.close", 1);
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0]["result"], 0);
    EXPECT_EQ(service_.TraceOf("pap.write").size(), 2u) << "nothing written after the failure";
    EXPECT_FALSE(std::ifstream(folder_ + "VestrelUtil.txt").good());
}

}  // namespace
