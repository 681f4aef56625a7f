#include "server.h"

#if defined(_WIN32)
#define FD_SETSIZE 512
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
static void CloseSocket(Socket s) { closesocket(s); }
static bool WouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }
static void SetNonBlocking(Socket s)
{
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
}
#else
#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
using Socket = int;
constexpr Socket kNoSocket = -1;
static void CloseSocket(Socket s) { close(s); }
static bool WouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR; }
static void SetNonBlocking(Socket s) { fcntl(s, F_SETFL, fcntl(s, F_GETFL, 0) | O_NONBLOCK); }
#endif

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "endpoint_sockaddr.h"

namespace atsvc {

namespace {

std::atomic<bool> g_stop{false};

constexpr std::size_t kMaxClients = 400;
// Past these a client is not read until it has taken its answers or its
// input has been handled.
constexpr std::size_t kMaxUnsent = 2u << 20;
constexpr std::size_t kMaxUnparsed = atwire::kMaxFrame + (64u << 10);
// Messages of one client handled per pass of the loop.
constexpr int kMessagesPerPass = 32;
// A client that takes none of its answers for this long is taken for gone
// (a library reads everything as it comes).
constexpr int64_t kStallMs = 10000;

#if defined(_WIN32)
BOOL WINAPI OnConsoleCtrl(DWORD)
{
    g_stop = true;
    return TRUE;
}
#else
void OnSignal(int)
{
    g_stop = true;
}
#endif

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct Client {
    Socket socket = kNoSocket;
    atwire::Decoder decoder;
    std::string out;          // answers not yet sent, from `sent` on
    std::size_t sent = 0;
    int64_t lastHeard = 0;    // when it last sent bytes
    int64_t lastTaken = 0;    // when it last took answers, or answers began to wait
    std::size_t Unsent() const { return out.size() - sent; }
};

void WritePortFile(const std::string& portFile, unsigned port)
{
    const std::string tmp = portFile + ".tmp";
    {
        std::ofstream o(tmp, std::ios::trunc);
        o << port << "\n";
    }
    std::error_code ec;
    std::filesystem::rename(tmp, portFile, ec);
}

}  // namespace

void RequestStop()
{
    g_stop = true;
}

int RunServer(Engine& engine, const ServerOptions& options)
{
#if defined(_WIN32)
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
        std::fprintf(stderr, "atnetd: cannot start Winsock\n");
        return 1;
    }
    SetConsoleCtrlHandler(OnConsoleCtrl, TRUE);
#else
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
#endif
    sockaddr_in addr{};
    if (!atwire::ToSockaddr(options.listen, addr, true)) {
        std::fprintf(stderr, "atnetd: --listen %s: expected ADDRESS:PORT such as 127.0.0.1:0\n", options.listen.c_str());
        return 2;
    }
    Socket ls = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (ls == kNoSocket) {
        std::fprintf(stderr, "atnetd: cannot create a socket\n");
        return 1;
    }
#if !defined(_WIN32)
    int one = 1;
    setsockopt(ls, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
#endif
    if (bind(ls, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(ls, 64) != 0) {
        std::fprintf(stderr, "atnetd: cannot listen on %s\n", options.listen.c_str());
        CloseSocket(ls);
        return 1;
    }
    SetNonBlocking(ls);
    sockaddr_in bound{};
    socklen_t len = sizeof bound;
    getsockname(ls, reinterpret_cast<sockaddr*>(&bound), &len);
    const unsigned port = ntohs(bound.sin_port);
    char host[64] = "127.0.0.1";
    inet_ntop(AF_INET, &bound.sin_addr, host, sizeof host);
    std::printf("atnetd: listening on %s:%u\n", host, port);
    std::fflush(stdout);
    if (!options.portFile.empty())
        WritePortFile(options.portFile, port);

    std::map<ClientId, Client> clients;
    ClientId nextId = 1;
    std::vector<char> buf(64 * 1024);
    std::vector<ClientId> gone;

    auto drop = [&](ClientId id, const char* why) {
        auto it = clients.find(id);
        if (it == clients.end())
            return;
        if (why)
            std::fprintf(stderr, "atnetd: client %llu %s; dropped\n", static_cast<unsigned long long>(id), why);
        CloseSocket(it->second.socket);
        clients.erase(it);
        engine.Disconnect(id, NowMs());
    };
    auto dropGone = [&]() {
        for (ClientId id : gone)
            drop(id, nullptr);
        gone.clear();
    };
    // The client that has sent nothing for longest and waits for nothing:
    // dropping it costs it nothing (a library connects again when it next
    // needs the service).
    auto idlest = [&]() {
        ClientId best = 0;
        int64_t bestHeard = 0;
        for (auto& [id, c] : clients)
            if (!engine.Waiting(id) && c.Unsent() == 0 && (best == 0 || c.lastHeard < bestHeard)) {
                best = id;
                bestHeard = c.lastHeard;
            }
        return best;
    };
    auto flush = [&]() {
        for (auto& o : engine.TakeOutgoing()) {
            auto it = clients.find(o.client);
            if (it == clients.end())
                continue;
            std::string bytes = atwire::Encode(o.message);
            if (bytes.size() - 4 > atwire::kMaxFrame) {
                // The library would take a frame this size for garbage and
                // drop every request of the connection: fail this one only.
                bool ok = true;
                const int64_t id = atwire::GetInt(o.message.head, "id", 0, ok);
                bytes = atwire::Encode({{{"id", id}, {"result", atw::kErrFailed}, {"error", "answer too large"}}, {}});
            }
            Client& c = it->second;
            if (c.Unsent() == 0)
                c.lastTaken = NowMs();
            c.out += bytes;
        }
    };

    bool moreToHandle = false;
    while (!g_stop) {
        fd_set rd, wr;
        FD_ZERO(&rd);
        FD_ZERO(&wr);
        // At the client limit the listener is watched only when someone
        // could make room (not polled in a busy loop otherwise).
        const bool accepting = clients.size() < kMaxClients || idlest() != 0;
        if (accepting)
            FD_SET(ls, &rd);
        Socket maxFd = ls;
        for (auto& [id, c] : clients) {
            if (c.Unsent() < kMaxUnsent && c.decoder.Buffered() < kMaxUnparsed)
                FD_SET(c.socket, &rd);
            if (c.Unsent() > 0)
                FD_SET(c.socket, &wr);
            if (c.socket > maxFd)
                maxFd = c.socket;
        }
        int64_t wait = moreToHandle ? 0 : 200;
        const int64_t deadline = engine.NextDeadline();
        if (deadline >= 0)
            wait = std::max<int64_t>(0, std::min<int64_t>(wait, deadline - NowMs()));
        timeval tv{static_cast<long>(wait / 1000), static_cast<long>((wait % 1000) * 1000)};
        const int n = select(static_cast<int>(maxFd + 1), &rd, &wr, nullptr, &tv);
        if (n < 0) {
#if !defined(_WIN32)
            if (errno == EINTR)
                continue;
#endif
            std::fprintf(stderr, "atnetd: select failed\n");
            break;
        }
        const int64_t now = NowMs();
        if (n > 0 && accepting && FD_ISSET(ls, &rd)) {
            for (int i = 0; i < 16; ++i) {
                if (clients.size() >= kMaxClients) {
                    const ClientId idle = idlest();
                    if (idle == 0)
                        break;
                    drop(idle, "was idle and made room for a new client");
                }
                Socket s = accept(ls, nullptr, nullptr);
                if (s == kNoSocket)
                    break;
                SetNonBlocking(s);
                int nodelay = 1;
                setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nodelay), sizeof nodelay);
                const ClientId id = nextId++;
                Client& c = clients[id];
                c.socket = s;
                c.lastHeard = c.lastTaken = now;
                engine.Connect(id, now);
            }
        }
        // One read per client and pass, then a few messages of each.
        if (n > 0) {
            for (auto& [id, c] : clients) {
                if (!FD_ISSET(c.socket, &rd))
                    continue;
                const auto got = recv(c.socket, buf.data(), static_cast<int>(buf.size()), 0);
                if (got > 0) {
                    c.decoder.Feed(buf.data(), static_cast<std::size_t>(got));
                    c.lastHeard = now;
                } else if (got == 0 || !WouldBlock()) {
                    gone.push_back(id);
                }
            }
        }
        moreToHandle = false;
        for (auto& [id, c] : clients) {
            atwire::Message m;
            atwire::Decoder::Status st = atwire::Decoder::Status::NeedMore;
            for (int handled = 0; handled < kMessagesPerPass && c.Unsent() < kMaxUnsent; ++handled) {
                st = c.decoder.Next(m);
                if (st != atwire::Decoder::Status::Message)
                    break;
                engine.Handle(id, m, NowMs());
                flush();
            }
            if (st == atwire::Decoder::Status::Error) {
                std::fprintf(stderr, "atnetd: client %llu sent garbage (%s); dropped\n",
                             static_cast<unsigned long long>(id), c.decoder.Error().c_str());
                gone.push_back(id);
            } else if (st == atwire::Decoder::Status::Message && c.Unsent() < kMaxUnsent) {
                moreToHandle = true;  // stopped at the pass's share: the rest next pass
            }
        }
        dropGone();
        engine.Tick(NowMs());
        flush();
        for (auto& [id, c] : clients) {
            while (c.Unsent() > 0) {
                const auto sent = send(c.socket, c.out.data() + c.sent, static_cast<int>(c.Unsent()), 0);
                if (sent > 0) {
                    c.sent += static_cast<std::size_t>(sent);
                    c.lastTaken = now;
                    continue;
                }
                if (sent < 0 && !WouldBlock())
                    gone.push_back(id);
                break;
            }
            if (c.sent > 0 && (c.Unsent() == 0 || c.sent > (1u << 20))) {
                c.out.erase(0, c.sent);
                c.sent = 0;
            }
        }
        dropGone();
        std::vector<std::pair<ClientId, std::string>> stale;
        char why[96];
        for (auto& [id, c] : clients) {
            if (c.Unsent() > 0 && now - c.lastTaken > kStallMs)
                std::snprintf(why, sizeof why, "reads nothing of %zu bytes of answers", c.Unsent());
            else if (now - c.lastHeard > options.idleLimitMs)
                std::snprintf(why, sizeof why, "sent nothing for %lld s", static_cast<long long>(options.idleLimitMs / 1000));
            else
                continue;
            stale.emplace_back(id, why);
        }
        for (auto& [id, text] : stale)
            drop(id, text.c_str());
    }
    for (auto& [id, c] : clients)
        CloseSocket(c.socket);
    CloseSocket(ls);
    std::printf("atnetd: stopped\n");
    return 0;
}

}  // namespace atsvc
