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
// Answers a client has not taken; past this it is taken for gone (a library
// reads everything as it comes, so only a stuck or hostile peer gets here).
constexpr std::size_t kMaxUnsent = 64u << 20;

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
    std::string out;
};

}  // namespace

void RequestStop()
{
    g_stop = true;
}

int RunServer(Engine& engine, const std::string& listen, const std::string& portFile)
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
    if (!atwire::ToSockaddr(listen, addr, true)) {
        std::fprintf(stderr, "atnetd: --listen %s: expected ADDRESS:PORT such as 127.0.0.1:0\n", listen.c_str());
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
        std::fprintf(stderr, "atnetd: cannot listen on %s\n", listen.c_str());
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
    if (!portFile.empty()) {
        const std::string tmp = portFile + ".tmp";
        {
            std::ofstream o(tmp, std::ios::trunc);
            o << port << "\n";
        }
        std::error_code ec;
        std::filesystem::rename(tmp, portFile, ec);
    }

    std::map<ClientId, Client> clients;
    ClientId nextId = 1;
    std::vector<char> buf(64 * 1024);

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
            it->second.out += bytes;
        }
    };

    while (!g_stop) {
        fd_set rd, wr;
        FD_ZERO(&rd);
        FD_ZERO(&wr);
        // At the client limit the listener is left alone (not polled in a
        // busy loop) until someone leaves.
        const bool accepting = clients.size() < kMaxClients;
        if (accepting)
            FD_SET(ls, &rd);
        Socket maxFd = ls;
        for (auto& [id, c] : clients) {
            FD_SET(c.socket, &rd);
            if (!c.out.empty())
                FD_SET(c.socket, &wr);
            if (c.socket > maxFd)
                maxFd = c.socket;
        }
        int64_t wait = 200;
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
        if (n > 0 && accepting && FD_ISSET(ls, &rd)) {
            while (clients.size() < kMaxClients) {
                Socket s = accept(ls, nullptr, nullptr);
                if (s == kNoSocket)
                    break;
                SetNonBlocking(s);
                int nodelay = 1;
                setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nodelay), sizeof nodelay);
                const ClientId id = nextId++;
                clients[id].socket = s;
                engine.Connect(id, NowMs());
            }
        }
        std::vector<ClientId> gone;
        if (n > 0) {
            for (auto& [id, c] : clients) {
                if (!FD_ISSET(c.socket, &rd))
                    continue;
                bool closed = false;
                while (true) {
                    const auto got = recv(c.socket, buf.data(), static_cast<int>(buf.size()), 0);
                    if (got > 0) {
                        c.decoder.Feed(buf.data(), static_cast<std::size_t>(got));
                        if (static_cast<std::size_t>(got) < buf.size())
                            break;
                        continue;
                    }
                    if (got == 0 || !WouldBlock())
                        closed = true;
                    break;
                }
                atwire::Message m;
                atwire::Decoder::Status st;
                while ((st = c.decoder.Next(m)) == atwire::Decoder::Status::Message)
                    engine.Handle(id, m, NowMs());
                if (st == atwire::Decoder::Status::Error) {
                    std::fprintf(stderr, "atnetd: client %llu sent garbage (%s); dropped\n",
                                 static_cast<unsigned long long>(id), c.decoder.Error().c_str());
                    closed = true;
                }
                if (closed)
                    gone.push_back(id);
            }
        }
        for (ClientId id : gone) {
            CloseSocket(clients[id].socket);
            clients.erase(id);
            engine.Disconnect(id, NowMs());
        }
        engine.Tick(NowMs());
        flush();
        gone.clear();
        for (auto& [id, c] : clients) {
            if (c.out.size() > kMaxUnsent) {
                std::fprintf(stderr, "atnetd: client %llu reads nothing of %zu bytes of answers; dropped\n",
                             static_cast<unsigned long long>(id), c.out.size());
                gone.push_back(id);
                continue;
            }
            while (!c.out.empty()) {
                const auto sent = send(c.socket, c.out.data(), static_cast<int>(c.out.size()), 0);
                if (sent > 0) {
                    c.out.erase(0, static_cast<std::size_t>(sent));
                    continue;
                }
                if (sent < 0 && !WouldBlock())
                    gone.push_back(id);
                break;
            }
        }
        for (ClientId id : gone) {
            CloseSocket(clients[id].socket);
            clients.erase(id);
            engine.Disconnect(id, NowMs());
        }
    }
    for (auto& [id, c] : clients)
        CloseSocket(c.socket);
    CloseSocket(ls);
    std::printf("atnetd: stopped\n");
    return 0;
}

}  // namespace atsvc
