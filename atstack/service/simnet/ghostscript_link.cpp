#include "ghostscript_link.h"

namespace simnet {

using nlohmann::json;

namespace {

// Input goes out in pieces well inside the wire protocol's frame limit.
constexpr std::size_t kInputPiece = 64u << 10;

json Failure(int64_t job, const std::string& error)
{
    return {{"op", "ended"}, {"job", job}, {"exit", -1}, {"signal", 0}, {"limit", ""}, {"pages", 0}, {"error", error}};
}

}  // namespace

std::shared_ptr<GhostscriptLink> GhostscriptLink::Shared()
{
    static std::weak_ptr<GhostscriptLink> shared;
    auto link = shared.lock();
    if (!link) {
        link = std::make_shared<GhostscriptLink>(RunnerChannel::DefaultRunnerPath());
        shared = link;
    }
    return link;
}

GhostscriptLink::GhostscriptLink(std::string runnerPath) : runnerPath_(std::move(runnerPath)) {}

int64_t GhostscriptLink::Start(const std::string& dir, const gsrun::RunLimits& limits, Events events)
{
    const int64_t id = nextJob_++;
    std::string error;
    if (!channel_.IsOpen() && !channel_.Open(runnerPath_, error)) {
        failed_[id] = Failure(id, error);
        jobs_[id] = std::move(events);
        return id;
    }
    json head = gsrun::ToJson(limits);
    head["op"] = "start";
    head["job"] = id;
    head["dir"] = dir;
    jobs_[id] = std::move(events);
    Send(std::move(head));
    return id;
}

void GhostscriptLink::Input(int64_t job, std::string_view bytes)
{
    if (!jobs_.count(job) || failed_.count(job))
        return;
    for (std::size_t at = 0; at < bytes.size(); at += kInputPiece)
        Send({{"op", "input"}, {"job", job}}, bytes.substr(at, kInputPiece));
}

void GhostscriptLink::Close(int64_t job)
{
    if (jobs_.count(job) && !failed_.count(job))
        Send({{"op", "close"}, {"job", job}});
}

void GhostscriptLink::Kill(int64_t job)
{
    if (jobs_.count(job) && !failed_.count(job))
        Send({{"op", "kill"}, {"job", job}});
}

void GhostscriptLink::Forget(int64_t job)
{
    Kill(job);
    jobs_.erase(job);
    failed_.erase(job);
}

void GhostscriptLink::Send(json head, std::string_view blob)
{
    channel_.Send(atwire::Encode({std::move(head), std::string(blob)}));
}

void GhostscriptLink::EndAll(const std::string& error)
{
    for (auto& [id, events] : jobs_)
        if (!failed_.count(id))
            failed_[id] = Failure(id, error);
    decoder_ = atwire::Decoder();
}

void GhostscriptLink::Poll()
{
    if (channel_.IsOpen()) {
        std::string received;
        const bool open = channel_.Exchange(received);
        decoder_.Feed(received.data(), received.size());
        atwire::Message m;
        atwire::Decoder::Status st;
        while ((st = decoder_.Next(m)) == atwire::Decoder::Status::Message) {
            bool ok = true;
            const int64_t id = atwire::GetInt(m.head, "job", 0, ok);
            auto it = jobs_.find(id);
            if (it == jobs_.end())
                continue;
            const std::string op = m.head.value("op", "");
            if (op == "output" && it->second.output) {
                it->second.output(m.blob);
            } else if (op == "ended") {
                Events events = std::move(it->second);
                jobs_.erase(it);
                if (events.ended)
                    events.ended(m.head);
            }
        }
        if (st == atwire::Decoder::Status::Error) {
            channel_.Close();
            EndAll("the Ghostscript runner spoke garbage");
        } else if (!open) {
            EndAll("the Ghostscript runner ended");
        }
    }
    // Jobs that never ran end here, outside of Start.
    auto failed = std::move(failed_);
    failed_.clear();
    for (auto& [id, ended] : failed) {
        auto it = jobs_.find(id);
        if (it == jobs_.end())
            continue;
        Events events = std::move(it->second);
        jobs_.erase(it);
        if (events.ended)
            events.ended(ended);
    }
}

}  // namespace simnet
