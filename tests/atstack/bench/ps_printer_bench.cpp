// Benchmark (not a test): what interpreting PostScript costs a job. The
// service's engine in process on the real clock, a printer that only
// answers and one that interprets; each job is sent as the download engine
// sends it (4096-byte writes, one read kept outstanding) and timed from its
// open to its close, EOF included. Pages per second count the pages the
// interpreting printer rendered into the spool.
//   ps_printer_bench [ROUNDS]       (default 5; the median is reported)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine.h"
#include "world_file.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

double NowSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int64_t NowMs()
{
    return static_cast<int64_t>(NowSeconds() * 1000);
}

class Bench {
public:
    explicit Bench(const fs::path& dir) : dir_(dir)
    {
        const char* world = R"({"workstation": {"network": 7, "node": 9},
          "printers": [{"id": "canned", "name": "Answering LW", "reply": "%%[ status: end of job ]%%\r\n"},
                       {"id": "ps", "name": "Interpreting LW", "interpreter": true}]})";
        atw::WorldLoad l = atw::ReadWorld(world, "bench");
        engine_ = std::make_unique<atsvc::Engine>(
            l.world, atsvc::Options{"", (dir / "spool").string(), ""}, NowMs());
        engine_->Connect(1, NowMs());
    }

    // Seconds from open to close of one job.
    double Job(const std::string& printer, const std::string& job)
    {
        const double start = NowSeconds();
        auto open = Call({{"op", "pap.open"}, {"reqid", 1}, {"object", printer}, {"type", "LaserWriter"}, {"zone", "*"}});
        const int32_t conn = open.head.value("connRef", 0);
        uint32_t read = Ask({{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
        for (std::size_t at = 0;; at += 4096) {
            const std::string chunk = job.substr(std::min(at, job.size()), 4096);
            Call({{"op", "pap.write"}, {"connRef", conn}, {"eof", chunk.size() < 4096}}, chunk);
            if (chunk.size() < 4096)
                break;
        }
        while (true) {
            auto a = Wait(read);
            if (a.head.value("result", -1) != 0 || a.head.value("eof", false))
                break;
            read = Ask({{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
        }
        Call({{"op", "pap.close"}, {"connRef", conn}});
        return NowSeconds() - start;
    }

    std::size_t Pages() const
    {
        std::size_t n = 0;
        std::error_code ec;
        for (fs::directory_iterator it(dir_ / "spool", ec), end; !ec && it != end; it.increment(ec))
            n += it->path().extension() == ".png";
        return n;
    }

private:
    uint32_t Ask(json head, std::string blob = {})
    {
        head["id"] = ++id_;
        engine_->Handle(1, {head, blob}, NowMs());
        return id_;
    }
    atwire::Message Wait(uint32_t id)
    {
        while (true) {
            for (auto& o : engine_->TakeOutgoing())
                answers_[o.message.head.value("id", 0u)] = o.message;
            if (answers_.count(id)) {
                auto m = answers_[id];
                answers_.erase(id);
                return m;
            }
            // As the server loop does: sleep until the engine's next deadline.
            const int64_t next = engine_->NextDeadline();
            const int64_t wait = next < 0 ? 1 : std::clamp<int64_t>(next - NowMs(), 0, 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(wait));
            engine_->Tick(NowMs());
        }
    }
    atwire::Message Call(json head, std::string blob = {}) { return Wait(Ask(std::move(head), std::move(blob))); }

    fs::path dir_;
    std::unique_ptr<atsvc::Engine> engine_;
    uint32_t id_ = 0;
    std::map<uint32_t, atwire::Message> answers_;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Twenty pages of 60 lines of Courier, as a text printing program sends them.
std::string TextJob()
{
    std::string job = "%!PS-Adobe-2.0\n%%Title: Twenty pages of text\n%%Pages: 20\n%%EndComments\n"
                      "/Courier findfont 10 scalefont setfont\n";
    for (int page = 1; page <= 20; ++page) {
        job += "%%Page: " + std::to_string(page) + " " + std::to_string(page) + "\n";
        for (int line = 0; line < 60; ++line)
            job += "72 " + std::to_string(740 - line * 11) + " moveto (Line " + std::to_string(line + 1) + " of page " +
                   std::to_string(page) + ": the quick brown fox jumps over the lazy dog, 0123456789.) show\n";
        job += "showpage\n";
    }
    return job + "%%EOF\n";
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const fs::path dir = fs::temp_directory_path() / ("ps-printer-bench-" + std::to_string(NowMs()));
    fs::create_directories(dir);
    const std::string testPage = ReadFile(PS_PROGRAM_DIR "/testpage.ps");
    const std::string text = TextJob();
    {
        Bench bench(dir);
        bench.Job("Interpreting LW", "(warm up) =\n");  // starts the runner
        std::printf("%-22s %8s %12s %12s %10s %9s\n", "job", "bytes", "answer (s)", "interpret (s)", "added (s)",
                    "pages/s");
        for (const auto& [name, job, pages] :
             std::vector<std::tuple<std::string, std::string, int>>{{"test page", testPage, 1}, {"20 pages of text", text, 20}}) {
            std::vector<double> canned, ps;
            for (int i = 0; i < rounds; ++i) {
                canned.push_back(bench.Job("Answering LW", job));
                ps.push_back(bench.Job("Interpreting LW", job));
            }
            const double a = Median(canned), b = Median(ps);
            std::printf("%-22s %8zu %12.3f %12.3f %10.3f %9.1f\n", name.c_str(), job.size(), a, b, b - a, pages / b);
        }
        std::printf("pages rendered: %zu\n", bench.Pages());
    }
    fs::remove_all(dir);
    return 0;
}
