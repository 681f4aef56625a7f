// The heart of atnetd: one simulated AppleTalk internet answering the
// requests of every connected library. No sockets and no clock of its own:
// the server loop feeds it messages and the time, and sends what it
// produces. Everything it answers is also written to the trace; every job's
// bytes go to the spool folder; changes a real network keeps go to the
// state file.
#pragma once

#include <cstdint>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "wire.h"
#include "world.h"

namespace atsvc {

using ClientId = uint64_t;

struct Options {
    std::string tracePath;   // empty: no trace
    std::string spoolDir;    // empty: jobs are not kept
    std::string statePath;   // empty: nothing survives a restart
};

struct Outgoing {
    ClientId client;
    atwire::Message message;
};

class Engine {
public:
    Engine(atw::World world, Options options, int64_t nowMs);
    ~Engine();

    void Connect(ClientId client, int64_t nowMs);
    // The client vanished: its waiting opens, reads and connections end.
    void Disconnect(ClientId client, int64_t nowMs);
    void Handle(ClientId client, const atwire::Message& message, int64_t nowMs);
    // Runs whatever has come due (delayed answers, opens whose delay ran out).
    void Tick(int64_t nowMs);
    // When Tick has something to do next; -1 when nothing waits on time.
    int64_t NextDeadline() const;
    std::vector<Outgoing> TakeOutgoing();

    const atw::World& World() const { return world_; }
    int PapTypesGeneration() const { return papTypesGeneration_; }
    std::string StateError() const { return stateError_; }

private:
    struct Req {
        ClientId client = 0;
        uint32_t id = 0;
        std::string op;
        nlohmann::json in;
        std::size_t inBytes = 0;
    };
    struct PendingOpen {
        Req req;
        int32_t clientReqId = 0;
        int64_t readyAt = 0;
        int32_t failResult = 0;  // nonzero: this open fails when ready
    };
    struct Conn {
        int32_t ref = 0;
        ClientId client = 0;
        std::size_t printer = 0;
        int writes = 0, reads = 0;
        bool jobActive = false;
        std::string job;
        // The printer's answers to finished jobs, each ended by its own EOF,
        // in order: a read never carries bytes or the EOF of two jobs.
        std::deque<std::string> replies;
        std::optional<Req> read;
        std::size_t readMax = 0;
    };
    struct PrinterState {
        std::deque<PendingOpen> queue;
        int32_t conn = 0;  // 0: free
        int opens = 0;
    };
    struct Timer {
        ClientId client;
        std::function<void()> run;
    };

    void Reply(const Req& req, int32_t result, nlohmann::json out = nlohmann::json::object(), std::string blob = {});
    // A word on a request that is still waiting ("interim": no result): the
    // request stays outstanding.
    void Interim(const Req& req, nlohmann::json out);
    void TraceLine(nlohmann::json line);
    void After(int64_t delayMs, ClientId client, std::function<void()> run);
    void SaveState();

    void PapOpen(const Req& req);
    void PapStatus(const Req& req);
    void PapWrite(const Req& req, const std::string& data);
    void PapRead(const Req& req);
    void PapClose(const Req& req);
    void PapCancel(const Req& req);
    // The connection named by the request's connRef when it is the
    // client's own; null otherwise.
    Conn* OwnConnection(const Req& req);
    // Answers the request with the printer's injected fault for this nth
    // write or read, if there is one.
    bool Faulted(const Req& req, const Conn& c, atw::PrinterFault::At at, int nth);
    void Pump(std::size_t printer);
    void ServeRead(Conn& conn);
    void EndJob(Conn& conn, bool eof, nlohmann::json& out);
    std::string Interpret(atw::Printer& printer, const std::string& job);
    std::string StatusOf(std::size_t printer) const;
    // What an open waiting behind another connection is told.
    std::string BusyStatusOf(std::size_t printer) const;
    void CloseConn(int32_t ref, bool notifyRead);

    atw::World world_;
    Options options_;
    int64_t start_ = 0;
    int64_t now_ = 0;
    std::unique_ptr<std::ofstream> trace_;
    std::map<ClientId, std::string> clients_;
    std::vector<PrinterState> printers_;
    std::map<int32_t, Conn> conns_;
    int32_t nextConn_ = 1;
    std::multimap<int64_t, Timer> timers_;
    std::vector<Outgoing> out_;
    int jobSeq_ = 0;
    int papTypesGeneration_ = 0;
    int korvelGeneration_ = 0;
    std::string stateError_;
};

}  // namespace atsvc
