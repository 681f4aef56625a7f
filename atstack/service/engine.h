// The request layer of atnetd: the libraries' requests in, answers out, no
// sockets and no clock of its own. The server loop feeds it messages and
// the time and sends what it produces. Each request goes to its
// operation's handler (operations.cpp has the table, op_*.cpp the
// handlers), which asks the network (network.h, the seam); every answer is
// also written to the trace.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "network.h"
#include "request.h"
#include "trace.h"
#include "wire.h"
#include "world.h"

namespace atsvc {

struct Options {
    std::string tracePath;   // empty: no trace
    std::string spoolDir;    // simulated network: empty = jobs are not kept
    std::string statePath;   // simulated network: empty = nothing survives a restart
};

struct Outgoing {
    ClientId client;
    atwire::Message message;
};

class Engine {
public:
    // Requests of one client that may wait at once (lookups, zone lists,
    // opens, reads...): more are refused at once, so no client can park
    // requests without end.
    static constexpr std::size_t kMaxWaitingPerClient = 64;

    // Serves `network`.
    Engine(std::unique_ptr<Network> network, const Options& options, int64_t nowMs);
    // Serves the simulated internet of `world` (simnet/).
    Engine(atw::World world, const Options& options, int64_t nowMs);
    ~Engine();

    void Connect(ClientId client, int64_t nowMs);
    // The client vanished: its waiting requests are forgotten and the
    // network lets go of what it held for it.
    void Disconnect(ClientId client, int64_t nowMs);
    void Handle(ClientId client, const atwire::Message& message, int64_t nowMs);
    void Tick(int64_t nowMs);
    int64_t NextDeadline() const;
    std::vector<Outgoing> TakeOutgoing();

    Network& Net() { return *network_; }
    // The trace stops growing here (kDefaultTraceLimit unless set).
    void LimitTrace(uint64_t bytes) { trace_.Limit(bytes); }
    // True while the client has requests waiting (a library that waits
    // pings the service every second; an idle one sends nothing).
    bool Waiting(ClientId client) const;

    // ---- for the handlers ----
    // Names the client after its hello ("VestrelUtil.exe#42/Kestra32").
    void NameClient(ClientId client, std::string name);
    // The notification counters of Tarpin32 ("paptypes", "korvel").
    int Notify(const std::string& what);
    int Generation(const std::string& what) const;
    // Ends the client's request `id` if it still waits (a closed
    // enumeration's lookup).
    bool End(ClientId client, uint32_t id, Answer answer);

private:
    friend class Request;
    // What the trace needs of a request until it is answered.
    struct Outstanding {
        ClientId client = 0;
        uint32_t id = 0;
        const Operation* operation = nullptr;
        std::string op;
        nlohmann::json in;   // the request's fields, cut short for the trace
        std::size_t inBytes = 0;
    };
    struct Client {
        std::string name;
        std::size_t waiting = 0;
    };

    void Complete(uint64_t key, Answer answer);
    void Interim(uint64_t key, nlohmann::json out);
    void TraceLine(nlohmann::json line);
    std::string ClientName(ClientId client) const;

    std::unique_ptr<Network> network_;
    Trace trace_;
    int64_t start_ = 0;
    int64_t now_ = 0;
    std::map<ClientId, Client> clients_;
    std::unordered_map<uint64_t, Outstanding> outstanding_;
    uint64_t nextKey_ = 1;
    std::vector<Outgoing> out_;
    std::map<std::string, int> generations_;
};

}  // namespace atsvc
