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

// Runs on the receiver thread, under the client's lock, exactly once per
// request that Send accepted: with the answer, or with kErrServiceDown
// (-1099) when the connection ends first.
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

    // 0: sent, `done` will run. Negative: not sent (service unreachable),
    // `done` will not run.
    int32_t Send(nlohmann::json head, std::string blob, Completion done, Progress progress = nullptr);
    // Sends and waits for the answer; the result, or kErrServiceDown when
    // the service cannot be reached, goes away, or does not answer within
    // `timeoutMs`.
    int32_t Call(nlohmann::json head, std::string blob = {}, nlohmann::json* reply = nullptr,
                 std::string* replyBlob = nullptr, DWORD timeoutMs = 15000);
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
    bool wsaStarted_ = false;
};

// The address the libraries connect to (see above).
std::string ServiceAddress();

// The request identifier written at 0x34 of PAP open and status blocks:
// unique within the process.
int32_t NextRequestId();

}  // namespace atclient
