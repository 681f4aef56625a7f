// The real atnetd process on loopback: start-up with a free port, a world
// file with an error, clients that send garbage or vanish mid-request.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "wire.h"

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

class Service {
public:
    explicit Service(const fs::path& dir, const std::string& world = SAMPLE_WORLD) : dir_(dir)
    {
        const std::string portFile = (dir / "port").string();
        pid_ = fork();
        if (pid_ == 0) {
            const std::string trace = (dir / "trace.jsonl").string();
            const std::string spool = (dir / "spool").string();
            const std::string state = (dir / "state.json").string();
            const int err = open((dir / "stderr.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (err >= 0)
                dup2(err, 2);
            execl(ATNETD_PATH, ATNETD_PATH, "--world", world.c_str(), "--listen", "127.0.0.1:0", "--trace",
                  trace.c_str(), "--spool", spool.c_str(), "--state", state.c_str(), "--port-file", portFile.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 200 && port_ == 0; ++i) {
            std::ifstream in(portFile);
            in >> port_;
            if (port_ == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~Service()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int st;
            waitpid(pid_, &st, 0);
        }
    }
    int Port() const { return port_; }
    bool Alive() const { return pid_ > 0 && kill(pid_, 0) == 0; }

    // Waits until the service's messages contain `text`.
    bool WaitForMessage(const std::string& text, int seconds) const
    {
        for (int i = 0; i < seconds * 10; ++i) {
            std::ifstream in(dir_ / "stderr.log");
            std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (all.find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

private:
    fs::path dir_;
    pid_t pid_ = -1;
    int port_ = 0;
};

class Client {
public:
    explicit Client(int port)
    {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
        timeval tv{5, 0};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~Client() { close(fd_); }
    bool Connected() const { return connected_; }
    void SendRaw(const std::string& bytes) { (void)!send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    void Send(const json& head, const std::string& blob = {}) { SendRaw(atwire::Encode({head, blob})); }
    // The next message, or a null head when the connection ended or timed out.
    atwire::Message Receive()
    {
        atwire::Message m;
        char buf[4096];
        while (decoder_.Next(m) != atwire::Decoder::Status::Message) {
            const ssize_t n = recv(fd_, buf, sizeof buf, 0);
            if (n <= 0)
                return {};
            decoder_.Feed(buf, static_cast<std::size_t>(n));
        }
        return m;
    }

    // Reads until the peer closes (true) or nothing comes for `seconds`
    // (false); slow builds may keep the service busy for a while.
    bool DrainUntilClosed(int seconds)
    {
        timeval tv{seconds, 0};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        char buf[65536];
        while (true) {
            const ssize_t n = recv(fd_, buf, sizeof buf, 0);
            if (n == 0)
                return true;
            if (n < 0)  // a reset is a close too; only a time-out means still open
                return errno == ECONNRESET;
        }
    }

private:
    int fd_ = -1;
    bool connected_ = false;
    atwire::Decoder decoder_;
};

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
    Service s(dir_);
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
    Service s(dir_);
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
    Service s(dir_);
    ASSERT_GT(s.Port(), 0);
    Client greedy(s.Port());
    // About 100 MB of volume buffers asked for, none taken while asking.
    std::string requests;
    for (int i = 1; i <= 40000; ++i)
        requests += atwire::Encode({{{"op", "afp.vol"}, {"id", i}, {"path", "\\\\Engineering Server\\Archive"}}, {}});
    greedy.SendRaw(requests);
    // Nothing is read until the service has given up on the client: a client
    // that reads while the service works (a slow build) would never be dropped.
    EXPECT_TRUE(s.WaitForMessage("reads nothing of", 120)) << "the service let unsent answers grow without bound";
    EXPECT_TRUE(greedy.DrainUntilClosed(60)) << "the dropped client's connection stayed open";
    Client good(s.Port());
    good.Send({{"op", "at.netinfo"}, {"id", 1}});
    EXPECT_EQ(good.Receive().head["result"], 0);
    EXPECT_TRUE(s.Alive());
}

}  // namespace
