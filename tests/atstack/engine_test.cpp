// The service engine without sockets: the printer's PAP state machine, the
// delayed NBP and ZIP answers, the trace, the spool and the state file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine.h"
#include "latin1.h"
#include "world_file.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

const char* kWorld = R"({
  "workstation": { "name": "Me", "network": 1005, "node": 56, "cableRange": [1000, 1009], "zone": "Eng" },
  "zones": [ { "name": "Eng", "local": true }, { "name": "Sales", "local": true }, { "name": "Far" } ],
  "timing": { "nbpLookupMs": 100, "zipMs": 10, "papTimeoutMs": 1000 },
  "limits": { "jobBytes": 10000 },
  "printers": [
    { "name": "LW", "zone": "Eng", "reply": "done\r\n", "openDelayMs": 50,
      "replies": [ { "contains": "query", "reply": "answer" } ] },
    { "name": "Faulty", "zone": "Eng", "faults": [ { "at": "write", "nth": 2 }, { "at": "read", "nth": 2, "result": -7 } ] },
    { "name": "Refuser", "zone": "Eng", "openRefused": true, "openDelayMs": 20 },
    { "name": "Pw", "zone": "Sales", "password": "1234" }
  ]
})";

class EngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("atengine-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        Start();
    }
    void TearDown() override
    {
        engine_.reset();
        fs::remove_all(dir_);
    }
    void Start()
    {
        atw::WorldLoad l = atw::ReadWorld(kWorld, "w");
        ASSERT_TRUE(l.ok) << l.error;
        engine_ = std::make_unique<atsvc::Engine>(
            l.world, atsvc::Options{(dir_ / "trace.jsonl").string(), (dir_ / "spool").string(), (dir_ / "state.json").string()},
            now_);
        engine_->Connect(1, now_);
        engine_->Connect(2, now_);
    }

    // Sends a request and returns the answers that came out at once.
    std::vector<atwire::Message> Send(atsvc::ClientId c, json head, std::string blob = {})
    {
        head["id"] = ++id_;
        engine_->Handle(c, {head, blob}, now_);
        return Take(c);
    }
    std::vector<atwire::Message> Take(atsvc::ClientId c)
    {
        for (auto& o : engine_->TakeOutgoing())
            pending_[o.client].push_back(o.message);
        auto out = pending_[c];
        pending_[c].clear();
        return out;
    }
    std::vector<atwire::Message> Advance(atsvc::ClientId c, int64_t ms)
    {
        now_ += ms;
        engine_->Tick(now_);
        return Take(c);
    }
    int32_t Open(atsvc::ClientId c, const std::string& printer, int reqid, const std::string& zone = "*")
    {
        auto r = Send(c, {{"op", "pap.open"}, {"reqid", reqid}, {"object", printer}, {"type", "LaserWriter"}, {"zone", zone}});
        if (r.empty())
            r = Advance(c, 50);
        EXPECT_EQ(r.size(), 1u);
        if (r.empty() || r[0].head["result"] != 0)
            return r.empty() ? 0 : r[0].head["result"].get<int32_t>();
        return r[0].head["connRef"].get<int32_t>();
    }
    std::string Status(const std::string& printer, const std::string& zone = "*")
    {
        auto r = Send(2, {{"op", "pap.status"}, {"reqid", 99}, {"object", printer}, {"type", "LaserWriter"}, {"zone", zone}});
        EXPECT_EQ(r.size(), 1u);
        return r.empty() ? "" : r[0].head["status"].get<std::string>();
    }
    std::vector<std::string> SpoolFiles() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_ / "spool"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string SpoolText(const std::string& name) const
    {
        std::ifstream in(dir_ / "spool" / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    int32_t Write(int32_t conn, bool eof, const std::string& data)
    {
        auto r = Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", eof}}, data);
        return r.empty() ? 1 : r[0].head["result"].get<int32_t>();
    }
    std::vector<json> Trace()
    {
        std::ifstream in(dir_ / "trace.jsonl");
        std::vector<json> lines;
        std::string line;
        while (std::getline(in, line))
            lines.push_back(json::parse(line));
        return lines;
    }

    fs::path dir_;
    int64_t now_ = 1000;
    uint32_t id_ = 0;
    std::unique_ptr<atsvc::Engine> engine_;
    std::map<atsvc::ClientId, std::vector<atwire::Message>> pending_;
};

TEST_F(EngineTest, OpenWaitsForItsDelayThenConnects)
{
    auto r = Send(1, {{"op", "pap.open"}, {"reqid", 1}, {"object", "lw"}, {"type", "LaserWriter"}, {"zone", "*"}});
    EXPECT_TRUE(r.empty());
    EXPECT_EQ(engine_->NextDeadline(), now_ + 50);
    EXPECT_TRUE(Advance(1, 49).empty());
    r = Advance(1, 1);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].head["result"], 0);
    EXPECT_GT(r[0].head["connRef"].get<int>(), 0);
}

TEST_F(EngineTest, UnknownPrinterAndRefusedOpenFail)
{
    EXPECT_EQ(Open(1, "Nobody", 1), atw::kErrNoSuchPrinter);
    EXPECT_EQ(Open(1, "Refuser", 2), atw::kErrRefused);
}

TEST_F(EngineTest, OneConnectionAtATimeSecondOpenWaitsWithBusyStatus)
{
    EXPECT_EQ(Status("LW"), "status: idle");
    const int32_t conn = Open(1, "LW", 1);
    ASSERT_GT(conn, 0);
    EXPECT_EQ(Status("LW"), "status: waiting; source: AppleTalk");
    auto r = Send(2, {{"op", "pap.open"}, {"reqid", 7}, {"object", "LW"}, {"type", "LaserWriter"}, {"zone", "Eng"}});
    ASSERT_EQ(r.size(), 1u) << "the second open hears why it waits";
    EXPECT_EQ(r[0].head["interim"], true);
    EXPECT_FALSE(r[0].head.contains("result"));
    EXPECT_EQ(r[0].head["status"], "status: busy; source: AppleTalk");
    EXPECT_TRUE(Advance(2, 500).empty()) << "the second open waits while the first connection lasts";
    Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", false}}, "abc");
    EXPECT_EQ(Status("LW"), "status: busy; source: AppleTalk");
    r = Send(1, {{"op", "pap.close"}, {"connRef", conn}});
    ASSERT_EQ(r.size(), 1u);
    r = Take(2);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].head["result"], 0);
}

TEST_F(EngineTest, CancelEndsAWaitingOpen)
{
    ASSERT_GT(Open(1, "LW", 1), 0);
    Send(2, {{"op", "pap.open"}, {"reqid", 7}, {"object", "LW"}, {"type", "LaserWriter"}, {"zone", "*"}});
    auto r = Send(2, {{"op", "pap.cancel"}, {"target", 7}});
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].head["result"], atw::kErrAborted);
    EXPECT_EQ(r[1].head["result"], 0);
    EXPECT_EQ(r[1].head["found"], true);
}

TEST_F(EngineTest, JobBytesGoToTheSpoolAndTheReplyEndsWithEOF)
{
    const int32_t conn = Open(1, "LW", 1);
    auto r = Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
    EXPECT_TRUE(r.empty()) << "nothing to read before the job ends";
    const std::string chunk(4096, 'x');
    r = Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", false}}, chunk);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].head["result"], 0);
    r = Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", true}}, "tail");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].head["result"], 0);
    const std::string spool = r[0].head["spool"];
    EXPECT_EQ(r[1].head["result"], 0);
    EXPECT_EQ(r[1].head["eof"], true);
    EXPECT_EQ(r[1].blob, "done\r\n");
    std::ifstream in(dir_ / "spool" / spool, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_EQ(s.str(), chunk + "tail");
    // The next read waits for the next job; a close ends it.
    EXPECT_TRUE(Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}}).empty());
    r = Send(1, {{"op", "pap.close"}, {"connRef", conn}});
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].head["result"], atw::kErrAborted);
    EXPECT_EQ(r[1].head["result"], 0);
}

TEST_F(EngineTest, RepliesFollowTheJobAndLongRepliesComeInPieces)
{
    const int32_t conn = Open(1, "LW", 1);
    Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", true}}, "a query job");
    auto r = Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 3}});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].blob, "ans");
    EXPECT_EQ(r[0].head["eof"], false);
    r = Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].blob, "wer");
    EXPECT_EQ(r[0].head["eof"], true);
}

TEST_F(EngineTest, EachJobEndsWithItsOwnEOFEvenWhenNoReadWaited)
{
    const int32_t conn = Open(1, "LW", 1);
    // Two jobs end before the client reads: the reads must still see two
    // replies, each with its EOF, and a third read waits.
    Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", true}}, "first job");
    Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", true}}, "a query job");
    auto r = Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].blob, "done\r\n");
    EXPECT_EQ(r[0].head["eof"], true);
    r = Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].blob, "answer");
    EXPECT_EQ(r[0].head["eof"], true);
    EXPECT_TRUE(Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}}).empty());
}

TEST_F(EngineTest, InjectedWriteAndReadFaults)
{
    const int32_t conn = Open(1, "Faulty", 1);
    EXPECT_EQ(Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", false}}, "1")[0].head["result"], 0);
    EXPECT_EQ(Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", false}}, "2")[0].head["result"], atw::kErrRefused);
    Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", true}}, "3");
    EXPECT_EQ(Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 10}})[0].head["eof"], true);
    EXPECT_EQ(Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 10}})[0].head["result"], -7);
    // Faults count per connection: a new connection writes twice again.
    Send(1, {{"op", "pap.close"}, {"connRef", conn}});
    const int32_t conn2 = Open(1, "Faulty", 2);
    EXPECT_EQ(Send(1, {{"op", "pap.write"}, {"connRef", conn2}, {"eof", false}}, "1")[0].head["result"], 0);
    EXPECT_EQ(Send(1, {{"op", "pap.write"}, {"connRef", conn2}, {"eof", false}}, "2")[0].head["result"], atw::kErrRefused);
}

TEST_F(EngineTest, RenameJobWithTheRightPasswordRenamesAndSurvivesARestart)
{
    const int32_t conn = Open(1, "Pw", 1, "Sales");
    ASSERT_GT(conn, 0);
    const std::string wrong =
        "%!PS-Adobe-2.0 ExitServer \n%%BeginExitServer 0 \nserverdict begin 0 exitserver statusdict \n"
        "begin (New Name) setprintername\n%%EndExitServer\n%%EOF\n";
    Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", true}}, wrong);
    auto r = Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_NE(r[0].blob.find("invalidaccess"), std::string::npos);
    EXPECT_EQ(Status("Pw", "Sales"), "status: waiting; source: AppleTalk");

    std::string right = wrong;
    right.replace(right.find("begin 0 exit"), 12, "begin 1234 exit");
    Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", true}}, right);
    r = Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].blob, "%%[ exitserver: permanent state may be changed ]%%\r\n");
    Send(1, {{"op", "pap.close"}, {"connRef", conn}});

    auto l = Send(1, {{"op", "nbp.lookup"}, {"object", "="}, {"type", "LaserWriter"}, {"zone", "Sales"}, {"max", 10}});
    l = Advance(1, 100);
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0].head["answers"][0]["object"], "New Name");

    engine_.reset();
    Start();
    EXPECT_EQ(Status("New Name", "Sales"), "status: idle") << "the name survives a restart (state file)";
}

TEST_F(EngineTest, LookupsAndZonesAnswerAfterTheirDelay)
{
    EXPECT_TRUE(Send(1, {{"op", "nbp.lookup"}, {"object", "="}, {"type", "="}, {"zone", "*"}, {"max", 2}}).empty());
    auto r = Advance(1, 100);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].head["result"], 0);
    EXPECT_EQ(r[0].head["answers"].size(), 2u);
    Send(1, {{"op", "nbp.lookup"}, {"object", "="}, {"type", "="}, {"zone", "Far"}, {"max", 10}});
    r = Advance(1, 100);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].head["result"].get<int32_t>() & 0xF, 4);
    EXPECT_LT(r[0].head["result"].get<int32_t>(), 0);
    Send(1, {{"op", "zip.zones"}, {"local", true}});
    r = Advance(1, 10);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].head["zones"], json::array({"Eng", "Sales"}));
}

TEST(EngineLimits, AHugeLookupAnswersWhatFitsInOneFrame)
{
    atw::World w;
    w.workstation = {"Me", 5, 3, 5, 5, "Z", {}};
    w.zones.push_back({"Z", true});
    w.timing.nbpLookupMs = 0;
    for (int i = 0; i < 20000; ++i)
        w.entities.push_back({{"Workstation number " + std::to_string(i), "VestrelNode", "Z"}, {5, 10, 4}});
    atsvc::Engine engine(w, atsvc::Options{}, 0);
    engine.Connect(1, 0);
    engine.Handle(1, {{{"op", "nbp.lookup"}, {"id", 1}, {"object", "="}, {"type", "="}, {"zone", "*"}, {"max", 65535}}, {}}, 0);
    engine.Tick(0);
    auto out = engine.TakeOutgoing();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].message.head["result"], 0);
    const std::size_t answers = out[0].message.head["answers"].size();
    EXPECT_GT(answers, 1000u);
    EXPECT_LT(answers, 20001u);
    EXPECT_LE(atwire::Encode(out[0].message).size() - 4, atwire::kMaxFrame) << "the library could not take it";
}

TEST_F(EngineTest, ZoneChangeIsCheckedAndKept)
{
    EXPECT_EQ(Send(1, {{"op", "at.setzone"}, {"zone", "Far"}})[0].head["result"], atw::kErrFailed);
    EXPECT_EQ(Send(1, {{"op", "at.setzone"}, {"zone", "sales"}})[0].head["result"], 0);
    EXPECT_EQ(Send(1, {{"op", "zip.myzone"}})[0].head["zone"], "Sales");
    EXPECT_EQ(Send(1, {{"op", "at.netinfo"}})[0].head["zone"], "Sales");
    engine_.reset();
    Start();
    EXPECT_EQ(Send(1, {{"op", "zip.myzone"}})[0].head["zone"], "Sales");
}

TEST_F(EngineTest, AClientThatVanishesLeavesNothingBehind)
{
    const int32_t conn = Open(1, "LW", 1);
    Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
    Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", false}}, "partial");
    Send(2, {{"op", "pap.open"}, {"reqid", 3}, {"object", "LW"}, {"type", "LaserWriter"}, {"zone", "*"}});
    engine_->Disconnect(1, now_);
    auto r = Advance(2, 50);
    ASSERT_EQ(r.size(), 1u) << "the waiting opener gets the printer";
    EXPECT_EQ(r[0].head["result"], 0);
    EXPECT_TRUE(Take(1).empty());
}

TEST_F(EngineTest, OnlyAnOpenQueuedBehindAConnectionHearsTheBusyStatus)
{
    // Waiting for its own delay on a free printer: no word until it connects.
    auto r = Send(1, {{"op", "pap.open"}, {"reqid", 1}, {"object", "LW"}, {"type", "LaserWriter"}, {"zone", "*"}});
    EXPECT_TRUE(r.empty());
    ASSERT_EQ(Advance(1, 50).size(), 1u);
    // A refused open is answered, never told to wait.
    r = Send(2, {{"op", "pap.open"}, {"reqid", 2}, {"object", "Refuser"}, {"type", "LaserWriter"}, {"zone", "*"}});
    EXPECT_TRUE(r.empty());
    r = Advance(2, 20);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].head["result"], atw::kErrRefused);
}

TEST_F(EngineTest, TraceHoldsEveryRequestWithInputsAndOutputs)
{
    Send(1, {{"op", "hello"}, {"program", "test.exe"}, {"pid", 42}, {"library", "Kestra32"}});
    Send(1, {{"op", "at.netinfo"}});
    Send(1, {{"op", "bogus"}});
    auto t = Trace();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[1]["op"], "at.netinfo");
    EXPECT_EQ(t[1]["client"], "test.exe#42/Kestra32");
    EXPECT_EQ(t[1]["out"]["network"], 1005);
    EXPECT_EQ(t[2]["result"], atw::kErrFailed);
}

}  // namespace

namespace {

TEST_F(EngineTest, AJobIsInItsSpoolFileAsItArrivesAndCompleteOnlyAtItsEOF)
{
    const int32_t conn = Open(1, "LW", 1);
    ASSERT_EQ(Write(conn, false, "first part "), 0);
    auto files = SpoolFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], "000001-LW.part") << "the bytes are on disk before the job ends";
    EXPECT_EQ(SpoolText(files[0]), "first part ");
    ASSERT_EQ(Write(conn, true, "and the end"), 0);
    EXPECT_EQ(SpoolFiles(), std::vector<std::string>{"000001-LW.job"});
    EXPECT_EQ(SpoolText("000001-LW.job"), "first part and the end");
}

TEST_F(EngineTest, AJobWithoutItsEOFIsKeptAsCutOff)
{
    int32_t conn = Open(1, "LW", 1);
    ASSERT_EQ(Write(conn, false, "never finished"), 0);
    Send(1, {{"op", "pap.close"}, {"connRef", conn}});
    conn = Open(2, "LW", 2);
    Send(2, {{"op", "pap.write"}, {"connRef", conn}, {"eof", false}}, "the client vanished");
    engine_->Disconnect(2, now_);
    EXPECT_EQ(SpoolFiles(), (std::vector<std::string>{"000001-LW.cut", "000002-LW.cut"}));
    EXPECT_EQ(SpoolText("000001-LW.cut"), "never finished");
    int cutEvents = 0;
    for (const auto& line : Trace())
        if (line.value("event", "") == "job cut off") {
            ++cutEvents;
            EXPECT_EQ(line["reason"], "closed");
            EXPECT_EQ(line["out"]["spool"].get<std::string>().substr(0, 6), cutEvents == 1 ? "000001" : "000002");
        }
    EXPECT_EQ(cutEvents, 2);
}

TEST_F(EngineTest, JobNumbersGoOnAfterARestartAndNoSpoolFileIsOverwritten)
{
    int32_t conn = Open(1, "LW", 1);
    ASSERT_EQ(Write(conn, true, "before the restart"), 0);
    engine_.reset();
    // A job of an earlier run, with a number above this run's.
    std::ofstream(dir_ / "spool" / "000041-Faulty.cut", std::ios::binary) << "older";
    Start();
    conn = Open(1, "LW", 1);
    ASSERT_EQ(Write(conn, true, "after the restart"), 0);
    EXPECT_EQ(SpoolFiles(), (std::vector<std::string>{"000001-LW.job", "000041-Faulty.cut", "000042-LW.job"}));
    EXPECT_EQ(SpoolText("000001-LW.job"), "before the restart");
    EXPECT_EQ(SpoolText("000041-Faulty.cut"), "older");
    EXPECT_EQ(SpoolText("000042-LW.job"), "after the restart");
}

TEST_F(EngineTest, AJobLargerThanTheLimitEndsWithAnErrorAndItsRestIsNotANewJob)
{
    const int32_t conn = Open(1, "LW", 1);
    const std::string chunk(4096, 'x');
    ASSERT_EQ(Write(conn, false, chunk), 0);
    ASSERT_EQ(Write(conn, false, chunk), 0);
    auto r = Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", false}}, chunk);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].head["result"], atw::kErrFailed) << "10000 bytes is the world's limit";
    EXPECT_EQ(r[0].head["error"], "job too large");
    EXPECT_EQ(Write(conn, false, chunk), atw::kErrFailed) << "the rest of the job is refused too";
    EXPECT_EQ(Write(conn, true, "end"), atw::kErrFailed);
    EXPECT_EQ(SpoolFiles(), std::vector<std::string>{"000001-LW.cut"});
    EXPECT_EQ(SpoolText("000001-LW.cut").size(), 8192u);
    // After the EOF of the oversized job, the next job is taken again.
    ASSERT_EQ(Write(conn, true, "small"), 0);
    EXPECT_EQ(SpoolText("000002-LW.job"), "small");
}

}  // namespace

namespace {

TEST_F(EngineTest, AJobWhoseLengthIsAMultipleOf4096EndsWithAnEmptyEOFWrite)
{
    const int32_t conn = Open(1, "LW", 1);
    ASSERT_EQ(Write(conn, false, std::string(4096, 'a')), 0);
    auto r = Send(1, {{"op", "pap.write"}, {"connRef", conn}, {"eof", true}}, "");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].head["result"], 0);
    EXPECT_EQ(r[0].head["jobBytes"], 4096);
    EXPECT_EQ(SpoolText("000001-LW.job"), std::string(4096, 'a'));
    r = Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].blob, "done\r\n");
    EXPECT_EQ(r[0].head["eof"], true);
}

TEST_F(EngineTest, EndOfJobAfterEndOfJobWithNothingReadIsRefused)
{
    const int32_t conn = Open(1, "LW", 1);
    int refused = 0;
    for (int i = 0; i < 100; ++i)
        refused += Write(conn, true, "job") != 0;
    EXPECT_EQ(refused, 100 - 16) << "replies waiting to be read are bounded";
    EXPECT_EQ(Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}}).size(), 1u);
    EXPECT_EQ(Write(conn, true, "job"), 0) << "a read makes room again";
}

TEST_F(EngineTest, OpensWaitingBehindABusyPrinterAreBounded)
{
    ASSERT_GT(Open(1, "LW", 1), 0);
    // 10,000 opens from one client: a few wait, the rest are refused at once.
    int answered = 0;
    for (int i = 0; i < 10000; ++i)
        for (const auto& m : Send(2, {{"op", "pap.open"}, {"reqid", 100 + i}, {"object", "LW"}, {"type", "LaserWriter"}, {"zone", "*"}}))
            answered += m.head.contains("result");
    EXPECT_EQ(answered, 10000 - static_cast<int>(atsvc::Engine::kMaxWaitingPerClient));
    // One open from each of 100 other clients: the printer keeps a bounded queue.
    int refused = 0;
    for (atsvc::ClientId c = 10; c < 110; ++c) {
        engine_->Connect(c, now_);
        for (const auto& m : Send(c, {{"op", "pap.open"}, {"reqid", 1}, {"object", "LW"}, {"type", "LaserWriter"}, {"zone", "*"}}))
            refused += m.head.value("result", 0) == atw::kErrRefused;
    }
    EXPECT_EQ(refused, 100);
}

TEST_F(EngineTest, ATraceFilledByOneClientStopsAtItsLimitAndSaysSo)
{
    engine_->LimitTrace(64 << 10);
    Send(1, {{"op", "note"}, {"call", "x"}, {"junk", std::string(1 << 20, 'z')}});
    Send(1, {{"op", "pap.open"}, {"reqid", 5}, {"object", "LW"}, {"type", "LaserWriter"}, {"zone", "*"},
             {"junk", json::array({std::string(1 << 20, 'z')})}});
    for (int i = 0; i < 5000; ++i)
        Send(1, {{"op", "note"}, {"call", "filler"}, {"n", i}});
    const auto size = fs::file_size(dir_ / "trace.jsonl");
    EXPECT_LE(size, (64u << 10) + 256);
    const auto lines = Trace();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_LT(lines[0].dump().size(), atsvc::Trace::kMaxLine) << "a long field is cut short";
    EXPECT_EQ(lines.back()["event"], "trace full");
}

TEST_F(EngineTest, ASilentConnectionIsClosedByThePrinterAndFreesIt)
{
    const int32_t conn = Open(1, "LW", 1);
    ASSERT_EQ(Write(conn, false, "half a job"), 0);
    Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
    Send(2, {{"op", "pap.open"}, {"reqid", 7}, {"object", "LW"}, {"type", "LaserWriter"}, {"zone", "*"}});
    Take(2);
    // A status from the connection's own client shows it is still there.
    Advance(1, 900);
    Send(1, {{"op", "pap.status"}, {"reqid", 2}, {"object", "LW"}, {"type", "LaserWriter"}, {"zone", "*"}});
    EXPECT_TRUE(Advance(1, 999).empty());
    auto r = Advance(1, 1);
    ASSERT_EQ(r.size(), 1u) << "the waiting read ends with the connection";
    EXPECT_EQ(r[0].head["result"], atw::kErrAborted);
    r = Take(2);
    ASSERT_EQ(r.size(), 1u) << "the printer is free for the next opener";
    EXPECT_EQ(r[0].head["result"], 0);
    EXPECT_EQ(Write(conn, false, "more"), atw::kErrFailed);
    EXPECT_EQ(SpoolFiles(), std::vector<std::string>{"000001-LW.cut"});
    bool timedOut = false;
    for (const auto& line : Trace())
        timedOut = timedOut || (line.value("event", "") == "job cut off" && line["reason"] == "timed out");
    EXPECT_TRUE(timedOut);
}

TEST_F(EngineTest, ARenameToANameNBPCannotFindOrThatIsTakenIsRefused)
{
    const int32_t conn = Open(1, "Pw", 1, "Sales");
    const auto rename = [&](const std::string& name) {
        Write(conn, true, "serverdict begin 1234 exitserver statusdict begin (" + name + ") setprintername end");
        auto r = Send(1, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
        return r.empty() ? std::string() : r[0].blob;
    };
    for (const char* bad : {"Lab:One", "Lab@Sales", "Lab=", "Lab\xC5"})
        EXPECT_NE(rename(bad).find("Error: rangecheck; OffendingCommand: setprintername"), std::string::npos) << bad;
    // Its own name in another case is its own; "Faulty" is a LaserWriter of
    // zone Eng, not of Sales.
    EXPECT_EQ(rename("PW").find("Error"), std::string::npos);
    EXPECT_EQ(rename("Faulty").find("Error"), std::string::npos);
    Send(1, {{"op", "pap.close"}, {"connRef", conn}});
    const int32_t lw = Open(1, "LW", 2, "Eng");
    Write(lw, true, "serverdict begin 0 exitserver (Faulty) setprintername");
    auto r = Send(1, {{"op", "pap.read"}, {"connRef", lw}, {"length", 4096}});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_NE(r[0].blob.find("rangecheck"), std::string::npos) << "another printer of the zone has that name";
    EXPECT_EQ(Status("LW", "Eng"), "status: waiting; source: AppleTalk") << "the name did not change";
}

TEST_F(EngineTest, ClosingAnEnumerationEndsItsLookupInTheService)
{
    auto r = Send(1, {{"op", "nbp.lookup"}, {"object", "="}, {"type", "="}, {"zone", "*"}, {"max", 10}});
    ASSERT_TRUE(r.empty());
    const uint32_t lookup = id_;
    engine_->Handle(1, {{{"op", "enum.end"}, {"id", 0}, {"request", lookup}, {"call", "NBPCloseEnum"}}, {}}, now_);
    r = Take(1);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].head["id"], lookup);
    EXPECT_EQ(r[0].head["result"], atw::kErrAborted);
    EXPECT_TRUE(Advance(1, 100).empty()) << "nothing more comes of the ended lookup";
}

}  // namespace
