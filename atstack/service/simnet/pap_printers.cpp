#include "pap_printers.h"

#include <algorithm>

#include "latin1.h"

namespace simnet {

using atsvc::Done;
using atw::BytesToText;
using nlohmann::json;

// What a printer's model may do to its printer.
class PapPrinters::Host : public PrinterHost {
public:
    Host(PapPrinters& pap, std::size_t printer) : pap_(pap), printer_(printer) {}
    const atw::Printer& Record() const override { return pap_.world_.printers[printer_]; }
    bool Rename(const std::string& object) override { return pap_.Rename(printer_, object); }
    void SetPersistent(std::vector<std::string> kept) override
    {
        pap_.world_.printers[printer_].persistent = std::move(kept);
        pap_.saveState_();
    }
    void Event(json event) override
    {
        event["printer"] = Record().id;
        pap_.events_(std::move(event));
    }

private:
    PapPrinters& pap_;
    std::size_t printer_;
};

PapPrinters::PapPrinters(atw::World& world, Spool& spool, std::function<void()> saveState, Events events)
    : world_(world), spool_(spool), saveState_(std::move(saveState)), events_(std::move(events))
{
    printers_.resize(world_.printers.size());
    for (std::size_t i = 0; i < printers_.size(); ++i) {
        printers_[i].host = std::make_unique<Host>(*this, i);
        printers_[i].model = MakePrinterModel(world_.printers[i], *printers_[i].host, spool_.Dir());
    }
}

PapPrinters::~PapPrinters() = default;

std::size_t PapPrinters::IndexOf(const atw::Printer& p) const
{
    return static_cast<std::size_t>(&p - world_.printers.data());
}

std::string PapPrinters::StatusOf(std::size_t i) const
{
    const atw::Printer& p = world_.printers[i];
    if (!p.statusFixed.empty())
        return p.statusFixed;
    const Printer& s = printers_[i];
    if (auto status = s.model->Status())
        return *status;
    if (s.conn == 0)
        return p.statusIdle;
    auto it = conns_.find(s.conn);
    if (it != conns_.end() && it->second.jobActive)
        return p.statusBusy;
    return p.statusWaiting;
}

std::string PapPrinters::BusyStatusOf(std::size_t i) const
{
    const atw::Printer& p = world_.printers[i];
    if (!p.statusFixed.empty())
        return p.statusFixed;
    return printers_[i].model->Status().value_or(p.statusBusy);
}

void PapPrinters::Status(atsvc::ClientId client, const atw::EntityName& name, Done done)
{
    const atw::Printer* p = world_.FindPrinter(name);
    if (!p) {
        done({atw::kErrNoSuchPrinter, {{"status", ""}}});
        return;
    }
    // The client that holds the printer asks how it does: it is still there.
    const std::size_t i = IndexOf(*p);
    if (Conn* c = Own(client, printers_[i].conn))
        c->lastHeard = now_;
    done({0, {{"status", BytesToText(StatusOf(i))}}});
}

void PapPrinters::Open(atsvc::ClientId client, int32_t reqId, const atw::EntityName& name, Done done,
                       atsvc::Word waiting)
{
    const atw::Printer* p = world_.FindPrinter(name);
    if (!p) {
        done({atw::kErrNoSuchPrinter});
        return;
    }
    const std::size_t i = IndexOf(*p);
    Printer& s = printers_[i];
    if (s.queue.size() >= kMaxWaitingOpens) {
        done({atw::kErrRefused, {{"error", "too many opens waiting for this printer"}}});
        return;
    }
    ++s.opens;
    PendingOpen o;
    o.client = client;
    o.reqId = reqId;
    o.serial = nextSerial_++;
    o.readyAt = now_ + p->openDelayMs;
    if (p->openRefused)
        o.failResult = atw::kErrRefused;
    if (const auto* f = p->FaultAt(atw::PrinterFault::At::Open, s.opens))
        o.failResult = f->result;
    o.done = std::move(done);
    const bool fails = o.failResult != 0;
    const uint64_t serial = o.serial;
    s.queue.push_back(std::move(o));
    Pump(i);
    // Like a LaserWriter's open reply while it serves someone else: the
    // opener keeps waiting and learns why.
    const bool queued = std::any_of(s.queue.begin(), s.queue.end(), [&](const PendingOpen& q) { return q.serial == serial; });
    if (!fails && s.conn != 0 && queued)
        waiting({{"status", BytesToText(BusyStatusOf(i))}});
}

void PapPrinters::Pump(std::size_t i)
{
    Printer& s = printers_[i];
    for (auto it = s.queue.begin(); it != s.queue.end();) {
        if (it->failResult != 0 && it->readyAt <= now_) {
            Done done = std::move(it->done);
            const int32_t rc = it->failResult;
            it = s.queue.erase(it);
            done({rc});
        } else {
            ++it;
        }
    }
    while (s.conn == 0) {
        auto it = std::find_if(s.queue.begin(), s.queue.end(), [](const PendingOpen& o) { return o.failResult == 0; });
        if (it == s.queue.end() || it->readyAt > now_)
            break;
        PendingOpen o = std::move(*it);
        s.queue.erase(it);
        Conn c;
        c.ref = nextConn_++;
        c.client = o.client;
        c.printer = i;
        c.lastHeard = now_;
        s.conn = c.ref;
        conns_[c.ref] = std::move(c);
        o.done({0, {{"connRef", s.conn}}});
    }
}

bool PapPrinters::Cancel(atsvc::ClientId client, int32_t reqId)
{
    for (auto& s : printers_) {
        for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
            if (it->client == client && it->reqId == reqId) {
                Done done = std::move(it->done);
                s.queue.erase(it);
                done({atw::kErrAborted, {{"cancelled", true}}});
                return true;
            }
        }
    }
    return false;
}

PapPrinters::Conn* PapPrinters::Own(atsvc::ClientId client, int32_t ref)
{
    auto it = conns_.find(ref);
    return it != conns_.end() && it->second.client == client ? &it->second : nullptr;
}

bool PapPrinters::Faulted(const Conn& c, atw::PrinterFault::At at, int nth, const Done& done)
{
    const atw::PrinterFault* f = world_.printers[c.printer].FaultAt(at, nth);
    if (f)
        done({f->result, {{"fault", at == atw::PrinterFault::At::Write ? "write" : "read"}}});
    return f != nullptr;
}

void PapPrinters::Write(atsvc::ClientId client, int32_t ref, std::string data, bool eof, Done done)
{
    Conn* conn = Own(client, ref);
    if (!conn || data.size() > 4096) {
        done({atw::kErrFailed, {{"error", "no such connection or bad length"}}});
        return;
    }
    Conn& c = *conn;
    c.lastHeard = now_;
    if (eof && c.replies.size() >= kMaxUnreadReplies) {
        done({atw::kErrFailed, {{"error", "replies not read"}}});
        return;
    }
    if (Faulted(c, atw::PrinterFault::At::Write, ++c.writes, done))
        return;
    const uint64_t limit = world_.limits.jobBytes;
    const char* refused = c.flushing                         ? "the rest of a job that was cut off"
                          : c.jobBytes + data.size() > limit ? "job too large"
                          : !AddToJob(c, data)               ? "the spool cannot keep the job"
                                                             : nullptr;
    if (refused) {
        // The sender hears it; the job is kept as cut off, and what follows
        // of it up to its EOF is not taken for a new job.
        json out = c.jobActive ? CutJob(c, refused) : json::object();
        c.flushing = !eof;
        out["error"] = refused;
        done({atw::kErrFailed, out});
        return;
    }
    json out = json::object();
    if (eof)
        EndJob(c, true, out);
    done({0, out});
    ServeRead(c);
}

bool PapPrinters::AddToJob(Conn& c, std::string_view data)
{
    c.jobActive = true;
    if (data.empty())
        return true;
    if (!c.spool && spool_.Keeps()) {
        c.spool = spool_.Begin(world_.printers[c.printer].id);
        if (!c.spool)
            return false;
    }
    if (c.spool && !c.spool->Write(data))
        return false;
    c.jobBytes += data.size();
    printers_[c.printer].model->JobData(data);
    return true;
}

json PapPrinters::CutJob(Conn& c, const char* reason)
{
    json out = json::object();
    EndJob(c, false, out);
    events_({{"event", "job cut off"}, {"connRef", c.ref}, {"reason", reason}, {"out", out}});
    return out;
}

void PapPrinters::EndJob(Conn& c, bool eof, json& out)
{
    const std::size_t i = c.printer;
    atw::Printer& p = world_.printers[i];
    if (!c.spool && eof)
        c.spool = spool_.Begin(p.id);  // an empty job is a job too
    JobEnd job;
    job.connRef = c.ref;
    job.eof = eof;
    job.bytes = c.jobBytes;
    if (c.spool) {
        c.spool->Finish(eof);
        job.spoolPath = c.spool->Path();
        out["spool"] = c.spool->Name();
    }
    out["jobBytes"] = c.jobBytes;
    c.spool.reset();
    c.jobBytes = 0;
    c.jobActive = false;

    const std::string oldName = p.name.object;
    auto reply = eof ? std::make_shared<ReplyStream>() : nullptr;
    printers_[i].model->JobEnded(job, *printers_[i].host, reply);
    if (p.name.object != oldName)
        out["renamed"] = {{"from", BytesToText(oldName)}, {"to", BytesToText(p.name.object)}};
    if (!reply)
        return;
    // Told only of what the model sends from now on: what it answered at
    // once is read after the write that ended the job is answered.
    reply->OnChange([this, ref = c.ref]() {
        auto it = conns_.find(ref);
        if (it != conns_.end())
            ServeRead(it->second);
    });
    c.replies.push_back(std::move(reply));
}

bool PapPrinters::Rename(std::size_t i, const std::string& object)
{
    atw::Printer& p = world_.printers[i];
    // A printer registers no name it could not be found by: none with NBP's
    // reserved characters, none another registration already has.
    const char* refused = nullptr;
    if (object.empty() || object.size() > 32 || object.find_first_of(":@=\xC5") != std::string::npos)
        refused = "not a name NBP can look up";
    for (const auto& e : world_.Registrations())
        if (!refused && atw::NameEquals(e.name.object, object) && atw::NameEquals(e.name.type, p.name.type) &&
            atw::NameEquals(e.name.zone, p.name.zone) && !atw::NameEquals(object, p.name.object))
            refused = "another registration has this name";
    if (refused) {
        events_({{"event", "rename refused"}, {"printer", p.id}, {"to", BytesToText(object)}, {"why", refused}});
        return false;
    }
    // The chooser's default printer follows its rename.
    if (world_.defaultPrinter && atw::NameEquals(world_.defaultPrinter->object, p.name.object) &&
        atw::NameEquals(world_.defaultPrinter->type, p.name.type) &&
        atw::NameEquals(world_.ResolveZone(world_.defaultPrinter->zone), p.name.zone))
        world_.defaultPrinter->object = object;
    p.name.object = object;
    saveState_();
    return true;
}

void PapPrinters::Read(atsvc::ClientId client, int32_t ref, std::size_t max, Done done)
{
    Conn* conn = Own(client, ref);
    if (!conn || max == 0 || conn->read) {
        done({atw::kErrFailed, {{"error", "no such connection, bad length or a read already waits"}}});
        return;
    }
    Conn& c = *conn;
    c.lastHeard = now_;
    if (Faulted(c, atw::PrinterFault::At::Read, ++c.reads, done))
        return;
    c.read = std::move(done);
    c.readMax = std::min<std::size_t>(max, 4096);
    ServeRead(c);
}

void PapPrinters::ServeRead(Conn& c)
{
    if (!c.read || c.replies.empty())
        return;
    ReplyStream& front = *c.replies.front();
    std::string& pending = front.Pending();
    if (pending.empty() && !front.Ended())
        return;  // the printer has not answered yet
    const std::size_t n = std::min(c.readMax, pending.size());
    std::string data = pending.substr(0, n);
    pending.erase(0, n);
    const bool eof = front.Ended() && pending.empty();
    if (eof)
        c.replies.pop_front();
    Done read = std::move(c.read);
    c.read = nullptr;
    read({0, {{"length", n}, {"eof", eof}}, std::move(data)});
}

void PapPrinters::CloseConn(int32_t ref, bool notifyRead, const char* reason)
{
    auto it = conns_.find(ref);
    if (it == conns_.end())
        return;
    Conn& c = it->second;
    if (c.read && notifyRead) {
        Done read = std::move(c.read);
        c.read = nullptr;
        read({atw::kErrAborted, {{"closed", true}}});
    }
    if (c.jobActive && c.jobBytes > 0)
        CutJob(c, reason);
    const std::size_t printer = c.printer;
    printers_[printer].model->ConnectionClosed(ref);
    printers_[printer].conn = 0;
    conns_.erase(it);
    Pump(printer);
}

void PapPrinters::TimeOut()
{
    const int64_t limit = world_.timing.papTimeoutMs;
    std::vector<int32_t> silent;
    for (const auto& [ref, c] : conns_)
        if (now_ - c.lastHeard >= limit)
            silent.push_back(ref);
    for (int32_t ref : silent) {
        events_({{"event", "connection timed out"}, {"connRef", ref}, {"afterMs", limit}});
        CloseConn(ref, true, "timed out");
    }
}

void PapPrinters::Close(atsvc::ClientId client, int32_t ref, Done done)
{
    if (!Own(client, ref)) {
        done({atw::kErrFailed, {{"error", "no such connection"}}});
        return;
    }
    CloseConn(ref, true, "closed");
    done({0});
}

void PapPrinters::ClientGone(atsvc::ClientId client)
{
    for (auto& s : printers_) {
        auto& q = s.queue;
        q.erase(std::remove_if(q.begin(), q.end(), [&](const PendingOpen& o) { return o.client == client; }), q.end());
    }
    std::vector<int32_t> refs;
    for (auto& [ref, c] : conns_)
        if (c.client == client)
            refs.push_back(ref);
    for (int32_t ref : refs)
        CloseConn(ref, false, "closed");
    for (std::size_t i = 0; i < printers_.size(); ++i)
        Pump(i);
}

void PapPrinters::Tick(int64_t nowMs)
{
    now_ = nowMs;
    TimeOut();
    for (std::size_t i = 0; i < printers_.size(); ++i) {
        printers_[i].model->Tick(nowMs);
        Pump(i);
    }
}

int64_t PapPrinters::NextDeadline() const
{
    int64_t next = -1;
    auto consider = [&](int64_t t) {
        if (t >= 0 && (next < 0 || t < next))
            next = t;
    };
    for (const auto& [ref, c] : conns_)
        consider(c.lastHeard + world_.timing.papTimeoutMs);
    for (const auto& p : printers_) {
        consider(p.model->NextDeadline());
        bool headSeen = false;
        for (const auto& o : p.queue) {
            if (o.failResult != 0)
                consider(o.readyAt);
            else if (!headSeen && p.conn == 0) {
                consider(o.readyAt);
                headSeen = true;
            }
        }
    }
    return next;
}

}  // namespace simnet
