// The socket to atnetd's Ghostscript runner (atnetd-gs, beside the
// service's executable) and the start of that runner with the socket's
// other end as its standard input. Natively a socket pair and fork/exec;
// atnetd.exe under Wine makes a loopback pair and starts the Linux runner
// with CreateProcess, which Wine allows and which hands it the socket as
// descriptor 0. Everything here is non-blocking.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace simnet {

class RunnerChannel {
public:
    RunnerChannel() = default;
    ~RunnerChannel();
    RunnerChannel(const RunnerChannel&) = delete;
    RunnerChannel& operator=(const RunnerChannel&) = delete;

    // Starts the runner; false and `error` when it cannot be started.
    bool Open(const std::string& runnerPath, std::string& error);
    bool IsOpen() const { return socket_ != kNone; }
    // Queues bytes and sends what the socket takes now.
    void Send(std::string_view bytes);
    // Sends queued bytes and appends what arrived; false once the runner is
    // gone (the channel is then closed).
    bool Exchange(std::string& received);
    void Close();

    // The runner beside the running executable.
    static std::string DefaultRunnerPath();
    // A folder's path as the runner, a Linux program, names it (under Wine
    // Windows paths are mapped to their Linux paths).
    static std::string ForRunner(const std::string& path);

private:
    static constexpr intptr_t kNone = -1;
    intptr_t socket_ = kNone;
    std::string out_;
};

}  // namespace simnet
