#include "gs_job.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace gsrun {

namespace {

constexpr std::size_t kErrorTail = 2048;

void SetNonBlocking(int fd)
{
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

void Limit(int resource, rlim_t soft, rlim_t hard)
{
    rlimit r{soft, hard};
    setrlimit(resource, &r);
}

bool Executable(const std::string& path)
{
    struct stat st{};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The number of a page file's name ("page-12.png" is 12); 0 for other names.
int PageNumber(const char* name)
{
    if (std::strncmp(name, "page-", 5) != 0)
        return 0;
    char* end = nullptr;
    const long n = std::strtol(name + 5, &end, 10);
    return n > 0 && n < 1000000 && std::strcmp(end, ".png") == 0 ? static_cast<int>(n) : 0;
}

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void ExecGhostscript(const std::string& gs, const std::string& dir, const RunLimits& l, int in, int out,
                                  int err, char* const argv[], char* const envp[])
{
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(dir.c_str()) != 0)
        _exit(126);
    for (int fd = 3; fd < 1024; ++fd)
        close(fd);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    const rlim_t cpu = static_cast<rlim_t>(l.cpuSeconds);
    Limit(RLIMIT_CPU, cpu, cpu + 1);
    Limit(RLIMIT_AS, l.memoryBytes, l.memoryBytes);
    Limit(RLIMIT_FSIZE, l.fileBytes, l.fileBytes);
    Limit(RLIMIT_CORE, 0, 0);
    Limit(RLIMIT_NOFILE, 64, 64);
    execve(gs.c_str(), argv, envp);
    _exit(127);
}

}  // namespace

std::string FindGhostscript()
{
    if (const char* path = std::getenv("PATH")) {
        std::string all = path;
        std::size_t start = 0;
        while (start <= all.size()) {
            const std::size_t end = all.find(':', start);
            const std::string dir = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (!dir.empty() && dir[0] == '/' && Executable(dir + "/gs"))
                return dir + "/gs";
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
    // Started by a Windows program under Wine the runner may see a Windows
    // search path.
    for (const char* p : {"/usr/bin/gs", "/usr/local/bin/gs", "/bin/gs"})
        if (Executable(p))
            return p;
    return {};
}

std::unique_ptr<GsJob> GsJob::Start(const std::string& gs, const std::string& dir, const RunLimits& limits,
                                    Output output, std::string& error)
{
    if (gs.empty()) {
        error = "Ghostscript (gs) is not installed";
        return nullptr;
    }
    struct stat st{};
    if (dir.empty() || dir[0] != '/' || stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = "no such folder: " + dir;
        return nullptr;
    }
    // The page files are named relative to the job's folder, the current
    // folder of Ghostscript, so that no character of its path is taken
    // for a page-number format. Text is drawn without anti-aliasing, as a
    // laser printer's bilevel output (and seven times faster); lines and
    // shapes with it.
    std::vector<std::string> args = {
        gs, "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dNOPROMPT", "-dNOPLATFONTS",
        "-sDEVICE=pnggray", "-r" + std::to_string(limits.resolution), "-dGraphicsAlphaBits=4",
        "-sPAPERSIZE=letter", "-dFIXEDMEDIA", "-sOutputFile=page-%d.png", "-"};
    // Nothing of the caller's environment (GS_OPTIONS, GS_LIB) reaches it.
    std::vector<std::string> env = {"PATH=/usr/bin:/bin", "LANG=C", "HOME=" + dir, "TMPDIR=" + dir};
    std::vector<char*> argv, envp;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0)
        return error = "no pipe", nullptr;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]), close(in[1]);
        return error = "no pipe", nullptr;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(in[0]), close(in[1]), close(out[0]), close(out[1]);
        return error = "no pipe", nullptr;
    }
    const pid_t pid = fork();
    if (pid == 0)
        ExecGhostscript(gs, dir, limits, in[0], out[1], err[1], argv.data(), envp.data());
    close(in[0]), close(out[1]), close(err[1]);
    if (pid < 0) {
        close(in[1]), close(out[0]), close(err[0]);
        error = std::string("cannot start Ghostscript: ") + std::strerror(errno);
        return nullptr;
    }
    setpgid(pid, pid);  // also here, so that a kill never misses the group
    std::unique_ptr<GsJob> job(new GsJob);
    job->pid_ = pid;
    job->inFd_ = in[1];
    job->outFd_ = out[0];
    job->errFd_ = err[0];
    job->dir_ = dir;
    job->limits_ = limits;
    job->output_ = std::move(output);
    SetNonBlocking(job->inFd_);
    SetNonBlocking(job->outFd_);
    SetNonBlocking(job->errFd_);
    return job;
}

GsJob::~GsJob()
{
    if (!reaped_) {
        kill(-pid_, SIGKILL);
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    CloseFd(inFd_);
    CloseFd(outFd_);
    CloseFd(errFd_);
}

void GsJob::Input(std::string_view bytes)
{
    if (inputClosed_ || inFd_ < 0)
        return;  // Ghostscript stopped reading: the rest is dropped
    pendingInput_.append(bytes);
    if (pendingInput_.size() > kMaxPendingInput)
        Kill("input");
    else
        WriteInput();
}

void GsJob::CloseInput(int64_t nowMs)
{
    inputClosed_ = true;
    if (deadline_ < 0)
        deadline_ = nowMs + int64_t{limits_.seconds} * 1000;
    if (pendingInput_.empty())
        CloseFd(inFd_);
}

void GsJob::Kill(const char* limit)
{
    if (limit_.empty())
        limit_ = limit;
    if (!reaped_) {
        kill(-pid_, SIGKILL);
        kill(pid_, SIGKILL);
    }
    pendingInput_.clear();
    CloseFd(inFd_);
}

void GsJob::AddPollFds(std::vector<pollfd>& fds) const
{
    if (inFd_ >= 0 && !pendingInput_.empty())
        fds.push_back({inFd_, POLLOUT, 0});
    if (outFd_ >= 0)
        fds.push_back({outFd_, POLLIN, 0});
    if (errFd_ >= 0)
        fds.push_back({errFd_, POLLIN, 0});
}

int64_t GsJob::NextCheck(int64_t nowMs) const
{
    // Pages are counted and the child reaped while it runs.
    return Ended() ? -1 : nowMs + 20;
}

void GsJob::Service(const std::vector<pollfd>& fds, int64_t nowMs)
{
    auto ready = [&](int fd) {
        for (const auto& p : fds)
            if (p.fd == fd && fd >= 0)
                return (p.revents & (POLLIN | POLLOUT | POLLHUP | POLLERR)) != 0;
        return false;
    };
    if (ready(inFd_))
        WriteInput();
    if (ready(outFd_))
        ReadOutput();
    if (ready(errFd_))
        ReadErrors();
    CheckPages();
    if (deadline_ >= 0 && nowMs >= deadline_ && !reaped_)
        Kill("time");
    Reap();
    // A process that is gone leaves nothing more to read once its pipes are
    // drained (a kill may leave them open in no one's hands).
    if (reaped_) {
        ReadOutput();
        ReadErrors();
    }
}

void GsJob::WriteInput()
{
    while (inFd_ >= 0 && !pendingInput_.empty()) {
        const ssize_t n = write(inFd_, pendingInput_.data(), pendingInput_.size());
        if (n > 0) {
            pendingInput_.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        // Ghostscript closed its input (it ended, or flushed the job).
        pendingInput_.clear();
        CloseFd(inFd_);
        inputClosed_ = true;
        return;
    }
    if (inputClosed_ && pendingInput_.empty())
        CloseFd(inFd_);
}

void GsJob::ReadOutput()
{
    char buf[16384];
    while (outFd_ >= 0) {
        const ssize_t n = read(outFd_, buf, sizeof buf);
        if (n > 0) {
            const uint64_t room = outputBytes_ < limits_.outputBytes ? limits_.outputBytes - outputBytes_ : 0;
            const std::size_t take = static_cast<std::size_t>(std::min<uint64_t>(room, static_cast<uint64_t>(n)));
            outputBytes_ += static_cast<uint64_t>(n);
            if (take > 0)
                output_(std::string_view(buf, take));
            if (outputBytes_ > limits_.outputBytes)
                Kill("output");
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        CloseFd(outFd_);
    }
}

void GsJob::ReadErrors()
{
    char buf[4096];
    while (errFd_ >= 0) {
        const ssize_t n = read(errFd_, buf, sizeof buf);
        if (n > 0) {
            errorTail_.append(buf, static_cast<std::size_t>(n));
            if (errorTail_.size() > kErrorTail)
                errorTail_.erase(0, errorTail_.size() - kErrorTail);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        CloseFd(errFd_);
    }
}

void GsJob::CheckPages()
{
    DIR* d = opendir(dir_.c_str());
    if (!d)
        return;
    int count = 0;
    std::vector<std::string> over;
    while (dirent* e = readdir(d)) {
        const int n = PageNumber(e->d_name);
        if (n == 0)
            continue;
        ++count;
        if (n > limits_.pages)
            over.push_back(dir_ + "/" + e->d_name);
    }
    closedir(d);
    if (!over.empty()) {
        Kill("pages");
        for (const auto& f : over)
            unlink(f.c_str());
        count -= static_cast<int>(over.size());
    }
    pages_ = count;
}

void GsJob::Reap()
{
    if (reaped_)
        return;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r != pid_)
        return;
    reaped_ = true;
    if (WIFEXITED(status)) {
        exit_ = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        signal_ = WTERMSIG(status);
        if (limit_.empty())
            limit_ = signal_ == SIGXCPU || signal_ == SIGKILL ? "cpu" : signal_ == SIGXFSZ ? "file" : "memory";
    }
    CloseFd(inFd_);
    CheckPages();
}

nlohmann::json GsJob::Report() const
{
    return {{"exit", exit_}, {"signal", signal_}, {"limit", limit_}, {"pages", pages_}, {"stderr", errorTail_}};
}

}  // namespace gsrun
