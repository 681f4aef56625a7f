// The soak run of atnetd (not a test of the default suite; docs/performance.md):
// 50 clients on loopback, each a mix of lookups, zone lists, 64 KiB PAP
// jobs, status requests, cancels and jobs cut off, for two minutes, against
// printers that refuse or fail mid-job, with the service restarted once.
// Afterwards every job the service acknowledged must be in the spool byte
// for byte, every printer free, the service's memory within a fixed bound,
// and every client finished.
//
//   atnetd_soak [--seconds N] [--clients N]       exit status 0 = passed
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "atnetd_native.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr long kMemoryBoundKiB = 64 * 1024;
constexpr int kJobChunks = 16;  // 64 KiB jobs
const char* const kPrinters[] = {"P0", "P1", "P2", "P3", "P4", "Refuser", "Flaky"};

const char* kWorld = R"({
  "workstation": { "name": "Soak", "network": 1005, "node": 56, "cableRange": [1000, 1009], "zone": "Z1" },
  "zones": [ { "name": "Z1", "local": true }, { "name": "Z2", "local": true }, { "name": "Z3" } ],
  "timing": { "nbpLookupMs": 30, "zipMs": 10 },
  "printers": [
    { "name": "P0", "reply": "ok\r\n" }, { "name": "P1", "openDelayMs": 20 }, { "name": "P2", "openDelayMs": 50 },
    { "name": "P3", "zone": "Z2" }, { "name": "P4", "openDelayMs": 10 },
    { "name": "Refuser", "openRefused": true, "openDelayMs": 20 },
    { "name": "Flaky", "faults": [ { "at": "write", "nth": 3 } ] }
  ],
  "entities": [ { "object": "Mac 1", "type": "VestrelNode", "zone": "Z1" },
                { "object": "Mac 2", "type": "VestrelNode", "zone": "Z3" } ]
})";

uint64_t Hash(const std::string& bytes, uint64_t h = 1469598103934665603ull)
{
    for (unsigned char c : bytes)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

struct AckedJob {
    std::string spool;
    uint64_t hash = 0;
    std::size_t bytes = 0;
};

struct Totals {
    std::atomic<long> requests{0}, unexpected{0}, jobs{0}, cut{0}, cancels{0}, reconnects{0};
    std::mutex lock;
    std::vector<AckedJob> acked;
    std::vector<std::string> problems;
    void Problem(const std::string& what)
    {
        ++unexpected;
        std::lock_guard<std::mutex> g(lock);
        if (problems.size() < 20)
            problems.push_back(what);
    }
};

// One client: its own connection, one request at a time.
class Worker {
public:
    Worker(int index, std::atomic<int>& port, Totals& totals)
        : index_(index), port_(port), totals_(totals), rng_(static_cast<unsigned>(index) * 7919u + 17u)
    {
    }

    void Run(std::chrono::steady_clock::time_point until)
    {
        while (std::chrono::steady_clock::now() < until) {
            if (!Connected())
                continue;
            const int pick = std::uniform_int_distribution<int>(0, 99)(rng_);
            const bool ok = pick < 25   ? Lookup()
                            : pick < 35 ? Zones()
                            : pick < 50 ? Status()
                            : pick < 85 ? Job(true)
                            : pick < 95 ? OpenAndCancel()
                                        : Job(false);
            if (!ok)
                client_.reset();  // the connection broke (the restart): start again
        }
        client_.reset();
    }

private:
    bool Connected()
    {
        if (client_)
            return true;
        client_ = std::make_unique<attest::Client>(port_.load(), 30);
        if (client_->Connected()) {
            ++totals_.reconnects;
            return true;
        }
        client_.reset();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return false;
    }

    // Sends a request and waits for its answer; a null head when the
    // connection broke.
    json Ask(json head, const std::string& blob = {})
    {
        const int64_t id = ++nextId_;
        head["id"] = id;
        ++totals_.requests;
        if (!client_->Send(head, blob))
            return nullptr;
        return client_->AnswerTo(id).head;
    }
    bool Expect(const json& a, std::initializer_list<int> results, const char* what)
    {
        if (a.is_null())
            return false;
        const int r = a.value("result", 12345);
        for (int ok : results)
            if (r == ok)
                return true;
        totals_.Problem(std::string(what) + " answered " + a.dump());
        return true;
    }
    const char* AnyPrinter() { return kPrinters[std::uniform_int_distribution<int>(0, 6)(rng_)]; }
    json Printer(const char* name) { return {{"object", name}, {"type", "LaserWriter"}, {"zone", name[1] == '3' ? "Z2" : "Z1"}}; }

    bool Lookup()
    {
        const json a = Ask({{"op", "nbp.lookup"}, {"object", "="}, {"type", "="}, {"zone", index_ % 2 ? "Z1" : "Z3"}, {"max", 50}});
        return Expect(a, {0}, "lookup");
    }
    bool Zones() { return Expect(Ask({{"op", "zip.zones"}, {"local", index_ % 2 == 0}}), {0}, "zone list"); }
    bool Status()
    {
        json req = Printer(AnyPrinter());
        req["op"] = "pap.status";
        req["reqid"] = ++nextReq_;
        return Expect(Ask(req), {0}, "status");
    }
    // Opens `printer`: the connection, 0 when the printer refused (as some
    // do), -1 when the connection to the service broke.
    int64_t Open(const char* printer)
    {
        json req = Printer(printer);
        req["op"] = "pap.open";
        req["reqid"] = ++nextReq_;
        const json a = Ask(req);
        if (a.is_null())
            return -1;
        if (a.value("result", 1) == 0)
            return a.value("connRef", int64_t{0});
        Expect(a, {-1096}, "open");
        return 0;
    }
    bool Close(int64_t conn) { return Expect(Ask({{"op", "pap.close"}, {"connRef", conn}}), {0}, "close"); }

    // A 64 KiB job with its EOF (`complete`), or three chunks and a close.
    bool Job(bool complete)
    {
        const char* printer = AnyPrinter();
        const int64_t conn = Open(printer);
        if (conn <= 0)
            return conn == 0;
        const bool flaky = std::string(printer) == "Flaky";
        std::string job;
        const int chunks = complete ? kJobChunks : 3;
        for (int i = 0; i < chunks; ++i) {
            std::string chunk(4096, '\0');
            for (std::size_t at = 0; at < chunk.size(); at += 4) {
                const uint32_t r = static_cast<uint32_t>(rng_());
                std::memcpy(chunk.data() + at, &r, 4);
            }
            const bool eof = complete && i == chunks - 1;
            const json a = Ask({{"op", "pap.write"}, {"connRef", conn}, {"eof", eof}}, chunk);
            if (a.is_null())
                return false;
            if (a.value("result", 1) != 0) {
                Expect(a, {flaky && i == 2 ? -1096 : 0}, "write");
                ++totals_.cut;
                return Close(conn);  // the printer failed mid-job: give up on it
            }
            job += chunk;
            if (eof) {
                std::lock_guard<std::mutex> g(totals_.lock);
                totals_.acked.push_back({a.value("spool", ""), Hash(job), job.size()});
                ++totals_.jobs;
            }
        }
        if (!complete) {
            ++totals_.cut;
            return Close(conn);
        }
        // The printer's reply, up to its EOF.
        for (int reads = 0; reads < 100; ++reads) {
            const json a = Ask({{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
            if (a.is_null())
                return false;
            if (!Expect(a, {0}, "read") || a.value("eof", false) || a.value("result", 0) != 0)
                break;
        }
        return Close(conn);
    }

    // An open cancelled at once: it ends cancelled, or it won the race and
    // its connection is closed.
    bool OpenAndCancel()
    {
        json req = Printer(AnyPrinter());
        req["op"] = "pap.open";
        const int32_t reqid = ++nextReq_;
        req["reqid"] = reqid;
        const int64_t openId = ++nextId_;
        req["id"] = openId;
        const int64_t cancelId = ++nextId_;
        totals_.requests += 2;
        ++totals_.cancels;
        if (!client_->Send(req) || !client_->Send({{"op", "pap.cancel"}, {"id", cancelId}, {"target", reqid}}))
            return false;
        json open, cancel;
        while (open.is_null() || cancel.is_null()) {
            const atwire::Message m = client_->Receive();
            if (m.head.is_null())
                return false;
            if (m.head.value("interim", false))
                continue;
            (m.head.value("id", int64_t{0}) == openId ? open : cancel) = m.head;
        }
        Expect(open, {0, -1105, -1096}, "cancelled open");
        return open.value("result", 1) != 0 || Close(open.value("connRef", int64_t{0}));
    }

    int index_;
    std::atomic<int>& port_;
    Totals& totals_;
    std::mt19937 rng_;
    std::unique_ptr<attest::Client> client_;
    int64_t nextId_ = 0;
    int32_t nextReq_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    int seconds = 120, clients = 50;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--seconds")
            seconds = std::atoi(argv[i + 1]);
        else if (a == "--clients")
            clients = std::atoi(argv[i + 1]);
    }
    const fs::path dir = fs::temp_directory_path() / ("atnetd-soak-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "world.json") << kWorld;
    attest::Service service(dir, (dir / "world.json").string());
    if (service.Port() == 0) {
        std::fprintf(stderr, "soak: the service did not start\n");
        return 1;
    }
    std::atomic<int> port{service.Port()};
    Totals totals;
    std::atomic<long> peakKiB{0};
    std::atomic<bool> sampling{true};
    std::thread sampler([&]() {
        while (sampling) {
            peakKiB = std::max(peakKiB.load(), service.ResidentKiB());
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });

    const auto start = std::chrono::steady_clock::now();
    const auto until = start + std::chrono::seconds(seconds);
    std::vector<std::thread> threads;
    std::atomic<int> finished{0};
    for (int i = 0; i < clients; ++i)
        threads.emplace_back([&, i]() {
            Worker(i, port, totals).Run(until);
            ++finished;
        });
    // The service goes down once, half way, and comes back on its port.
    std::this_thread::sleep_for(std::chrono::seconds(seconds / 2));
    const long firstPeak = service.PeakResidentKiB();
    service.Stop();
    const bool restarted = service.Start(port.load());
    // Every client must end within a minute of the end.
    const auto deadline = until + std::chrono::seconds(60);
    while (finished < clients && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const bool allFinished = finished == clients;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // Every printer free once the clients are gone.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    int busy = 0;
    {
        attest::Client probe(port.load(), 10);
        int64_t id = 0;
        for (const char* p : kPrinters) {
            probe.Send({{"op", "pap.status"}, {"id", ++id}, {"reqid", 1}, {"object", p}, {"type", "LaserWriter"},
                        {"zone", p[1] == '3' ? "Z2" : "Z1"}});
            const auto a = probe.AnswerTo(id).head;
            if (a.is_null() || a.value("status", "") != "status: idle") {
                ++busy;
                std::fprintf(stderr, "soak: printer %s is not free: %s\n", p, a.dump().c_str());
            }
        }
    }
    const long secondPeak = service.PeakResidentKiB();
    sampling = false;
    sampler.join();
    service.Stop();

    // Every acknowledged job in the spool, byte for byte.
    long missing = 0, partial = 0;
    for (const auto& job : totals.acked) {
        std::ifstream in(dir / "spool" / job.spool, std::ios::binary);
        std::string bytes(job.bytes + 1, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        if (job.spool.empty() || bytes.size() != job.bytes || Hash(bytes) != job.hash) {
            ++missing;
            if (missing <= 5)
                std::fprintf(stderr, "soak: job %s is not in the spool as it was sent\n", job.spool.c_str());
        }
    }
    for (const auto& e : fs::directory_iterator(dir / "spool"))
        partial += e.path().extension() == ".part";

    const long peak = std::max({peakKiB.load(), firstPeak, secondPeak});
    std::printf("soak: %d clients, %.1f s, service restarted once (%s)\n", clients, elapsed, restarted ? "ok" : "FAILED");
    std::printf("soak: %ld requests, %.0f requests per second, %ld reconnections\n", totals.requests.load(),
                totals.requests.load() / elapsed, totals.reconnects.load());
    std::printf("soak: %ld jobs acknowledged (%.1f MiB), %ld cut off, %ld opens cancelled\n", totals.jobs.load(),
                totals.jobs.load() * kJobChunks * 4096.0 / (1 << 20), totals.cut.load(), totals.cancels.load());
    std::printf("soak: service resident memory: peak %ld KiB (bound %ld KiB); first run %ld KiB, second %ld KiB\n", peak,
                kMemoryBoundKiB, firstPeak, secondPeak);
    for (const auto& p : totals.problems)
        std::fprintf(stderr, "soak: unexpected: %s\n", p.c_str());
    const bool passed = restarted && allFinished && busy == 0 && missing == 0 && partial == 0 &&
                        totals.unexpected == 0 && peak <= kMemoryBoundKiB && totals.jobs > 0;
    std::printf("soak: %s (clients finished %d/%d, printers busy %d, jobs missing %ld, .part files %ld, unexpected %ld)\n",
                passed ? "PASSED" : "FAILED", finished.load(), clients, busy, missing, partial, totals.unexpected.load());
    if (!allFinished) {
        std::fflush(stdout);
        std::_Exit(1);  // a client hangs: its thread cannot be joined
    }
    for (auto& t : threads)
        t.join();
    if (passed)
        fs::remove_all(dir);
    return passed ? 0 : 1;
}
