// A real atnetd process and raw clients of its wire protocol, for the
// native service tests and the soak run (POSIX only).
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "wire.h"

namespace attest {

// atnetd on a free loopback port (or `port`), with its trace (unless
// `traced` is false), spool and state in `dir` and its messages in
// dir/stderr.log.
class Service {
public:
    Service(const std::filesystem::path& dir, const std::string& world, std::vector<std::string> extra = {},
            int port = 0, bool traced = true)
        : dir_(dir), world_(world), extra_(std::move(extra)), traced_(traced)
    {
        Start(port);
    }
    ~Service() { Stop(); }

    // Starts it (again), on `port` when nonzero; false when it did not come up.
    bool Start(int port = 0)
    {
        const std::string portFile = (dir_ / "port").string();
        std::filesystem::remove(portFile);
        std::vector<std::string> args = {ATNETD_PATH,   "--world", world_, "--listen",
                                         "127.0.0.1:" + std::to_string(port),
                                         "--spool",     (dir_ / "spool").string(),
                                         "--state",     (dir_ / "state.json").string(),
                                         "--port-file", portFile};
        if (traced_) {
            args.push_back("--trace");
            args.push_back((dir_ / "trace.jsonl").string());
        }
        args.insert(args.end(), extra_.begin(), extra_.end());
        // Everything the child needs is made before the fork: other threads
        // may hold the allocator's lock at that moment.
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        // A sanitizer's quarantine of freed memory would hide what the
        // service itself holds.
        std::string asan = "ASAN_OPTIONS=quarantine_size_mb=4";
        std::vector<char*> env;
        for (char** e = environ; *e; ++e) {
            if (std::string(*e).rfind("ASAN_OPTIONS=", 0) == 0)
                asan = std::string(*e) + ":quarantine_size_mb=4";
            else
                env.push_back(*e);
        }
        env.push_back(asan.data());
        env.push_back(nullptr);
        const std::string log = (dir_ / "stderr.log").string();
        const pid_t pid = fork();
        if (pid == 0) {
            const int err = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (err >= 0)
                dup2(err, 2);
            execve(argv[0], argv.data(), env.data());
            _exit(127);
        }
        pid_ = pid;
        port_ = 0;
        for (int i = 0; i < 500 && port_ == 0 && Alive(); ++i) {
            std::ifstream in(portFile);
            in >> port_;
            if (port_ == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return port_ != 0;
    }
    void Stop()
    {
        const pid_t pid = pid_.exchange(-1);
        if (pid > 0) {
            kill(pid, SIGTERM);
            int st;
            waitpid(pid, &st, 0);
        }
    }
    int Port() const { return port_; }
    pid_t Pid() const { return pid_; }
    bool Alive()
    {
        int st;
        const pid_t pid = pid_;
        if (pid <= 0)
            return false;
        if (waitpid(pid, &st, WNOHANG) == 0)
            return true;
        pid_ = -1;  // it ended (and is reaped): never signal that number again
        return false;
    }

    // Resident memory now and at its peak, in KiB (from /proc).
    long ResidentKiB() const { return StatusField("VmRSS:"); }
    long PeakResidentKiB() const { return StatusField("VmHWM:"); }

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
    long StatusField(const std::string& field) const
    {
        std::ifstream in("/proc/" + std::to_string(pid_.load()) + "/status");
        std::string key;
        long value = -1;
        while (in >> key) {
            if (key == field) {
                in >> value;
                break;
            }
            in.ignore(1 << 16, '\n');
        }
        return value;
    }

    std::filesystem::path dir_;
    std::string world_;
    std::vector<std::string> extra_;
    bool traced_ = true;
    std::atomic<pid_t> pid_{-1};
    int port_ = 0;
};

// One connection speaking the wire protocol.
class Client {
public:
    explicit Client(int port, int receiveSeconds = 5)
    {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
        timeval tv{receiveSeconds, 0};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        int nodelay = 1;  // as the libraries: a request goes out at once
        setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &nodelay, sizeof nodelay);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~Client() { close(fd_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool Connected() const { return connected_; }
    // False when not all could be sent (the peer is gone or takes nothing
    // for the send time-out).
    bool SendRaw(const std::string& bytes)
    {
        std::size_t off = 0;
        while (off < bytes.size()) {
            const ssize_t n = send(fd_, bytes.data() + off, bytes.size() - off, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            off += static_cast<std::size_t>(n);
        }
        return true;
    }
    bool Send(const nlohmann::json& head, const std::string& blob = {}) { return SendRaw(atwire::Encode({head, blob})); }
    // The next message, or a null head when the connection ended or timed out.
    atwire::Message Receive()
    {
        atwire::Message m;
        char buf[65536];
        while (decoder_.Next(m) != atwire::Decoder::Status::Message) {
            const ssize_t n = recv(fd_, buf, sizeof buf, 0);
            if (n <= 0)
                return {};
            decoder_.Feed(buf, static_cast<std::size_t>(n));
        }
        return m;
    }
    // The answer to request `id`, skipping interim words and other answers;
    // a null head when the connection ended or timed out.
    atwire::Message AnswerTo(int64_t id)
    {
        while (true) {
            atwire::Message m = Receive();
            if (m.head.is_null())
                return m;
            if (m.head.value("id", int64_t{0}) == id && !m.head.value("interim", false))
                return m;
        }
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

}  // namespace attest
