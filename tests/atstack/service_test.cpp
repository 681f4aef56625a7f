// The real atnetd process on loopback: start-up with a free port, a world
// file with an error, clients that send garbage, vanish mid-request, never
// read, write without end or do nothing at all.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>

#include "atnetd_native.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct ProcessRun {
    int status = -1;
    std::string output;
};

// Runs atnetd to completion (for --check and refused worlds).
ProcessRun RunToEnd(const std::vector<std::string>& args)
{
    std::string cmd = ATNETD_PATH;
    for (const auto& a : args)
        cmd += " '" + a + "'";
    cmd += " 2>&1";
    ProcessRun r;
    FILE* p = popen(cmd.c_str(), "r");
    char buf[512];
    while (p && fgets(buf, sizeof buf, p))
        r.output += buf;
    r.status = p ? pclose(p) : -1;
    return r;
}

using attest::Client;
using attest::Service;

class ServiceTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("atnetd-test-" + std::to_string(getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(ServiceTest, ChecksTheSampleWorld)
{
    ProcessRun r = RunToEnd({"--world", SAMPLE_WORLD, "--check", "--no-state"});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("7 zones, 7 printers, 3 servers"), std::string::npos) << r.output;
}

TEST_F(ServiceTest, RefusesAWorldWithAnErrorNamingThePlace)
{
    std::ofstream(dir_ / "bad.json") << R"({"workstation": {"network": 1, "node": 3},
      "printers": [{"name": "A", "openDelayMs": -5}]})";
    ProcessRun r = RunToEnd({"--world", (dir_ / "bad.json").string(), "--no-state"});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find("printers[0].openDelayMs: must lie in 0..600000"), std::string::npos) << r.output;
}

TEST_F(ServiceTest, AnswersOnAFreePortAndTraces)
{
    Service s(dir_, SAMPLE_WORLD);
    ASSERT_GT(s.Port(), 0);
    Client c(s.Port());
    ASSERT_TRUE(c.Connected());
    c.Send({{"op", "hello"}, {"id", 1}, {"program", "service_test"}, {"pid", 1}});
    EXPECT_EQ(c.Receive().head["result"], 0);
    c.Send({{"op", "at.netinfo"}, {"id", 2}});
    auto m = c.Receive();
    EXPECT_EQ(m.head["id"], 2);
    EXPECT_EQ(m.head["network"], 1005);
    EXPECT_EQ(m.head["zone"], "Engineering");
    std::ifstream trace(dir_ / "trace.jsonl");
    std::string line;
    int lines = 0;
    while (std::getline(trace, line))
        ++lines;
    EXPECT_EQ(lines, 2);
}

TEST_F(ServiceTest, SurvivesGarbageAndClientsThatVanishMidRequest)
{
    Service s(dir_, SAMPLE_WORLD);
    ASSERT_GT(s.Port(), 0);
    {
        Client bad(s.Port());
        bad.SendRaw(std::string("\xff\xff\xff\x7f garbage", 12));
        EXPECT_TRUE(bad.Receive().head.is_null()) << "the service drops a client that sends garbage";
    }
    {
        // A well-formed frame whose head nests half a million levels deep.
        Client deep(s.Port());
        const std::string nested = std::string(500000, '[') + std::string(500000, ']');
        const std::string head = "{\"op\":\"at.netinfo\",\"id\":1,\"x\":" + nested + "}";
        std::string frame(8, '\0');
        const uint32_t total = static_cast<uint32_t>(4 + head.size()), headLength = static_cast<uint32_t>(head.size());
        std::memcpy(frame.data(), &total, 4);
        std::memcpy(frame.data() + 4, &headLength, 4);
        deep.SendRaw(frame + head);
        EXPECT_TRUE(deep.Receive().head.is_null()) << "the service drops a client whose head nests too deeply";
        EXPECT_TRUE(s.Alive());
    }
    {
        Client vanishing(s.Port());
        vanishing.Send({{"op", "pap.open"}, {"id", 1}, {"reqid", 1}, {"object", "LaserWriter Pro 630"},
                        {"type", "LaserWriter"}, {"zone", "*"}});
        auto m = vanishing.Receive();
        ASSERT_EQ(m.head["result"], 0);
        vanishing.Send({{"op", "pap.read"}, {"id", 2}, {"connRef", m.head["connRef"]}, {"length", 4096}});
        vanishing.Send({{"op", "nbp.lookup"}, {"id", 3}, {"object", "="}, {"type", "="}, {"zone", "*"}, {"max", 5}});
    }  // gone with a read and a lookup outstanding and a connection open
    Client good(s.Port());
    good.Send({{"op", "pap.open"}, {"id", 1}, {"reqid", 1}, {"object", "LaserWriter Pro 630"}, {"type", "LaserWriter"},
               {"zone", "Engineering"}});
    // Until the service has seen the vanished client go, the open waits
    // behind its connection and hears so first.
    auto m = good.Receive();
    while (m.head.is_object() && m.head.value("interim", false))
        m = good.Receive();
    EXPECT_EQ(m.head["result"], 0) << "the printer was freed when its last client vanished";
    EXPECT_TRUE(s.Alive());
}

TEST_F(ServiceTest, DropsAClientThatAsksButNeverReads)
{
    Service s(dir_, SAMPLE_WORLD);
    ASSERT_GT(s.Port(), 0);
    Client greedy(s.Port());
    // About 100 MB of volume buffers asked for, none taken while asking
    // (the service stops reading the client long before: its send gives up).
    std::string requests;
    for (int i = 1; i <= 40000; ++i)
        requests += atwire::Encode({{{"op", "afp.vol"}, {"id", i}, {"path", "\\\\Engineering Server\\Archive"}}, {}});
    greedy.SendRaw(requests);
    // Nothing is read until the service has given up on the client: a client
    // that reads while the service works (a slow build) would never be dropped.
    EXPECT_TRUE(s.WaitForMessage("reads nothing of", 120)) << "the service let unsent answers grow without bound";
    EXPECT_TRUE(greedy.DrainUntilClosed(60)) << "the dropped client's connection stayed open";
    EXPECT_LT(s.PeakResidentKiB(), 48 * 1024) << "unsent answers were let grow";
    Client good(s.Port());
    good.Send({{"op", "at.netinfo"}, {"id", 1}});
    EXPECT_EQ(good.Receive().head["result"], 0);
    EXPECT_TRUE(s.Alive());
}

TEST_F(ServiceTest, FourHundredIdleClientsLeaveRoomForARealOne)
{
    Service s(dir_, SAMPLE_WORLD);
    ASSERT_GT(s.Port(), 0);
    std::vector<std::unique_ptr<Client>> idle;
    for (int i = 0; i < 400; ++i) {
        idle.push_back(std::make_unique<Client>(s.Port()));
        ASSERT_TRUE(idle.back()->Connected());
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Client real(s.Port(), 10);
    real.Send({{"op", "at.netinfo"}, {"id", 1}});
    EXPECT_EQ(real.Receive().head["result"], 0) << "the newcomer waited behind 400 clients that do nothing";
    EXPECT_TRUE(s.WaitForMessage("made room for a new client", 5));
}

TEST_F(ServiceTest, AClientThatSendsNothingIsDroppedAfterTheIdleLimit)
{
    Service s(dir_, SAMPLE_WORLD, {"--idle-limit", "1"});
    ASSERT_GT(s.Port(), 0);
    Client silent(s.Port());
    EXPECT_TRUE(silent.DrainUntilClosed(10));
    EXPECT_TRUE(s.WaitForMessage("sent nothing for 1 s", 5));
}

TEST_F(ServiceTest, ListensOnLoopbackUnlessToldOtherwise)
{
    ProcessRun r = RunToEnd({"--world", SAMPLE_WORLD, "--no-state", "--check", "--listen", "0.0.0.0:0"});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find("not a loopback address"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("--allow-remote"), std::string::npos) << r.output;
    Service s(dir_, SAMPLE_WORLD, {"--listen", "0.0.0.0:0", "--allow-remote"});
    EXPECT_GT(s.Port(), 0) << "an explicit choice is taken";
}

}  // namespace
