// The printers' side of PAP in the simulated network: one connection per
// printer at a time, opens queued behind it, status strings, jobs streamed
// to the spool and handed to the printer's model, replies read back.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "network.h"
#include "printer_model.h"
#include "spool.h"

namespace simnet {

class PapPrinters {
public:
    // Opens that may wait for one printer; more are refused at once.
    static constexpr std::size_t kMaxWaitingOpens = 64;
    // Replies of ended jobs not yet read on one connection: a write that
    // would end one more job is refused until the client reads.
    static constexpr std::size_t kMaxUnreadReplies = 16;

    using Events = std::function<void(nlohmann::json)>;
    PapPrinters(atw::World& world, Spool& spool, std::function<void()> saveState, Events events);
    ~PapPrinters();

    void Open(atsvc::ClientId client, int32_t reqId, const atw::EntityName& name, atsvc::Done done, atsvc::Word waiting);
    void Status(atsvc::ClientId client, const atw::EntityName& name, atsvc::Done done);
    void Write(atsvc::ClientId client, int32_t ref, std::string data, bool eof, atsvc::Done done);
    void Read(atsvc::ClientId client, int32_t ref, std::size_t max, atsvc::Done done);
    void Close(atsvc::ClientId client, int32_t ref, atsvc::Done done);
    bool Cancel(atsvc::ClientId client, int32_t reqId);
    void ClientGone(atsvc::ClientId client);

    void Tick(int64_t nowMs);
    int64_t NextDeadline() const;

private:
    struct PendingOpen {
        atsvc::ClientId client = 0;
        int32_t reqId = 0;
        uint64_t serial = 0;
        int64_t readyAt = 0;
        int32_t failResult = 0;  // nonzero: this open fails when ready
        atsvc::Done done;
    };
    struct Conn {
        int32_t ref = 0;
        atsvc::ClientId client = 0;
        std::size_t printer = 0;
        int writes = 0, reads = 0;
        bool jobActive = false;
        // The rest of a job cut off as too large is ignored up to its EOF.
        bool flushing = false;
        uint64_t jobBytes = 0;
        std::unique_ptr<SpoolFile> spool;
        // The printer's answers to finished jobs, each ended by its own EOF,
        // in order: a read never carries bytes or the EOF of two jobs.
        std::deque<std::shared_ptr<ReplyStream>> replies;
        atsvc::Done read;  // the one read that may wait
        std::size_t readMax = 0;
        int64_t lastHeard = 0;  // the client's last write, read or status
    };
    class Host;
    struct Printer {
        std::deque<PendingOpen> queue;
        int32_t conn = 0;  // 0: free
        int opens = 0;
        std::unique_ptr<Host> host;          // before the model, which uses it
        std::unique_ptr<PrinterModel> model;
    };

    std::size_t IndexOf(const atw::Printer& p) const;
    // The client's own connection of that reference; null otherwise.
    Conn* Own(atsvc::ClientId client, int32_t ref);
    // Answers with the printer's injected fault for this nth write or read,
    // if there is one.
    bool Faulted(const Conn& c, atw::PrinterFault::At at, int nth, const atsvc::Done& done);
    void Pump(std::size_t printer);
    // False when the spool cannot keep the bytes.
    bool AddToJob(Conn& c, std::string_view data);
    void EndJob(Conn& c, bool eof, nlohmann::json& out);
    // Ends the job in progress without its EOF, for `reason`.
    nlohmann::json CutJob(Conn& c, const char* reason);
    // Closes it: a waiting read ends with -1105 when `notifyRead`, a job
    // in progress is cut off for `reason`.
    void CloseConn(int32_t ref, bool notifyRead, const char* reason);
    // Closes connections whose client has been silent past the world's
    // PAP time-out.
    void TimeOut();
    void ServeRead(Conn& c);
    std::string StatusOf(std::size_t printer) const;
    // What an open waiting behind another connection is told.
    std::string BusyStatusOf(std::size_t printer) const;
    bool Rename(std::size_t printer, const std::string& object);

    atw::World& world_;
    Spool& spool_;
    std::function<void()> saveState_;
    Events events_;
    int64_t now_ = 0;
    std::vector<Printer> printers_;
    std::map<int32_t, Conn> conns_;
    int32_t nextConn_ = 1;
    uint64_t nextSerial_ = 1;
};

}  // namespace simnet
