// The libraries' side of the wire protocol (Windows only): one loopback TCP
// connection to atnetd per library, opened on first use, and a receiver
// thread that completes requests as their answers arrive.
//
// Where the service is: the environment variable VESTREL_ATNETD
// ("127.0.0.1:PORT"), else the registry value HKLM\SOFTWARE\VESTREL\ATSTACK
// "Service" (32-bit view, REG_SZ, same form), else 127.0.0.1:38870. The
// address is read again before every request, so a changed address (a test
// starting a new service) is followed at once.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "wire.h"

namespace atclient {

// How long the service may stay silent while requests wait for it: the
// library asks it for a sign of life after a second of silence and gives
// it up (every waiting request ends with -1099) after this long. A
// synchronous call waits no longer than kCallLimitMs in any case.
constexpr DWORD kSilenceLimitMs = 5000;
constexpr DWORD kCallLimitMs = kSilenceLimitMs + 1000;

// Runs on the receiver thread, under the client's lock, exactly once per
// request that Send accepted: with the answer, or with kErrServiceDown
// (-1099) when the connection ends first or the service falls silent.
using Completion = std::function<void(int32_t result, const nlohmann::json& head, const std::string& blob)>;
// Runs on the receiver thread, under the client's lock, for each interim
// word on a request that is still waiting (a PAP open queued behind another
// connection learns the printer's status so).
using Progress = std::function<void(const nlohmann::json& head)>;

class Client {
public:
    explicit Client(const char* library);
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // 0: sent, `done` will run; `*sentId`, when given, receives the
    // request's id on the wire. Negative: not sent (service unreachable),
    // `done` will not run.
    int32_t Send(nlohmann::json head, std::string blob, Completion done, Progress progress = nullptr,
                 uint32_t* sentId = nullptr);
    // Sends and waits for the answer; the result, or kErrServiceDown when
    // the service cannot be reached, goes away, or does not answer within
    // kCallLimitMs.
    int32_t Call(nlohmann::json head, std::string blob = {}, nlohmann::json* reply = nullptr,
                 std::string* replyBlob = nullptr);
    // A message that wants no answer (trace notes); dropped when the
    // service cannot be reached.
    void Note(nlohmann::json head);

    // The lock completions run under: hold it to keep them out.
    void Lock() { EnterCriticalSection(&lock_); }
    void Unlock() { LeaveCriticalSection(&lock_); }

private:
    bool EnsureConnectedLocked();
    void DisconnectLocked(SOCKET s);
    bool SendBytes(SOCKET s, const std::string& bytes);
    static DWORD WINAPI ReceiverMain(LPVOID param);
    void Receive(SOCKET s);
    // On the receiver thread after a second without bytes: false when the
    // service has been silent too long with requests waiting.
    bool KeepAliveLocked(SOCKET s);

    std::string library_;
    CRITICAL_SECTION lock_;
    CRITICAL_SECTION sendLock_;
    SOCKET socket_ = INVALID_SOCKET;
    // The socket sends may use, under sendLock_. A socket is closed only by
    // its receiver thread, under sendLock_, after it stopped being live: no
    // thread ever reads or writes a closed handle, or a new socket that
    // happens to get the old handle's value.
    SOCKET live_ = INVALID_SOCKET;
    std::string address_;
    struct Pending {
        Completion done;
        Progress progress;
    };
    std::map<uint32_t, Pending> pending_;
    uint32_t nextId_ = 1;
    ULONGLONG lastHeard_ = 0;   // when the service last sent bytes, or requests began to wait
    uint32_t ping_ = 0;         // the id of the sign of life asked for; 0 = none
    bool wsaStarted_ = false;
};

// The address the libraries connect to (see above).
std::string ServiceAddress();

// The request identifier written at 0x34 of PAP open and status blocks:
// unique within the process.
int32_t NextRequestId();

}  // namespace atclient
