// atnetd-gs: runs Ghostscript for atnetd's interpreting printers.
//
// Started by atnetd with a socket as its standard input (gsrun_protocol.h
// says what travels on it); it ends, killing its jobs, when that socket
// closes. atnetd.exe under Wine starts it the same way: a Windows program
// can start a Linux one, and Wine hands it the socket as descriptor 0.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

#include "gs_job.h"
#include "wire.h"

namespace {

using nlohmann::json;

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

class Runner {
public:
    Runner() : gs_(gsrun::FindGhostscript()) {}

    int Run()
    {
        fcntl(0, F_SETFL, fcntl(0, F_GETFL, 0) | O_NONBLOCK);
        while (true) {
            std::vector<pollfd> fds{{0, static_cast<short>(POLLIN | (out_.empty() ? 0 : POLLOUT)), 0}};
            int64_t next = -1;
            const int64_t now = NowMs();
            for (auto& [id, job] : jobs_) {
                job->AddPollFds(fds);
                const int64_t t = job->NextCheck(now);
                if (t >= 0 && (next < 0 || t < next))
                    next = t;
            }
            const int wait = next < 0 ? -1 : static_cast<int>(std::max<int64_t>(0, next - now));
            if (poll(fds.data(), fds.size(), wait) < 0 && errno != EINTR)
                return 1;
            if (fds[0].revents & POLLOUT)
                Flush();
            if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) && !ReadControl())
                return 0;  // atnetd is gone; the jobs die with their GsJob
            const int64_t after = NowMs();
            for (auto it = jobs_.begin(); it != jobs_.end();) {
                it->second->Service(fds, after);
                if (it->second->Ended()) {
                    json report = it->second->Report();
                    report["op"] = "ended";
                    report["job"] = it->first;
                    Send({report, {}});
                    it = jobs_.erase(it);
                } else {
                    ++it;
                }
            }
            Flush();
        }
    }

private:
    // False when the socket closed or spoke garbage.
    bool ReadControl()
    {
        char buf[65536];
        while (true) {
            const ssize_t n = read(0, buf, sizeof buf);
            if (n > 0) {
                decoder_.Feed(buf, static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                break;
            return false;
        }
        atwire::Message m;
        atwire::Decoder::Status st;
        while ((st = decoder_.Next(m)) == atwire::Decoder::Status::Message)
            Handle(m);
        return st != atwire::Decoder::Status::Error;
    }

    void Handle(const atwire::Message& m)
    {
        bool ok = true;
        const std::string op = m.head.value("op", "");
        const int64_t id = atwire::GetInt(m.head, "job", 0, ok);
        auto it = jobs_.find(id);
        if (op == "start" && ok && it == jobs_.end())
            StartJob(id, m.head);
        else if (op == "input" && it != jobs_.end())
            it->second->Input(m.blob);
        else if (op == "close" && it != jobs_.end())
            it->second->CloseInput(NowMs());
        else if (op == "kill" && it != jobs_.end())
            it->second->Kill("killed");
    }

    void StartJob(int64_t id, const json& head)
    {
        bool ok = true;
        gsrun::RunLimits l;
        l.resolution = static_cast<int>(atwire::GetInt(head, "resolution", l.resolution, ok));
        l.cpuSeconds = static_cast<int>(atwire::GetInt(head, "cpuSeconds", l.cpuSeconds, ok));
        l.seconds = static_cast<int>(atwire::GetInt(head, "seconds", l.seconds, ok));
        l.memoryBytes = static_cast<uint64_t>(atwire::GetInt(head, "memoryBytes", static_cast<int64_t>(l.memoryBytes), ok));
        l.pages = static_cast<int>(atwire::GetInt(head, "pages", l.pages, ok));
        l.outputBytes = static_cast<uint64_t>(atwire::GetInt(head, "outputBytes", static_cast<int64_t>(l.outputBytes), ok));
        l.fileBytes = static_cast<uint64_t>(atwire::GetInt(head, "fileBytes", static_cast<int64_t>(l.fileBytes), ok));
        const std::string dir = head.value("dir", "");
        std::string error;
        std::unique_ptr<gsrun::GsJob> job;
        if (!ok || l.resolution < 1 || l.cpuSeconds < 1 || l.seconds < 1 || l.pages < 1)
            error = "bad limits";
        else if (jobs_.size() >= static_cast<std::size_t>(gsrun::kMaxJobs))
            error = "too many jobs";
        else
            job = gsrun::GsJob::Start(gs_, dir, l, [this, id](std::string_view bytes) {
                Send({{{"op", "output"}, {"job", id}}, std::string(bytes)});
            }, error);
        if (!job) {
            Send({{{"op", "ended"}, {"job", id}, {"exit", -1}, {"signal", 0}, {"limit", ""}, {"pages", 0},
                   {"error", error}},
                  {}});
            return;
        }
        jobs_[id] = std::move(job);
    }

    void Send(const atwire::Message& m) { out_ += atwire::Encode(m); }

    void Flush()
    {
        while (!out_.empty()) {
            const ssize_t n = write(0, out_.data(), out_.size());
            if (n > 0) {
                out_.erase(0, static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                return;
            out_.clear();  // atnetd is gone: the next read says so
            return;
        }
    }

    std::string gs_;
    atwire::Decoder decoder_;
    std::string out_;
    std::map<int64_t, std::unique_ptr<gsrun::GsJob>> jobs_;
};

}  // namespace

int main()
{
    signal(SIGPIPE, SIG_IGN);
    return Runner().Run();
}
