// One Ghostscript process of the runner: started in the job's folder with
// -dSAFER and the job's limits, fed through its standard input, read through
// its standard output, killed with its whole process group.
#pragma once

#include <poll.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gsrun_protocol.h"

namespace gsrun {

// The Ghostscript program on this machine; empty when there is none.
std::string FindGhostscript();

class GsJob {
public:
    using Output = std::function<void(std::string_view bytes)>;

    // Null, and `error` says why, when the process cannot be started.
    static std::unique_ptr<GsJob> Start(const std::string& gs, const std::string& dir, const RunLimits& limits,
                                        Output output, std::string& error);
    ~GsJob();
    GsJob(const GsJob&) = delete;
    GsJob& operator=(const GsJob&) = delete;

    void Input(std::string_view bytes);
    void CloseInput(int64_t nowMs);
    // Ends the process; `limit` is reported as the reason.
    void Kill(const char* limit);

    // The descriptors to wait on, and the work once they are ready.
    void AddPollFds(std::vector<pollfd>& fds) const;
    void Service(const std::vector<pollfd>& fds, int64_t nowMs);
    bool Ended() const { return reaped_ && outFd_ < 0; }
    // The "ended" message.
    nlohmann::json Report() const;
    // When Service must run again even if nothing is ready; -1: no need.
    int64_t NextCheck(int64_t nowMs) const;

private:
    GsJob() = default;
    void WriteInput();
    void ReadOutput();
    void ReadErrors();
    void CheckPages();
    void Reap();

    pid_t pid_ = -1;
    int inFd_ = -1, outFd_ = -1, errFd_ = -1;
    std::string dir_;
    RunLimits limits_;
    Output output_;
    std::string pendingInput_;
    bool inputClosed_ = false;
    uint64_t outputBytes_ = 0;
    std::string errorTail_;
    int64_t deadline_ = -1;  // wall-clock end after the input closed
    std::string limit_;
    bool reaped_ = false;
    int exit_ = -1, signal_ = 0;
    int pages_ = 0;
};

}  // namespace gsrun
