// Printers that interpret PostScript: pages rendered into the spool, the
// LaserWriter's back channel, its server loop (exitserver, persistent
// changes, setprintername) and its status; and jobs as hostile input, each
// ended by its limits while the service goes on serving everyone else.
#include "ps_printer_fixture.h"
#include "simnet/ps_control_lines.h"

namespace {

using namespace pstest;

const char* kWorld = R"({
  "workstation": { "name": "Me", "network": 1005, "node": 56, "zone": "Eng" },
  "zones": [ { "name": "Eng", "local": true } ],
  "timing": { "nbpLookupMs": 0, "zipMs": 0 },
  "printers": [
    { "id": "lw", "name": "Lab LW", "interpreter": { "resolution": 36, "cpuSeconds": 2, "seconds": 5, "memoryMB": 128, "pages": 3,
      "outputKB": 64, "fonts": ["Courier", "Helvetica", "Times-Roman"], "product": "LaserWriter Plus" } },
    { "id": "pw", "name": "Locked LW", "password": "1234", "interpreter": true,
      "faults": [ { "at": "job", "nth": 2, "printerError": "out of paper", "ms": 1500 } ] },
    { "id": "canned", "name": "Counter", "reply": "ok\r\n" }
  ]
})";

const std::string kTypecheck =
    "%%[ Error: typecheck; OffendingCommand: moveto ]%%\r\n"
    "%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n";

// The back channel and the server loop's control lines, however the
// stream is cut into pieces.
TEST(ControlLines, AreTakenOutOfTheBackChannel)
{
    const std::string marker = "\x1b" "ATNab12:";
    const std::string stream = "hello\n" + marker + "live 10 0\n" + "\x1b" "ATNab1" + "x" + marker + "end\n" +
                               marker + std::string(2000, 'z') + "\nbye";
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{7}, stream.size()}) {
        SCOPED_TRACE(piece);
        std::string data;
        std::vector<std::string> lines;
        simnet::ControlLines split(
            marker, [&](std::string_view d) { data += d; }, [&](std::string_view l) { lines.emplace_back(l); });
        for (std::size_t at = 0; at < stream.size(); at += piece)
            split.Feed(std::string_view(stream).substr(at, piece));
        EXPECT_EQ(lines, (std::vector<std::string>{"live 10 0", "end"}));
        // A "line" too long to be one of ours stays in the back channel.
        EXPECT_EQ(data, "hello\n\x1b" "ATNab1x" + marker + std::string(2000, 'z') + "\nbye");
    }
}

class PsPrinterTest : public PsEngine {
protected:
    void SetUp() override
    {
        PsEngine::SetUp();
        Start(kWorld);
    }
    std::vector<fs::path> Pages() const
    {
        std::vector<fs::path> out;
        for (const auto& f : SpoolFiles())
            if (f.find("-page") != std::string::npos)
                out.push_back(fs::path(Spool()) / f);
        return out;
    }
};

TEST_F(PsPrinterTest, RendersPagesAndAnswersWhatTheJobPrints)
{
    auto r = Job("Lab LW", "%!PS\r\n%%Title: Hello\r\n(hello from the printer) = 2 3 add ==\r\n"
                           "/Times-Roman findfont 48 scalefont setfont 72 600 moveto (Ink) show showpage\r\n"
                           "statusdict /product get = flush\r\n");
    EXPECT_TRUE(r.eof);
    EXPECT_EQ(r.reply, "hello from the printer\n5\nLaserWriter Plus\n");
    auto ev = Events("job interpreted");
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0]["pages"], 1);
    EXPECT_EQ(ev[0]["printer"], "lw");
    EXPECT_TRUE(ev[0]["errors"].empty());
    const auto pages = Pages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(ev[0]["files"][0], pages[0].filename().string());
    EXPECT_EQ(pages[0].filename().string(), fs::path(ev[0]["spool"].get<std::string>()).stem().string() + "-page1.png");
    EXPECT_GT(Ink(pages[0]), 0.001);
    EXPECT_EQ(ImageInfo(pages[0], "%wx%h"), "306x396") << "US letter at the printer's 36 dpi";
    // A page with nothing drawn is blank, and the rendering folder is gone.
    Job("Lab LW", "showpage\n");
    ASSERT_EQ(Events("job interpreted", 2).size(), 2u);
    ASSERT_EQ(Pages().size(), 2u);
    EXPECT_LT(Ink(Pages()[1]), 1e-6);
    EXPECT_TRUE(fs::is_empty(fs::path(Spool()) / "rendering"));
}

TEST_F(PsPrinterTest, ReportsErrorsTheLaserWriterWay)
{
    auto r = Job("Lab LW", "(before) =\n(abc) 3 moveto\n(never) =\n");
    EXPECT_TRUE(r.eof);
    EXPECT_EQ(r.reply, "before\n" + kTypecheck);
    auto ev = Events("job interpreted");
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0]["errors"], json::array({"typecheck in moveto"}));
    EXPECT_EQ(ev[0]["pages"], 0);
}

TEST_F(PsPrinterTest, ExitserverKeepsChangesAcrossJobsAndRestarts)
{
    // A wrong password: the LaserWriter's error, nothing kept.
    auto r = Job("Locked LW", "serverdict begin 0 exitserver /greeting (kept) def\n");
    EXPECT_EQ(r.reply, "%%[ Error: invalidaccess; OffendingCommand: exitserver ]%%\r\n"
                       "%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n");
    // The right one: what follows persists, what came before does not.
    r = Job("Lab LW", "/before (lost) def serverdict begin 0 exitserver\n/greeting (kept) def\n");
    EXPECT_EQ(r.reply, "%%[ exitserver: permanent state may be changed ]%%\r\n");
    const std::string probe = "userdict /greeting known { greeting = } { (none) = } ifelse"
                              " userdict /before known ==\n";
    EXPECT_EQ(Job("Lab LW", probe).reply, "kept\nfalse\n");
    EXPECT_EQ(Job("Locked LW", probe).reply, "none\nfalse\n");
    // Code after exitserver inside a procedure never runs: exitserver ends
    // the job as it stands and goes on with the rest of the file.
    r = Job("Lab LW", "true { serverdict begin 0 exitserver /inside (ran) def } if /after (ran) def\n");
    EXPECT_EQ(Job("Lab LW", "userdict /inside known == userdict /after known ==\n").reply, "false\ntrue\n");

    Start(kWorld);  // the service restarts with its state file
    EXPECT_EQ(Job("Lab LW", probe).reply, "kept\nfalse\n");
    // systemdict's quit after exitserver restarts the printer: it forgets.
    r = Job("Lab LW", "serverdict begin 0 exitserver (restarting) = flush systemdict /quit get exec\n");
    EXPECT_EQ(r.reply, "%%[ exitserver: permanent state may be changed ]%%\r\nrestarting\n");
    EXPECT_EQ(Events("printer restarted").size(), 1u);
    EXPECT_EQ(Job("Lab LW", probe).reply, "none\nfalse\n");
}

TEST_F(PsPrinterTest, SetprinternameAfterExitserverRenamesThePrinter)
{
    auto r = Job("Lab LW", "statusdict begin (Sneaky) setprintername end\n");
    EXPECT_EQ(r.reply, "%%[ Error: invalidaccess; OffendingCommand: setprintername ]%%\r\n"
                       "%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n");
    r = Job("Locked LW", "serverdict begin 0 exitserver statusdict begin (Sneaky) setprintername end\n");
    EXPECT_NE(r.reply.find("invalidaccess"), std::string::npos);
    EXPECT_EQ(Lookup(), (std::vector<std::string>{"Lab LW", "Locked LW", "Counter"}));

    // The rename job as the utility sends it.
    r = Job("Lab LW", "%!PS-Adobe-2.0 ExitServer \n%%BeginExitServer 0 \nserverdict begin 0 exitserver statusdict \n"
                      "begin (Lab Printer) setprintername\n%%EndExitServer\n%%EOF\n");
    EXPECT_EQ(r.reply, "%%[ exitserver: permanent state may be changed ]%%\r\n");
    EXPECT_EQ(Lookup(), (std::vector<std::string>{"Lab Printer", "Locked LW", "Counter"}));
    auto ev = Events("printer renamed");
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0]["from"], "Lab LW");
    EXPECT_EQ(ev[0]["to"], "Lab Printer");
    EXPECT_EQ(Job("Lab Printer", "statusdict begin 40 string printername end =\n").reply, "Lab Printer\n");

    // Names NBP could not find it by, or another printer's: refused, and the
    // printer keeps its name in its later jobs too.
    for (const char* refused : {"Lab:Printer", "Lab@Home", "=", "Lab\xC5", "Locked LW"}) {
        r = Job("Lab Printer", std::string("serverdict begin 0 exitserver statusdict begin (") + refused +
                                   ") setprintername end\n");
        EXPECT_NE(r.reply.find("Error: rangecheck; OffendingCommand: setprintername"), std::string::npos) << refused << r.reply;
    }
    EXPECT_EQ(Lookup(), (std::vector<std::string>{"Lab Printer", "Locked LW", "Counter"}));
    EXPECT_EQ(Job("Lab Printer", "statusdict begin 40 string printername end =\n").reply, "Lab Printer\n");

    Start(kWorld);
    EXPECT_EQ(Lookup(), (std::vector<std::string>{"Lab Printer", "Locked LW", "Counter"}));
}

TEST_F(PsPrinterTest, StatusFollowsTheJobAndThePrinterError)
{
    EXPECT_EQ(Status("Lab LW"), "%%[ status: idle ]%%");
    const int32_t conn = Open("Lab LW");
    EXPECT_EQ(Status("Lab LW"), "%%[ status: waiting; source: AppleTalk ]%%");
    Request(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", false}}, "%!PS\n%%Title: Long one\n");
    EXPECT_EQ(Status("Lab LW"), "%%[ job: Long one; status: busy ]%%");
    auto r = Send(conn, "0 1 400000 { pop } for (done) =\n");
    EXPECT_EQ(r.reply, "done\n");
    EXPECT_EQ(Status("Lab LW"), "%%[ status: waiting; source: AppleTalk ]%%");
    Close(conn);

    // The second job of the locked printer meets its paper running out.
    Job("Locked LW", "(one) =\n");
    const int32_t c2 = Open("Locked LW");
    const uint32_t read = Request(1, {{"op", "pap.read"}, {"connRef", c2}, {"length", 4096}});
    Call(1, {{"op", "pap.write"}, {"connRef", c2}, {"eof", true}}, "(two) =\n");
    EXPECT_EQ(Status("Locked LW"), "%%[ status: PrinterError: out of paper ]%%");
    JobResult two;
    ReadReply(c2, read, two);
    EXPECT_EQ(two.reply, "two\n");
    EXPECT_NE(Status("Locked LW"), "%%[ status: PrinterError: out of paper ]%%");
    Close(c2);
}

TEST_F(PsPrinterTest, HostileJobsEndWithinTheirLimits)
{
    // A job that never ends, while others are served.
    const int32_t conn = Open("Lab LW");
    const uint32_t read = Request(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
    Call(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", true}}, "{ } loop\n");
    EXPECT_EQ(Job("Counter", "anything").reply, "ok\r\n");
    EXPECT_EQ(Job("Locked LW", "(meanwhile) =\n").reply, "meanwhile\n");
    JobResult looped;
    ReadReply(conn, read, looped);
    EXPECT_TRUE(looped.eof);
    EXPECT_EQ(looped.reply, "%%[ Error: timeout; OffendingCommand: --nostringval-- ]%%\r\n"
                            "%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n");
    Close(conn);
    // Processor time, or the wall clock on a busy machine.
    const std::string limit = Events("job interpreted", 2)[1]["limit"];
    EXPECT_TRUE(limit == "cpu" || limit == "time") << limit;

    struct Case {
        std::string job, reply;
    };
    // What another printer keeps must outlive them all.
    EXPECT_EQ(Job("Locked LW", "serverdict begin 1234 exitserver /kept (still here) def\n").reply,
              "%%[ exitserver: permanent state may be changed ]%%\r\n");
    const std::string evil = (dir_ / "written-by-a-job").string();
    const std::vector<Case> cases = {
        {"[ { 1048576 string } loop\n", "VMerror"},
        {"{ (0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef) print } loop\n",
         "%%[ Error: limitcheck; OffendingCommand: --nostringval-- ]%%"},
        {"{ showpage } loop\n", "%%[ Error: limitcheck; OffendingCommand: showpage ]%%"},
        {"(/etc/passwd) (r) file 100 string readstring pop print\n",
         "%%[ Error: invalidfileaccess; OffendingCommand: file ]%%"},
        {"(%pipe%id) (r) file 100 string readstring pop print\n", "%%[ Error: invalidfileaccess; OffendingCommand: file ]%%"},
        {"(" + evil + ") (w) file (gotcha) writestring\n", "%%[ Error: invalidfileaccess; OffendingCommand: file ]%%"},
        {"(%stdout) (w) file pop serverdict /exitserver get 0 get ==\n", "%%[ Error: invalidaccess; OffendingCommand: get ]%%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.job);
        auto r = Job("Lab LW", c.job);
        EXPECT_TRUE(r.eof);
        EXPECT_NE(r.reply.find(c.reply), std::string::npos) << r.reply.substr(0, 300);
        EXPECT_LT(r.reply.size(), 70u << 10);
    }
    EXPECT_FALSE(fs::exists(evil));
    EXPECT_EQ(Job("Locked LW", "kept =\n").reply, "still here\n");
    auto ev = Events("job interpreted", 4 + cases.size());
    EXPECT_EQ(ev[5]["limit"], "pages");
    EXPECT_EQ(ev[5]["pages"], 3);
    // Nothing in the spool but jobs and pages.
    for (const auto& f : SpoolFiles())
        EXPECT_TRUE(f == "rendering" || f.size() > 7) << f;
}

TEST_F(PsPrinterTest, AJobCutOffStopsAndThePrinterGoesOn)
{
    // Running before its end of file, then the sender goes away.
    int32_t conn = Open("Lab LW");
    Call(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", false}}, "{ } loop\n");
    Close(conn);
    auto ev = Events("job interpreted");
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0]["limit"], "killed");
    EXPECT_LT(ev[0]["ms"].get<int>(), 1500);
    // One that never sends its end of file waits for it, until its client vanishes.
    conn = Open("Lab LW");
    Call(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", false}}, "(partial) = flush\n");
    EXPECT_EQ(Events("job interpreted", 2, 300).size(), 1u);
    engine_->Disconnect(1, NowMs());
    engine_->Connect(1, NowMs());
    EXPECT_EQ(Events("job interpreted", 2).size(), 2u);
    EXPECT_EQ(Job("Lab LW", "(next) =\n").reply, "next\n");
}

}  // namespace
