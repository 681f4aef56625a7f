#include "runner_channel.h"

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#endif

#include <cctype>
#include <cstring>
#include <vector>

namespace simnet {

namespace {

constexpr const char* kRunnerName = "atnetd-gs";

std::string ExecutableFolder()
{
#if defined(_WIN32)
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of("\\/") + 1);
#else
    char path[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string s = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
    return s.substr(0, s.rfind('/') + 1);
#endif
}

#if defined(_WIN32)
using Socket = SOCKET;
Socket AsSocket(intptr_t s) { return static_cast<Socket>(s); }
bool WouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }
void CloseSocket(Socket s) { closesocket(s); }

// Two connected loopback sockets.
bool SocketPair(Socket& a, Socket& b)
{
    Socket l = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (l == INVALID_SOCKET)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof addr;
    a = b = INVALID_SOCKET;
    if (bind(l, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && listen(l, 1) == 0 &&
        getsockname(l, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
        a = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (a != INVALID_SOCKET && connect(a, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0)
            b = accept(l, nullptr, nullptr);
    }
    closesocket(l);
    if (b == INVALID_SOCKET) {
        if (a != INVALID_SOCKET)
            closesocket(a);
        return false;
    }
    return true;
}
#else
using Socket = int;
Socket AsSocket(intptr_t s) { return static_cast<Socket>(s); }
bool WouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR; }
void CloseSocket(Socket s) { close(s); }
// Runners started, reaped once they have ended (a runner ends a moment
// after its socket closes).
std::vector<pid_t> g_runners;
void ReapRunners()
{
    for (auto it = g_runners.begin(); it != g_runners.end();)
        it = waitpid(*it, nullptr, WNOHANG) == *it ? g_runners.erase(it) : it + 1;
}
#endif

}  // namespace

std::string RunnerChannel::DefaultRunnerPath()
{
    return ExecutableFolder() + kRunnerName;
}

std::string RunnerChannel::ForRunner(const std::string& path)
{
#if defined(_WIN32)
    // Under Wine a drive letter is a link in the prefix's dosdevices folder
    // (c: -> ../drive_c, z: -> /), and the prefix is known from the
    // environment Wine passes on; elsewhere the path stays as it is.
    char prefix[1024] = {};
    DWORD n = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    std::string root = n > 0 && n < sizeof prefix ? std::string(prefix) : std::string();
    if (root.empty()) {
        n = GetEnvironmentVariableA("HOME", prefix, sizeof prefix);
        if (n > 0 && n < sizeof prefix && prefix[0] == '/')
            root = std::string(prefix) + "/.wine";
    }
    if (root.empty() || path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/'))
        return path;
    std::string out = root + "/dosdevices/" + static_cast<char>(std::tolower(static_cast<unsigned char>(path[0]))) + ":";
    for (std::size_t i = 2; i < path.size(); ++i)
        out += path[i] == '\\' ? '/' : path[i];
    return out;
#else
    return path;
#endif
}

RunnerChannel::~RunnerChannel()
{
    Close();
}

bool RunnerChannel::Open(const std::string& runnerPath, std::string& error)
{
    Close();
#if defined(_WIN32)
    if (GetFileAttributesA(runnerPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = runnerPath + " is missing";
        return false;
    }
    Socket ours, theirs;
    if (!SocketPair(ours, theirs)) {
        error = "no loopback socket for the runner";
        return false;
    }
    SetHandleInformation(reinterpret_cast<HANDLE>(theirs), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = reinterpret_cast<HANDLE>(theirs);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + runnerPath + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    const BOOL started = CreateProcessA(runnerPath.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &si, &pi);
    closesocket(theirs);
    if (!started) {
        closesocket(ours);
        error = "cannot start " + runnerPath + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    // Under Wine a Linux program has no Windows process: the handles may
    // be null. The runner ends by itself when the socket closes.
    if (pi.hThread)
        CloseHandle(pi.hThread);
    if (pi.hProcess)
        CloseHandle(pi.hProcess);
    u_long on = 1;
    ioctlsocket(ours, FIONBIO, &on);
    socket_ = static_cast<intptr_t>(ours);
    return true;
#else
    if (access(runnerPath.c_str(), X_OK) != 0) {
        error = runnerPath + " is missing";
        return false;
    }
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        error = std::string("no socket pair: ") + std::strerror(errno);
        return false;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        setsid();  // the terminal's Ctrl-C is the service's, not the runner's
        if (dup2(pair[1], 0) < 0)
            _exit(126);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execl(runnerPath.c_str(), kRunnerName, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pair[1]);
    if (pid < 0) {
        close(pair[0]);
        error = std::string("cannot start the runner: ") + std::strerror(errno);
        return false;
    }
    g_runners.push_back(pid);
    fcntl(pair[0], F_SETFL, fcntl(pair[0], F_GETFL, 0) | O_NONBLOCK);
    socket_ = pair[0];
    return true;
#endif
}

void RunnerChannel::Close()
{
    if (socket_ != kNone)
        CloseSocket(AsSocket(socket_));
    socket_ = kNone;
    out_.clear();
#if !defined(_WIN32)
    ReapRunners();
#endif
}

void RunnerChannel::Send(std::string_view bytes)
{
    if (socket_ == kNone)
        return;
    out_.append(bytes);
    std::string ignored;
    Exchange(ignored);
}

bool RunnerChannel::Exchange(std::string& received)
{
    if (socket_ == kNone)
        return false;
    const Socket s = AsSocket(socket_);
    while (!out_.empty()) {
#if defined(_WIN32)
        const int n = send(s, out_.data(), static_cast<int>(out_.size()), 0);
#else
        const ssize_t n = send(s, out_.data(), out_.size(), MSG_NOSIGNAL);
#endif
        if (n > 0) {
            out_.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && WouldBlock())
            break;
        Close();
        return false;
    }
    char buf[65536];
    while (true) {
        const auto n = recv(s, buf, static_cast<int>(sizeof buf), 0);
        if (n > 0) {
            received.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && WouldBlock())
            return true;
        Close();
        return false;
    }
}

}  // namespace simnet
