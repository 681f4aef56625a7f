// The service's side of its Ghostscript runner (atstack/gsrun): starts the
// runner on first use (and again after it died), starts jobs on it, feeds
// them and hands each job's output and end to whoever started it. One link
// serves every interpreting printer of the service. Nothing here blocks:
// Poll, called from the printers' Tick, moves what is ready.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "gsrun_protocol.h"
#include "runner_channel.h"
#include "wire.h"

namespace simnet {

class GhostscriptLink {
public:
    struct Events {
        std::function<void(std::string_view bytes)> output;
        // The runner's "ended" message; "error" says why when the job never ran.
        std::function<void(const nlohmann::json& ended)> ended;
    };

    // The link every printer of this process shares.
    static std::shared_ptr<GhostscriptLink> Shared();
    explicit GhostscriptLink(std::string runnerPath);

    // A new job in `dir` (which must exist). Its events come from Poll,
    // never from inside Start.
    int64_t Start(const std::string& dir, const gsrun::RunLimits& limits, Events events);
    void Input(int64_t job, std::string_view bytes);
    void Close(int64_t job);
    void Kill(int64_t job);
    // No events for this job any more (its printer went away); it is killed.
    void Forget(int64_t job);

    void Poll();
    bool Busy() const { return !jobs_.empty(); }

private:
    void Send(nlohmann::json head, std::string_view blob = {});
    void EndAll(const std::string& error);

    std::string runnerPath_;
    RunnerChannel channel_;
    atwire::Decoder decoder_;
    std::map<int64_t, Events> jobs_;
    std::map<int64_t, nlohmann::json> failed_;  // ends to report at the next Poll
    int64_t nextJob_ = 1;
};

}  // namespace simnet
