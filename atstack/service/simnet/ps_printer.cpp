#include "ps_printer.h"

#include <algorithm>
#include <filesystem>
#include <random>

#include "latin1.h"
#include "ps_job_stream.h"

namespace simnet {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kHeadBytes = 4096;  // where a job's %%Title: is looked for
constexpr std::size_t kMaxErrors = 20;     // errors of one job the trace keeps
constexpr int64_t kPollMs = 5;             // while Ghostscript runs

const char* const kFlushing = "%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n";

std::string NewNonce()
{
    static std::mt19937_64 random{std::random_device{}()};
    static const char digits[] = "0123456789abcdef";
    std::string s;
    uint64_t v = random();
    for (int i = 0; i < 16; ++i, v >>= 4)
        s += digits[v & 15];
    return s;
}

// The page files Ghostscript wrote ("page-N.png"), in page order.
std::vector<fs::path> PageFiles(const std::string& dir)
{
    std::vector<std::pair<long, fs::path>> found;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("page-", 0) != 0 || name.size() < 10 || name.substr(name.size() - 4) != ".png")
            continue;
        const long n = std::strtol(name.c_str() + 5, nullptr, 10);
        if (n > 0)
            found.emplace_back(n, it->path());
    }
    std::sort(found.begin(), found.end());
    std::vector<fs::path> out;
    for (auto& f : found)
        out.push_back(f.second);
    return out;
}

std::string Unhex(std::string_view hex)
{
    std::string out;
    auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1]));
    return out;
}

// The job's %%Title: comment, printable and short, or nothing.
std::string TitleOf(const std::string& head)
{
    for (std::size_t at = head.find("%%Title:"); at != std::string::npos; at = head.find("%%Title:", at + 1)) {
        if (at != 0 && head[at - 1] != '\n' && head[at - 1] != '\r')
            continue;
        std::string title;
        for (std::size_t i = at + 8; i < head.size() && head[i] != '\r' && head[i] != '\n'; ++i)
            if (static_cast<unsigned char>(head[i]) >= 0x20 && head[i] != 0x7F && title.size() < 64)
                title += head[i];
        const auto first = title.find_first_not_of(' ');
        const auto last = title.find_last_not_of(' ');
        return first == std::string::npos ? std::string() : title.substr(first, last - first + 1);
    }
    return {};
}

// "%%[ Error: typecheck; OffendingCommand: moveto ]%%" lines of a back
// channel, as "typecheck in moveto".
std::vector<std::string> ErrorsIn(const std::string& text)
{
    std::vector<std::string> out;
    const std::string open = "%%[ Error: ", command = "; OffendingCommand: ", close = " ]%%";
    for (std::size_t at = text.find(open); at != std::string::npos && out.size() < kMaxErrors;
         at = text.find(open, at + 1)) {
        const std::size_t end = text.find(close, at);
        const std::size_t mid = text.find(command, at);
        if (end == std::string::npos || mid == std::string::npos || mid > end)
            continue;
        out.push_back(text.substr(at + open.size(), mid - at - open.size()) + " in " +
                      text.substr(mid + command.size(), end - mid - command.size()));
    }
    return out;
}

// The error a LaserWriter reports for a job ended by one of its limits.
std::string LimitError(const std::string& limit)
{
    std::string error, command = "--nostringval--";
    if (limit == "cpu" || limit == "time")
        error = "timeout";
    else if (limit == "memory")
        error = "VMerror";
    else if (limit == "pages")
        error = "limitcheck", command = "showpage";
    else if (limit == "output" || limit == "file" || limit == "input")
        error = "limitcheck";
    else
        return {};
    return "%%[ Error: " + error + "; OffendingCommand: " + command + " ]%%\r\n" + kFlushing;
}

}  // namespace

struct PsPrinter::Job {
    std::string pending;     // input held until Ghostscript runs
    std::string kept;        // the job's bytes, while at most kKeptBytes
    bool keptAll = true;
    std::string head;        // its first bytes, for the title
    bool received = false;   // ended with the sender's EOF
    bool cut = false;        // ended without it
    std::shared_ptr<ReplyStream> reply;
    std::string spoolPath;
    std::string unsent;      // back channel waiting for the reply stream
    std::string said;        // all of the back channel, for the trace

    int64_t run = 0;         // the runner's job; 0: not started
    bool finished = false;   // Ghostscript ended (or never will run)
    int64_t startedAt = 0;
    std::string workDir;
    std::unique_ptr<ControlLines> lines;
    bool live = false;       // the server loop reached the job itself
    bool exited = false;     // a correct exitserver
    bool endSeen = false;    // the server loop finished the job
    int64_t liveAt = 0, exitAt = -1;
    int replayPages = 0;
};

PsPrinter::PsPrinter(PrinterHost& host, std::string spoolDir)
    : spoolDir_(std::move(spoolDir)), link_(GhostscriptLink::Shared()), host_(host)
{
}

PsPrinter::~PsPrinter()
{
    for (auto& j : jobs_) {
        if (j->run && !j->finished)
            link_->Forget(j->run);
        if (!j->workDir.empty()) {
            std::error_code ec;
            fs::remove_all(j->workDir, ec);
        }
    }
}

PsPrinter::Job& PsPrinter::Receiving()
{
    if (!receiving_) {
        jobs_.push_back(std::make_unique<Job>());
        receiving_ = jobs_.back().get();
    }
    return *receiving_;
}

std::size_t PsPrinter::QueuedInput() const
{
    std::size_t n = 0;
    for (const auto& j : jobs_)
        n += j->pending.size();
    return n;
}

void PsPrinter::JobData(std::string_view bytes)
{
    Job& j = Receiving();
    if (j.head.size() < kHeadBytes)
        j.head.append(bytes.substr(0, kHeadBytes - j.head.size()));
    if (j.keptAll && j.kept.size() + bytes.size() <= kKeptBytes) {
        j.kept.append(bytes);
    } else {
        j.keptAll = false;
        j.kept.clear();
    }
    if (j.finished)
        return;  // the job ended early: the rest is flushed
    if (j.run) {
        link_->Input(j.run, bytes);
    } else if (QueuedInput() + bytes.size() > kMaxQueuedInput) {
        // Waiting behind other jobs with more than the printer can hold.
        j.pending.clear();
        j.finished = true;
        Say(j, LimitError("input"));
    } else {
        j.pending.append(bytes);
    }
    StartNext();
}

void PsPrinter::JobEnded(const JobEnd& end, PrinterHost&, std::shared_ptr<ReplyStream> reply)
{
    Job& j = Receiving();
    receiving_ = nullptr;
    j.spoolPath = end.spoolPath;
    if (end.eof) {
        j.received = true;
        j.reply = std::move(reply);
        j.reply->Send(j.unsent);
        j.unsent.clear();
        if (j.finished)
            j.reply->End();
        else if (j.run)
            link_->Close(j.run);
    } else {
        // Cut off (the connection closed, the job was too large): stopped,
        // unlike a complete job, which prints even when no one waits.
        j.cut = true;
        j.pending.clear();
        if (j.run && !j.finished)
            link_->Kill(j.run);
        else if (!j.run)
            j.finished = true;
    }
    StartNext();
    Finish();
}

void PsPrinter::StartNext()
{
    if (jobs_.empty())
        return;
    Job& j = *jobs_.front();
    if (j.run || j.finished)
        return;
    const atw::Printer& p = host_.Record();
    if (heldUntil_ < 0) {
        if (const auto* f = p.FaultAt(atw::PrinterFault::At::Job, jobsStarted_ + 1); f && f->ms > 0) {
            heldUntil_ = now_ + f->ms;
            heldError_ = f->printerError;
            host_.Event({{"event", "printer error"}, {"status", heldError_}, {"ms", f->ms}});
        }
    }
    if (heldUntil_ >= 0) {
        if (now_ < heldUntil_)
            return;
        heldUntil_ = -1;
    }
    ++jobsStarted_;
    const std::string nonce = NewNonce();
    std::error_code ec;
    const fs::path base = spoolDir_.empty() ? fs::temp_directory_path(ec) / "atnetd-rendering"
                                            : fs::path(spoolDir_) / "rendering";
    j.workDir = (base / nonce).string();
    fs::create_directories(j.workDir, ec);
    j.startedAt = now_;
    j.lines = std::make_unique<ControlLines>(
        ControlMarker(nonce), [this, &j](std::string_view bytes) { OnOutput(j, bytes); },
        [this, &j](std::string_view line) { OnControl(j, line); });
    const atw::Interpreter& in = *p.interpreter;
    gsrun::RunLimits limits;
    limits.resolution = in.resolution;
    limits.cpuSeconds = in.cpuSeconds;
    limits.seconds = in.seconds;
    limits.memoryBytes = uint64_t(in.memoryMB) << 20;
    limits.pages = in.pages;
    limits.outputBytes = uint64_t(in.outputKB) << 10;
    Job* job = &j;
    j.run = link_->Start(RunnerChannel::ForRunner(j.workDir), limits,
                         {[job](std::string_view bytes) { job->lines->Feed(bytes); },
                          [this, job](const json& ended) { OnEnded(*job, ended); }});
    link_->Input(j.run, JobStreamHead(p, nonce));
    link_->Input(j.run, j.pending);
    j.pending.clear();
    if (j.received)
        link_->Close(j.run);
}

void PsPrinter::OnOutput(Job& j, std::string_view bytes)
{
    if (j.live)
        Say(j, std::string(bytes));
    // Before the job itself: the replay of persistent changes, which prints nothing.
}

void PsPrinter::Say(Job& j, const std::string& text)
{
    if (text.empty())
        return;
    j.said.append(text);
    if (j.reply)
        j.reply->Send(text);
    else
        j.unsent.append(text);
}

void PsPrinter::OnControl(Job& j, std::string_view line)
{
    const std::size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    const std::string arg(space == std::string_view::npos ? std::string_view() : line.substr(space + 1));
    if (word == "live") {
        j.live = true;
        // "<position> <pages>": pages the replay drew despite the null device
        // come first.
        j.liveAt = std::atoll(arg.c_str());
        const std::size_t space2 = arg.find(' ');
        j.replayPages = space2 == std::string::npos ? 0 : std::atoi(arg.c_str() + space2 + 1);
    } else if (!j.live) {
        return;
    } else if (word == "exitserver") {
        j.exited = true;
        j.exitAt = std::atoll(arg.c_str()) - j.liveAt;
    } else if (word == "setprintername" && j.exited) {
        const std::string name = Unhex(arg);
        const std::string old = host_.Record().name.object;
        if (name != old) {
            if (host_.Rename(name))
                host_.Event({{"event", "printer renamed"}, {"from", atw::BytesToText(old)}, {"to", atw::BytesToText(name)}});
            else  // a name NBP could not find it by, or another's: the printer keeps its own
                Say(j, "%%[ Error: rangecheck; OffendingCommand: setprintername ]%%\r\n");
        }
    } else if (word == "end") {
        j.endSeen = true;
    }
}

void PsPrinter::OnEnded(Job& j, const json& ended)
{
    j.finished = true;
    const std::string error = ended.value("error", "");
    const std::string limit = ended.value("limit", "");
    const bool clean = error.empty() && limit.empty() && ended.value("exit", -1) == 0 && ended.value("signal", 0) == 0;
    const bool hadPersistent = !host_.Record().persistent.empty();
    // The printer's last words come with its EOF.
    std::string last = error.empty() ? LimitError(limit) : "%%[ PrinterError: no PostScript interpreter ]%%\r\n";

    std::string restart;
    if (!j.live && hadPersistent && !j.cut)
        restart = "its persistent changes failed";  // like a printer that crashed while starting
    else if (j.live && j.exited && !j.endSeen && clean)
        restart = "quit after exitserver";
    if (!restart.empty()) {
        host_.SetPersistent({});
        host_.Event({{"event", "printer restarted"}, {"why", restart}});
    } else if (j.exited && j.endSeen && clean && j.received) {
        last += KeepPersistent(j);
    }

    const std::vector<std::string> files = CollectPages(j);
    json event = {{"event", "job interpreted"},
                  {"spool", fs::path(j.spoolPath).filename().string()},
                  {"pages", files.size()},
                  {"files", files},
                  {"errors", ErrorsIn(j.said + last)},
                  {"ms", now_ - j.startedAt}};
    if (!limit.empty())
        event["limit"] = limit;
    if (!error.empty())
        event["error"] = error;
    if (!clean && !ended.value("stderr", "").empty())
        event["stderr"] = atw::BytesToText(ended.value("stderr", ""));
    j.said.append(last);
    if (j.reply)
        j.reply->End(last);
    else
        j.unsent.append(last);
    host_.Event(event);
}

std::string PsPrinter::KeepPersistent(Job& j)
{
    const char* refused = nullptr;
    std::vector<std::string> kept = host_.Record().persistent;
    std::size_t total = 0;
    for (const auto& text : kept)
        total += text.size();
    if (!j.keptAll || j.exitAt < 0 || static_cast<std::size_t>(j.exitAt) > j.kept.size())
        refused = "the job is too long";
    else if (static_cast<std::size_t>(j.exitAt) == j.kept.size())
        return {};  // nothing after exitserver
    else if (total + j.kept.size() - static_cast<std::size_t>(j.exitAt) > atw::kMaxPersistentBytes)
        refused = "the printer's memory is full";
    if (refused) {
        host_.Event({{"event", "persistent changes not kept"}, {"why", refused}});
        return "%%[ Error: VMerror; OffendingCommand: exitserver ]%%\r\n";
    }
    kept.push_back(j.kept.substr(static_cast<std::size_t>(j.exitAt)));
    host_.SetPersistent(std::move(kept));
    return {};
}

std::vector<std::string> PsPrinter::CollectPages(Job& j)
{
    std::vector<std::string> names;
    if (j.workDir.empty())
        return names;
    std::error_code ec;
    const fs::path spool(j.spoolPath);
    const std::string base = spool.stem().string();
    int n = 0;
    int skip = j.replayPages;
    for (const auto& page : PageFiles(j.workDir)) {
        if (skip-- > 0)
            continue;
        if (j.spoolPath.empty())
            continue;  // jobs are not kept: neither are their pages
        const std::string name = base + "-page" + std::to_string(++n) + ".png";
        fs::rename(page, spool.parent_path() / name, ec);
        if (!ec)
            names.push_back(name);
    }
    fs::remove_all(j.workDir, ec);
    j.workDir.clear();
    return names;
}

void PsPrinter::Finish()
{
    while (!jobs_.empty()) {
        Job& j = *jobs_.front();
        if (!j.finished || (!j.received && !j.cut))
            break;  // still running, or still arriving
        if (!j.workDir.empty()) {
            std::error_code ec;
            fs::remove_all(j.workDir, ec);
        }
        jobs_.pop_front();
    }
    StartNext();
}

void PsPrinter::Tick(int64_t nowMs)
{
    now_ = nowMs;
    if (!jobs_.empty())
        link_->Poll();
    StartNext();
    Finish();
}

int64_t PsPrinter::NextDeadline() const
{
    if (heldUntil_ >= 0)
        return heldUntil_;
    for (const auto& j : jobs_)
        if (j->run && !j->finished)
            return now_ + kPollMs;
    return -1;
}

std::optional<std::string> PsPrinter::Status() const
{
    if (heldUntil_ >= 0)
        return "%%[ status: PrinterError: " + heldError_ + " ]%%";
    if (jobs_.empty())
        return std::nullopt;
    const std::string title = TitleOf(jobs_.front()->head);
    if (title.empty())
        return host_.Record().statusBusy;
    return "%%[ job: " + title + "; status: busy ]%%";
}

}  // namespace simnet
