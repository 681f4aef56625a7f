// GCC 12 at -O3 (the 32-bit release build) reports null dereferences inside
// nlohmann/json that cannot happen; keep the warning for our own code elsewhere.
#pragma GCC diagnostic ignored "-Wnull-dereference"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "client.h"

#include <cstring>
#include <memory>
#include <vector>

#include "endpoint_sockaddr.h"
#include "world.h"

namespace atclient {

namespace {

constexpr const char* kDefaultAddress = "127.0.0.1:38870";
constexpr const char* kRegistryKey = "SOFTWARE\\VESTREL\\ATSTACK";
constexpr const char* kRegistryValue = "Service";

std::string ProgramName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

// A connected socket, or INVALID_SOCKET when the service refuses or does
// not take the connection within `limitMs` (a stalled service's queue of
// connections may be full).
SOCKET ConnectWithin(const sockaddr_in& addr, DWORD limitMs)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return s;
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    bool connected = connect(s, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) {
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        timeval tv{static_cast<long>(limitMs / 1000), static_cast<long>((limitMs % 1000) * 1000)};
        connected = select(0, nullptr, &writable, &failed, &tv) == 1 && FD_ISSET(s, &writable);
    }
    nonBlocking = 0;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (!connected) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

}  // namespace

std::string ServiceAddress()
{
    char value[256];
    const DWORD n = GetEnvironmentVariableA("VESTREL_ATNETD", value, sizeof value);
    if (n > 0 && n < sizeof value)
        return value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
        DWORD type = 0, size = sizeof value - 1;
        const LONG rc = RegQueryValueExA(key, kRegistryValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(key);
        if (rc == ERROR_SUCCESS && type == REG_SZ && size > 0) {
            value[size] = '\0';
            return value;
        }
    }
    return kDefaultAddress;
}

int32_t NextRequestId()
{
    static volatile LONG counter = 0;
    return static_cast<int32_t>(InterlockedIncrement(&counter));
}

Client::Client(const char* library) : library_(library)
{
    InitializeCriticalSection(&lock_);
    InitializeCriticalSection(&sendLock_);
}

bool Client::SendBytes(SOCKET s, const std::string& bytes)
{
    EnterCriticalSection(&sendLock_);
    std::size_t off = 0;
    bool ok = s == live_;
    while (ok && off < bytes.size()) {
        const int n = send(s, bytes.data() + off, static_cast<int>(bytes.size() - off), 0);
        if (n <= 0) {
            ok = false;
            break;
        }
        off += static_cast<std::size_t>(n);
    }
    LeaveCriticalSection(&sendLock_);
    return ok;
}

bool Client::EnsureConnectedLocked()
{
    const std::string address = ServiceAddress();
    if (socket_ != INVALID_SOCKET && address == address_)
        return true;
    if (socket_ != INVALID_SOCKET)
        DisconnectLocked(socket_);  // the service moved: follow it
    if (!wsaStarted_) {
        WSADATA wsa;
        if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
            return false;
        wsaStarted_ = true;
    }
    sockaddr_in addr{};
    if (!atwire::ToSockaddr(address, addr, false))
        return false;
    SOCKET s = ConnectWithin(addr, kSilenceLimitMs);
    if (s == INVALID_SOCKET)
        return false;
    BOOL nodelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nodelay), sizeof nodelay);
    // A service that stopped reading must not hold a caller in send.
    DWORD sendLimit = kSilenceLimitMs;
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendLimit), sizeof sendLimit);
    // The receiver thread runs code of this library: keep the library
    // loaded for the life of the process.
    // Any address inside the library names it; a data object's serves.
    static const char kInsideThisLibrary = 0;
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       &kInsideThisLibrary, &self);
    struct Start {
        Client* client;
        SOCKET socket;
    };
    auto* start = new Start{this, s};
    HANDLE thread = CreateThread(nullptr, 0, &Client::ReceiverMain, start, 0, nullptr);
    if (!thread) {
        delete start;
        closesocket(s);
        return false;
    }
    CloseHandle(thread);
    socket_ = s;
    address_ = address;
    EnterCriticalSection(&sendLock_);
    live_ = s;
    LeaveCriticalSection(&sendLock_);
    const nlohmann::json hello = {{"op", "hello"},
                                  {"id", 0},
                                  {"program", ProgramName()},
                                  {"pid", GetCurrentProcessId()},
                                  {"library", library_}};
    SendBytes(s, atwire::Encode({hello, {}}));
    return true;
}

void Client::DisconnectLocked(SOCKET s)
{
    if (s != socket_ || s == INVALID_SOCKET)
        return;
    // Wakes the receiver thread, which closes the socket on its way out.
    shutdown(s, SD_BOTH);
    EnterCriticalSection(&sendLock_);
    live_ = INVALID_SOCKET;
    LeaveCriticalSection(&sendLock_);
    socket_ = INVALID_SOCKET;
    address_.clear();
    auto pending = std::move(pending_);
    pending_.clear();
    static const nlohmann::json none = nlohmann::json::object();
    for (auto& [id, p] : pending)
        p.done(atw::kErrServiceDown, none, {});
}

DWORD WINAPI Client::ReceiverMain(LPVOID param)
{
    struct Start {
        Client* client;
        SOCKET socket;
    };
    Start start = *static_cast<Start*>(param);
    delete static_cast<Start*>(param);
    start.client->Receive(start.socket);
    return 0;
}

void Client::Receive(SOCKET s)
{
    atwire::Decoder decoder;
    std::vector<char> buf(64 * 1024);
    while (true) {
        // Wakes every second to see whether the service still answers.
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s, &readable);
        timeval tv{1, 0};
        const int ready = select(0, &readable, nullptr, nullptr, &tv);
        if (ready < 0)
            break;
        if (ready == 0) {
            Lock();
            const bool alive = KeepAliveLocked(s);
            Unlock();
            if (!alive)
                break;
            continue;
        }
        const int n = recv(s, buf.data(), static_cast<int>(buf.size()), 0);
        if (n <= 0)
            break;
        Lock();
        lastHeard_ = GetTickCount64();
        Unlock();
        decoder.Feed(buf.data(), static_cast<std::size_t>(n));
        atwire::Message m;
        atwire::Decoder::Status st;
        while ((st = decoder.Next(m)) == atwire::Decoder::Status::Message) {
            bool idOk = true, resultOk = true, interimOk = true;
            const int64_t id = atwire::GetInt(m.head, "id", 0, idOk);
            // An answer without a usable result still ends its request.
            int64_t result = atwire::GetInt(m.head, "result", atw::kErrFailed, resultOk);
            if (result < INT32_MIN || result > INT32_MAX)
                result = atw::kErrFailed;
            const bool interim = atwire::GetBool(m.head, "interim", false, interimOk);
            Lock();
            auto it = idOk && id > 0 && id <= UINT32_MAX ? pending_.find(static_cast<uint32_t>(id)) : pending_.end();
            if (it != pending_.end() && interim) {
                if (it->second.progress)
                    it->second.progress(m.head);
            } else if (it != pending_.end()) {
                Completion done = std::move(it->second.done);
                pending_.erase(it);
                done(static_cast<int32_t>(result), m.head, m.blob);
            }
            Unlock();
        }
        if (st == atwire::Decoder::Status::Error)
            break;  // garbage from the "service": trust nothing more on this connection
    }
    Lock();
    DisconnectLocked(s);
    Unlock();
    EnterCriticalSection(&sendLock_);
    closesocket(s);
    LeaveCriticalSection(&sendLock_);
}

bool Client::KeepAliveLocked(SOCKET s)
{
    if (s != socket_ || pending_.empty())
        return true;
    const ULONGLONG silent = GetTickCount64() - lastHeard_;
    if (silent >= kSilenceLimitMs)
        return false;
    if (ping_ == 0 || !pending_.count(ping_)) {
        // Any answer is a sign of life; this one asks for nothing else.
        ping_ = nextId_++;
        if (nextId_ == 0)
            nextId_ = 1;
        pending_[ping_] = {[](int32_t, const nlohmann::json&, const std::string&) {}, nullptr};
        if (!SendBytes(s, atwire::Encode({{{"op", "ping"}, {"id", ping_}}, {}})))
            return false;
    }
    return true;
}

int32_t Client::Send(nlohmann::json head, std::string blob, Completion done, Progress progress, uint32_t* sentId)
{
    Lock();
    if (!EnsureConnectedLocked()) {
        Unlock();
        return atw::kErrServiceDown;
    }
    const uint32_t id = nextId_++;
    if (nextId_ == 0)
        nextId_ = 1;
    if (sentId)
        *sentId = id;
    head["id"] = id;
    // The service's silence counts from when something waits for it.
    if (pending_.empty())
        lastHeard_ = GetTickCount64();
    pending_[id] = {std::move(done), std::move(progress)};
    SOCKET s = socket_;
    Unlock();
    if (SendBytes(s, atwire::Encode({std::move(head), std::move(blob)})))
        return 0;
    Lock();
    const bool stillMine = pending_.erase(id) == 1;
    DisconnectLocked(s);
    Unlock();
    return stillMine ? atw::kErrServiceDown : 0;
}

int32_t Client::Call(nlohmann::json head, std::string blob, nlohmann::json* reply, std::string* replyBlob)
{
    // Shared with the completion, which may still run after a time-out.
    struct Wait {
        HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        int32_t result = atw::kErrServiceDown;
        nlohmann::json head;
        std::string blob;
        ~Wait() { CloseHandle(event); }
    };
    auto wait = std::make_shared<Wait>();
    const int32_t sent = Send(std::move(head), std::move(blob), [wait](int32_t r, const nlohmann::json& h, const std::string& b) {
        wait->result = r;
        wait->head = h;
        wait->blob = b;
        SetEvent(wait->event);
    });
    if (sent != 0)
        return sent;
    const DWORD w = WaitForSingleObject(wait->event, kCallLimitMs);
    Lock();
    const int32_t result = w == WAIT_OBJECT_0 ? wait->result : atw::kErrServiceDown;
    if (w == WAIT_OBJECT_0) {
        if (reply)
            *reply = std::move(wait->head);
        if (replyBlob)
            *replyBlob = std::move(wait->blob);
    }
    Unlock();
    return result;
}

void Client::Note(nlohmann::json head)
{
    Lock();
    const bool connected = EnsureConnectedLocked();
    SOCKET s = socket_;
    Unlock();
    if (!connected)
        return;
    head["id"] = 0;
    SendBytes(s, atwire::Encode({std::move(head), {}}));
}

}  // namespace atclient
