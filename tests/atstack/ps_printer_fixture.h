// The service engine, without sockets but on the real clock, with printers
// that interpret PostScript through Ghostscript: jobs are sent as the
// download engine sends them (4096-byte writes, the last with EOF, one read
// kept outstanding) and their answers, pages and trace read back.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "engine.h"
#include "world_file.h"

namespace pstest {

using nlohmann::json;
namespace fs = std::filesystem;

inline int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// What a job brought back.
struct JobResult {
    std::string reply;        // the back channel up to the job's EOF
    bool eof = false;         // the printer's EOF arrived
    json writeAnswer;         // the answer to the write that ended the job
};

class PsEngine : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("atps-") + info->test_suite_name() + "-" + info->name() + "-" +
                                            std::to_string(NowMs()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        engine_.reset();
        fs::remove_all(dir_);
    }

    void Start(const std::string& world)
    {
        engine_.reset();
        atw::WorldLoad l = atw::ReadWorld(world, "w");
        ASSERT_TRUE(l.ok) << l.error;
        engine_ = std::make_unique<atsvc::Engine>(l.world, atsvc::Options{Trace(), Spool(), State()}, NowMs());
        engine_->Connect(1, NowMs());
        engine_->Connect(2, NowMs());
    }
    std::string Trace() const { return (dir_ / "trace.jsonl").string(); }
    std::string Spool() const { return (dir_ / "spool").string(); }
    std::string State() const { return (dir_ / "state.json").string(); }

    uint32_t Request(atsvc::ClientId c, json head, std::string blob = {})
    {
        head["id"] = ++id_;
        engine_->Handle(c, {head, blob}, NowMs());
        Collect();
        return id_;
    }
    void Collect()
    {
        for (auto& o : engine_->TakeOutgoing())
            answers_[o.message.head.value("id", 0u)] = o.message;
    }
    // Runs the service (as its server loop would) until the answer comes
    // or the limit passes; a null head when it did not come.
    atwire::Message Await(uint32_t id, int limitMs = 30000)
    {
        const int64_t end = NowMs() + limitMs;
        while (!answers_.count(id) && NowMs() < end) {
            engine_->Tick(NowMs());
            Collect();
            if (!answers_.count(id))
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        atwire::Message m;
        if (answers_.count(id)) {
            m = answers_[id];
            answers_.erase(id);
        }
        return m;
    }
    atwire::Message Call(atsvc::ClientId c, json head, std::string blob = {}, int limitMs = 30000)
    {
        return Await(Request(c, std::move(head), std::move(blob)), limitMs);
    }

    int32_t Open(const std::string& printer, atsvc::ClientId c = 1)
    {
        auto a = Call(c, {{"op", "pap.open"}, {"reqid", 1}, {"object", printer}, {"type", "LaserWriter"}, {"zone", "*"}});
        return a.head.value("result", -1) == 0 ? a.head["connRef"].get<int32_t>() : 0;
    }
    // Sends `job` on an open connection and reads until the printer's EOF
    // (or the limit), as the download engine does.
    JobResult Send(int32_t conn, const std::string& job, int limitMs = 30000, atsvc::ClientId c = 1)
    {
        JobResult r;
        uint32_t read = Request(c, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
        std::size_t at = 0;
        do {
            const std::string chunk = job.substr(at, 4096);
            at += chunk.size();
            const bool eof = chunk.size() < 4096;
            auto w = Call(c, {{"op", "pap.write"}, {"connRef", conn}, {"eof", eof}}, chunk);
            if (eof)
                r.writeAnswer = w.head;
            if (eof)
                break;
        } while (true);
        ReadReply(conn, read, r, limitMs, c);
        return r;
    }
    // Reads the answer to a job up to the printer's EOF (or the limit), the
    // first read already asked for.
    void ReadReply(int32_t conn, uint32_t read, JobResult& r, int limitMs = 30000, atsvc::ClientId c = 1)
    {
        const int64_t end = NowMs() + limitMs;
        while (NowMs() < end) {
            auto a = Await(read, static_cast<int>(std::max<int64_t>(1, end - NowMs())));
            if (a.head.is_null() || a.head.value("result", -1) != 0)
                break;
            r.reply += a.blob;
            if (a.head.value("eof", false)) {
                r.eof = true;
                break;
            }
            read = Request(c, {{"op", "pap.read"}, {"connRef", conn}, {"length", 4096}});
        }
    }
    void Close(int32_t conn, atsvc::ClientId c = 1) { Call(c, {{"op", "pap.close"}, {"connRef", conn}}); }
    // One whole job on its own connection.
    JobResult Job(const std::string& printer, const std::string& job, int limitMs = 30000)
    {
        const int32_t conn = Open(printer);
        EXPECT_NE(conn, 0) << printer;
        JobResult r = Send(conn, job, limitMs);
        Close(conn);
        return r;
    }
    std::string Status(const std::string& printer, atsvc::ClientId c = 2)
    {
        auto a = Call(c, {{"op", "pap.status"}, {"reqid", 9}, {"object", printer}, {"type", "LaserWriter"}, {"zone", "*"}});
        return a.head.value("status", "");
    }
    std::vector<std::string> Lookup(const std::string& type = "LaserWriter")
    {
        auto a = Call(2, {{"op", "nbp.lookup"}, {"object", "="}, {"type", type}, {"zone", "*"}, {"max", 100},
                          {"interval", 1}, {"count", 1}});
        std::vector<std::string> names;
        for (auto& e : a.head.value("answers", json::array()))
            names.push_back(e["object"].get<std::string>());
        return names;
    }
    // Trace lines with "event" == `event`, once there are at least `count`
    // (the service writes them as the printer's work ends).
    std::vector<json> Events(const std::string& event, std::size_t count = 1, int limitMs = 30000)
    {
        const int64_t end = NowMs() + limitMs;
        while (true) {
            std::vector<json> out;
            std::ifstream in(Trace());
            std::string line;
            while (std::getline(in, line)) {
                json j = json::parse(line, nullptr, false);
                if (j.is_object() && j.value("event", "") == event)
                    out.push_back(j);
            }
            if (out.size() >= count || NowMs() >= end)
                return out;
            engine_->Tick(NowMs());
            Collect();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    std::vector<std::string> SpoolFiles() const
    {
        std::vector<std::string> names;
        std::error_code ec;
        for (fs::directory_iterator it(Spool(), ec), end; !ec && it != end; it.increment(ec))
            names.push_back(it->path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
    std::unique_ptr<atsvc::Engine> engine_;
    uint32_t id_ = 0;
    std::map<uint32_t, atwire::Message> answers_;
};

// What ImageMagick says of an image in `format` ("%wx%h"...); empty when
// it cannot be read.
inline std::string ImageInfo(const fs::path& png, const std::string& format)
{
    const std::string command = "convert '" + png.string() + "' -format '" + format + "' info: 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return {};
    char buf[64] = {};
    const bool got = std::fgets(buf, sizeof buf, p) != nullptr;
    pclose(p);
    return got ? std::string(buf) : std::string();
}

// The share of a PNG page's area that is not white (0 for a blank page);
// -1 when it cannot be read.
inline double Ink(const fs::path& png)
{
    const std::string share = ImageInfo(png, "%[fx:1-mean]");
    return share.empty() ? -1 : std::atof(share.c_str());
}

// Pixels that differ between two images, by ImageMagick; -1 when they
// cannot be compared.
inline long DifferentPixels(const fs::path& a, const fs::path& b)
{
    const std::string command = "compare -metric AE '" + a.string() + "' '" + b.string() + "' null: 2>&1";
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return -1;
    char buf[64] = {};
    const bool got = std::fgets(buf, sizeof buf, p) != nullptr;
    pclose(p);
    char* end = nullptr;
    const long n = got ? std::strtol(buf, &end, 10) : -1;
    return got && end != buf ? n : -1;
}

}  // namespace pstest
