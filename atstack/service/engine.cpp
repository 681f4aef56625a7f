#include "engine.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sstream>

#include "latin1.h"
#include "world_file.h"

namespace atsvc {

using nlohmann::json;
using atw::BytesToText;

namespace {

json EntityJson(const atw::Entity& e)
{
    return {{"object", BytesToText(e.name.object)}, {"type", BytesToText(e.name.type)},
            {"zone", BytesToText(e.name.zone)},     {"network", e.address.network},
            {"node", e.address.node},               {"socket", e.address.socket}};
}

std::string SafeFileName(const std::string& s)
{
    std::string out;
    for (unsigned char c : s)
        out += (std::isalnum(c) || c == '-' || c == '_') ? static_cast<char>(c) : '_';
    return out.empty() ? std::string("printer") : out.substr(0, 40);
}

// Lists in one answer stop growing well inside a frame: a lookup in a huge
// world answers what fits, as a real lookup fills the asker's buffer.
constexpr std::size_t kAnswerBudget = atwire::kMaxHead - (64u << 10);

bool RoomFor(std::size_t& used, const json& item)
{
    used += item.dump(-1, ' ', false, json::error_handler_t::replace).size() + 1;
    return used <= kAnswerBudget;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The whitespace-separated token that ends just before `at`.
std::string TokenBefore(const std::string& s, std::size_t at)
{
    std::size_t end = at;
    while (end > 0 && IsSpace(s[end - 1]))
        --end;
    std::size_t begin = end;
    while (begin > 0 && !IsSpace(s[begin - 1]))
        --begin;
    return s.substr(begin, end - begin);
}

}  // namespace

Engine::Engine(atw::World world, Options options, int64_t nowMs)
    : world_(std::move(world)), options_(std::move(options)), start_(nowMs), now_(nowMs)
{
    printers_.resize(world_.printers.size());
    if (!options_.tracePath.empty())
        trace_ = std::make_unique<std::ofstream>(options_.tracePath, std::ios::binary | std::ios::trunc);
    if (!options_.spoolDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options_.spoolDir, ec);
    }
    if (!options_.statePath.empty()) {
        std::ifstream in(options_.statePath, std::ios::binary);
        if (in) {
            std::ostringstream buffer;
            buffer << in.rdbuf();
            const std::string text = buffer.str();
            if (!atw::ApplyState(world_, text, options_.statePath, stateError_))
                return;
        }
    }
}

Engine::~Engine() = default;

void Engine::TraceLine(json line)
{
    if (!trace_)
        return;
    line["t"] = now_ - start_;
    *trace_ << line.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
    trace_->flush();
}

void Engine::Reply(const Req& req, int32_t result, json out, std::string blob)
{
    json t = {{"client", clients_.count(req.client) ? clients_[req.client] : std::string("?")},
              {"op", req.op},
              {"id", req.id},
              {"in", req.in},
              {"result", result},
              {"out", out}};
    if (req.inBytes)
        t["inBytes"] = req.inBytes;
    if (!blob.empty())
        t["outBytes"] = blob.size();
    TraceLine(std::move(t));
    if (req.id == 0 || !clients_.count(req.client))
        return;
    out["id"] = req.id;
    out["result"] = result;
    out_.push_back({req.client, {std::move(out), std::move(blob)}});
}

void Engine::Interim(const Req& req, json out)
{
    TraceLine({{"client", clients_.count(req.client) ? clients_[req.client] : std::string("?")},
               {"event", "interim"},
               {"request", req.op},
               {"id", req.id},
               {"out", out}});
    if (req.id == 0 || !clients_.count(req.client))
        return;
    out["id"] = req.id;
    out["interim"] = true;
    out_.push_back({req.client, {std::move(out), {}}});
}

void Engine::After(int64_t delayMs, ClientId client, std::function<void()> run)
{
    timers_.emplace(now_ + std::max<int64_t>(0, delayMs), Timer{client, std::move(run)});
}

void Engine::SaveState()
{
    if (options_.statePath.empty())
        return;
    const std::string tmp = options_.statePath + ".tmp";
    {
        std::ofstream o(tmp, std::ios::binary | std::ios::trunc);
        o << atw::StateText(world_);
        if (!o)
            return;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, options_.statePath, ec);
}

void Engine::Connect(ClientId client, int64_t nowMs)
{
    now_ = nowMs;
    clients_[client] = "client" + std::to_string(client);
}

void Engine::Disconnect(ClientId client, int64_t nowMs)
{
    now_ = nowMs;
    if (!clients_.count(client))
        return;
    TraceLine({{"client", clients_[client]}, {"event", "disconnected"}});
    for (std::size_t i = 0; i < printers_.size(); ++i) {
        auto& q = printers_[i].queue;
        q.erase(std::remove_if(q.begin(), q.end(), [&](const PendingOpen& o) { return o.req.client == client; }),
                q.end());
    }
    std::vector<int32_t> refs;
    for (auto& [ref, c] : conns_)
        if (c.client == client)
            refs.push_back(ref);
    for (int32_t ref : refs)
        CloseConn(ref, false);
    clients_.erase(client);
    for (std::size_t i = 0; i < printers_.size(); ++i)
        Pump(i);
}

void Engine::Tick(int64_t nowMs)
{
    now_ = nowMs;
    while (!timers_.empty() && timers_.begin()->first <= now_) {
        Timer t = std::move(timers_.begin()->second);
        timers_.erase(timers_.begin());
        if (clients_.count(t.client))
            t.run();
    }
    for (std::size_t i = 0; i < printers_.size(); ++i)
        Pump(i);
}

int64_t Engine::NextDeadline() const
{
    int64_t next = timers_.empty() ? -1 : timers_.begin()->first;
    auto consider = [&](int64_t t) {
        if (next < 0 || t < next)
            next = t;
    };
    for (const auto& p : printers_) {
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

std::vector<Outgoing> Engine::TakeOutgoing()
{
    std::vector<Outgoing> out;
    out.swap(out_);
    return out;
}

void Engine::Handle(ClientId client, const atwire::Message& m, int64_t nowMs)
{
    now_ = nowMs;
    if (!clients_.count(client))
        Connect(client, nowMs);
    Req req;
    req.client = client;
    bool ok = true;
    const int64_t id = atwire::GetInt(m.head, "id", 0, ok);
    req.id = (ok && id > 0 && id <= UINT32_MAX) ? static_cast<uint32_t>(id) : 0;
    auto opIt = m.head.find("op");
    req.op = (opIt != m.head.end() && opIt->is_string()) ? opIt->get<std::string>() : std::string("?");
    req.in = m.head;
    req.in.erase("id");
    req.in.erase("op");
    req.inBytes = m.blob.size();
    const std::string& op = req.op;
    ok = true;
    const json& h = m.head;

    if (op == "hello") {
        const std::string program = atwire::GetName(h, "program", ok);
        const int64_t pid = atwire::GetInt(h, "pid", 0, ok);
        const std::string library = atwire::GetName(h, "library", ok);
        std::string name = program.empty() ? clients_[client] : program;
        name += "#" + std::to_string(pid);
        if (!library.empty())
            name += "/" + library;
        clients_[client] = name;
        Reply(req, 0, {{"service", "atnetd"}, {"version", 1}});
        return;
    }
    if (op == "mpp.alloc" || op == "mpp.free" || op == "note") {
        Reply(req, 0);
        return;
    }
    if (op == "at.netinfo") {
        const auto& ws = world_.workstation;
        json adapter = json::array();
        for (uint8_t b : ws.adapter)
            adapter.push_back(b);
        Reply(req, 0,
              {{"network", ws.network}, {"node", ws.node}, {"rangeFirst", ws.rangeFirst},
               {"rangeLast", ws.rangeLast}, {"zone", BytesToText(ws.zone)}, {"adapter", adapter}});
        return;
    }
    if (op == "at.setzone") {
        const std::string zone = atwire::GetName(h, "zone", ok);
        auto local = ok ? world_.FindLocalZone(zone) : std::nullopt;
        if (!local) {
            Reply(req, atw::kErrFailed, {{"error", "not a local zone"}});
            return;
        }
        world_.workstation.zone = *local;
        SaveState();
        Reply(req, 0, {{"zone", BytesToText(*local)}});
        return;
    }
    if (op == "zip.zones") {
        const bool local = atwire::GetBool(h, "local", false, ok);
        Req r = req;
        After(world_.timing.zipMs, client, [this, r, local]() {
            const auto zones = world_.ZoneList(local);
            if (zones.empty()) {
                Reply(r, atw::kErrFailed, {{"error", "no zones on this network"}});
                return;
            }
            json list = json::array();
            std::size_t used = 0;
            for (const auto& z : zones) {
                json item = BytesToText(z);
                if (!RoomFor(used, item))
                    break;
                list.push_back(std::move(item));
            }
            Reply(r, 0, {{"zones", list}});
        });
        return;
    }
    if (op == "zip.myzone") {
        if (world_.workstation.zone.empty())
            Reply(req, atw::kErrFailed, {{"error", "no zones on this network"}});
        else
            Reply(req, 0, {{"zone", BytesToText(world_.workstation.zone)}});
        return;
    }
    if (op == "nbp.lookup") {
        atw::EntityName pattern{atwire::GetName(h, "object", ok), atwire::GetName(h, "type", ok),
                                atwire::GetName(h, "zone", ok)};
        const int64_t max = atwire::GetInt(h, "max", 0, ok);
        if (!ok || max <= 0 || max > 65535) {
            Reply(req, atw::kErrFailed, {{"error", "bad lookup"}});
            return;
        }
        Req r = req;
        After(world_.timing.nbpLookupMs, client, [this, r, pattern, max]() {
            const auto found = world_.Lookup(pattern, static_cast<std::size_t>(max));
            json answers = json::array();
            std::size_t used = 0;
            for (const auto& e : found) {
                json item = EntityJson(e);
                if (!RoomFor(used, item))
                    break;
                answers.push_back(std::move(item));
            }
            Reply(r, found.empty() ? atw::kErrNothingFound : 0, {{"answers", answers}});
        });
        return;
    }
    if (op == "pap.default.get") {
        if (!world_.defaultPrinter) {
            Reply(req, atw::kErrFailed, {{"error", "no default printer"}});
            return;
        }
        atw::Entity e{*world_.defaultPrinter, {}};
        if (const atw::Printer* p = world_.FindPrinter(e.name))
            e.address = p->address;
        Reply(req, 0, EntityJson(e));
        return;
    }
    if (op == "pap.default.set") {
        atw::EntityName name{atwire::GetName(h, "object", ok), atwire::GetName(h, "type", ok),
                             atwire::GetName(h, "zone", ok)};
        if (!ok || name.object.empty() || name.object.size() > 32 || name.type.size() > 32 || name.zone.size() > 32) {
            Reply(req, atw::kErrFailed, {{"error", "bad printer name"}});
            return;
        }
        world_.defaultPrinter = name;
        SaveState();
        Reply(req, 0);
        return;
    }
    if (op == "pap.open")
        return PapOpen(req);
    if (op == "pap.status")
        return PapStatus(req);
    if (op == "pap.write")
        return PapWrite(req, m.blob);
    if (op == "pap.read")
        return PapRead(req);
    if (op == "pap.close")
        return PapClose(req);
    if (op == "pap.cancel")
        return PapCancel(req);
    if (op == "afp.bitmap") {
        const std::string name = atwire::GetName(h, "name", ok);
        Reply(req, 0, {{"bits", ok ? atw::NameBitmap(world_, name) : 0u}});
        return;
    }
    if (op == "afp.parse") {
        const std::string name = atwire::GetName(h, "name", ok);
        auto p = ok ? atw::ParseRemoteName(world_, name) : std::nullopt;
        if (!p) {
            Reply(req, atw::kErrFailed, {{"error", "not a network name"}});
            return;
        }
        Reply(req, 0,
              {{"object", BytesToText(p->object)}, {"type", BytesToText(p->type)}, {"zone", BytesToText(p->zone)},
               {"volume", BytesToText(p->volume)}, {"path", BytesToText(p->path)}});
        return;
    }
    if (op == "afp.mapid") {
        const int64_t ref = atwire::GetInt(h, "mapRef", 0, ok);
        const int64_t fn = atwire::GetInt(h, "function", 0, ok);
        const int64_t idv = atwire::GetInt(h, "value", 0, ok);
        std::string name;
        const int32_t rc = ok ? atw::MapId(world_, static_cast<uint32_t>(ref), static_cast<int32_t>(fn),
                                           static_cast<int32_t>(idv), name)
                              : atw::kAFPParamErr;
        Reply(req, rc, rc == 0 ? json{{"name", BytesToText(name)}} : json::object());
        return;
    }
    if (op == "afp.chpass") {
        const std::string server = atwire::GetName(h, "server", ok);
        const std::string oldPw = atwire::GetName(h, "old", ok);
        const std::string newPw = atwire::GetName(h, "new", ok);
        const int32_t rc = ok ? atw::ChangePassword(world_, server, oldPw, newPw) : atw::kAFPParamErr;
        if (rc == 0)
            SaveState();
        Reply(req, rc);
        return;
    }
    if (op == "afp.fldr" || op == "afp.vol") {
        const std::string path = atwire::GetName(h, "path", ok);
        atw::ATKIFSBuffer buf{};
        const int32_t rc = !ok ? atw::kAFPParamErr
                           : op == "afp.fldr" ? atw::BuildFlDrParams(world_, path, buf)
                                              : atw::BuildVolParams(world_, path, buf);
        Reply(req, rc, json::object(), rc == 0 ? std::string(reinterpret_cast<const char*>(buf.data()), buf.size()) : std::string());
        return;
    }
    if (op == "afp.server") {
        const std::string name = atwire::GetName(h, "name", ok);
        auto n = ok ? atw::ParseNetName(name) : std::nullopt;
        const atw::Server* s = (n && !n->isEntity) ? world_.FindServer(n->first) : nullptr;
        if (!s) {
            Reply(req, atw::kAFPObjectNotFound);
            return;
        }
        json volumes = json::array();
        for (const auto& v : s->volumes)
            volumes.push_back({{"name", BytesToText(v.name)}, {"password", !v.password.empty()}});
        json versions = json::array(), uams = json::array();
        for (const auto& v : s->afpVersions)
            versions.push_back(BytesToText(v));
        for (const auto& u : s->uams)
            uams.push_back(BytesToText(u));
        std::string logon, password;
        int32_t connected = atw::kNoDate;
        if (s->session) {
            logon = s->session->user;
            connected = s->session->connectedAt;
            for (const auto& u : s->users)
                if (atw::NameEquals(u.name, logon))
                    password = u.password;
        }
        const int32_t serverTime =
            s->serverTime != atw::kNoDate ? s->serverTime : static_cast<int32_t>(std::time(nullptr));
        Reply(req, 0,
              {{"name", BytesToText(s->name)}, {"zone", BytesToText(s->zone)},
               {"machineType", BytesToText(s->machineType)}, {"logon", BytesToText(logon)},
               {"password", BytesToText(password)}, {"serverTime", serverTime}, {"connectedAt", connected},
               {"allowsChangePassword", s->allowsChangePassword}, {"tcpip", s->tcpip},
               {"afpVersions", versions}, {"uams", uams}, {"volumes", volumes}});
        return;
    }
    if (op == "tarpin.notify") {
        const std::string what = atwire::GetName(h, "what", ok);
        if (what == "paptypes")
            Reply(req, 0, {{"generation", ++papTypesGeneration_}});
        else if (what == "korvel")
            Reply(req, 0, {{"generation", ++korvelGeneration_}});
        else
            Reply(req, atw::kErrFailed, {{"error", "unknown notification"}});
        return;
    }
    if (op == "paptypes.generation") {
        Reply(req, 0, {{"generation", papTypesGeneration_}});
        return;
    }
    Reply(req, atw::kErrFailed, {{"error", "unknown op"}});
}

// ---- PAP ----

std::string Engine::StatusOf(std::size_t i) const
{
    const atw::Printer& p = world_.printers[i];
    if (!p.statusFixed.empty())
        return p.statusFixed;
    const PrinterState& s = printers_[i];
    if (s.conn == 0)
        return p.statusIdle;
    auto it = conns_.find(s.conn);
    if (it != conns_.end() && it->second.jobActive)
        return p.statusBusy;
    return p.statusWaiting;
}

std::string Engine::BusyStatusOf(std::size_t i) const
{
    const atw::Printer& p = world_.printers[i];
    return p.statusFixed.empty() ? p.statusBusy : p.statusFixed;
}

void Engine::PapStatus(const Req& req)
{
    bool ok = true;
    atw::EntityName name{atwire::GetName(req.in, "object", ok), atwire::GetName(req.in, "type", ok),
                         atwire::GetName(req.in, "zone", ok)};
    atw::Printer* p = ok ? world_.FindPrinter(name) : nullptr;
    if (!p) {
        Reply(req, atw::kErrNoSuchPrinter, {{"status", ""}});
        return;
    }
    Reply(req, 0, {{"status", BytesToText(StatusOf(static_cast<std::size_t>(p - world_.printers.data())))}});
}

void Engine::PapOpen(const Req& req)
{
    bool ok = true;
    atw::EntityName name{atwire::GetName(req.in, "object", ok), atwire::GetName(req.in, "type", ok),
                         atwire::GetName(req.in, "zone", ok)};
    const int64_t reqId = atwire::GetInt(req.in, "reqid", 0, ok);
    atw::Printer* p = ok ? world_.FindPrinter(name) : nullptr;
    if (!p) {
        Reply(req, ok ? atw::kErrNoSuchPrinter : atw::kErrFailed);
        return;
    }
    const std::size_t i = static_cast<std::size_t>(p - world_.printers.data());
    PrinterState& s = printers_[i];
    ++s.opens;
    PendingOpen o;
    o.req = req;
    o.clientReqId = static_cast<int32_t>(reqId);
    o.readyAt = now_ + p->openDelayMs;
    if (p->openRefused)
        o.failResult = atw::kErrRefused;
    if (const auto* f = p->FaultAt(atw::PrinterFault::At::Open, s.opens))
        o.failResult = f->result;
    const bool fails = o.failResult != 0;
    s.queue.push_back(std::move(o));
    Pump(i);
    // Like a LaserWriter's open reply while it serves someone else: the
    // opener keeps waiting and learns why.
    if (!fails && s.conn != 0 && !s.queue.empty() && s.queue.back().req.client == req.client &&
        s.queue.back().req.id == req.id)
        Interim(req, {{"status", BytesToText(BusyStatusOf(i))}});
}

void Engine::Pump(std::size_t i)
{
    PrinterState& s = printers_[i];
    for (auto it = s.queue.begin(); it != s.queue.end();) {
        if (it->failResult != 0 && it->readyAt <= now_) {
            Req r = it->req;
            const int32_t rc = it->failResult;
            it = s.queue.erase(it);
            Reply(r, rc);
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
        c.client = o.req.client;
        c.printer = i;
        s.conn = c.ref;
        conns_[c.ref] = std::move(c);
        Reply(o.req, 0, {{"connRef", s.conn}});
    }
}

void Engine::PapCancel(const Req& req)
{
    bool ok = true;
    const int64_t target = atwire::GetInt(req.in, "target", 0, ok);
    bool found = false;
    for (auto& s : printers_) {
        for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
            if (it->req.client == req.client && it->clientReqId == target) {
                Req r = it->req;
                s.queue.erase(it);
                Reply(r, atw::kErrAborted, {{"cancelled", true}});
                found = true;
                break;
            }
        }
        if (found)
            break;
    }
    Reply(req, 0, {{"found", found}});
    for (std::size_t i = 0; i < printers_.size(); ++i)
        Pump(i);
}

Engine::Conn* Engine::OwnConnection(const Req& req)
{
    bool ok = true;
    const int64_t ref = atwire::GetInt(req.in, "connRef", 0, ok);
    if (!ok || ref < INT32_MIN || ref > INT32_MAX)
        return nullptr;
    auto it = conns_.find(static_cast<int32_t>(ref));
    return it != conns_.end() && it->second.client == req.client ? &it->second : nullptr;
}

bool Engine::Faulted(const Req& req, const Conn& c, atw::PrinterFault::At at, int nth)
{
    const atw::PrinterFault* f = world_.printers[c.printer].FaultAt(at, nth);
    if (f)
        Reply(req, f->result, {{"fault", at == atw::PrinterFault::At::Write ? "write" : "read"}});
    return f != nullptr;
}

void Engine::PapWrite(const Req& req, const std::string& data)
{
    bool ok = true;
    const bool eof = atwire::GetBool(req.in, "eof", false, ok);
    Conn* conn = OwnConnection(req);
    if (!ok || !conn || data.size() > 4096) {
        Reply(req, atw::kErrFailed, {{"error", "no such connection or bad length"}});
        return;
    }
    Conn& c = *conn;
    if (Faulted(req, c, atw::PrinterFault::At::Write, ++c.writes))
        return;
    c.job += data;
    c.jobActive = true;
    json out = json::object();
    if (eof)
        EndJob(c, true, out);
    Reply(req, 0, out);
    ServeRead(c);
}

void Engine::EndJob(Conn& c, bool eof, json& out)
{
    atw::Printer& p = world_.printers[c.printer];
    ++jobSeq_;
    if (!options_.spoolDir.empty()) {
        char num[16];
        std::snprintf(num, sizeof num, "%06d", jobSeq_);
        const std::string file = std::string(num) + "-" + SafeFileName(p.id) + ".job";
        std::ofstream o(std::filesystem::path(options_.spoolDir) / file, std::ios::binary | std::ios::trunc);
        o.write(c.job.data(), static_cast<std::streamsize>(c.job.size()));
        out["spool"] = file;
    }
    out["jobBytes"] = c.job.size();
    const std::string oldName = p.name.object;
    std::string reply = Interpret(p, c.job);
    if (p.name.object != oldName)
        out["renamed"] = {{"from", BytesToText(oldName)}, {"to", BytesToText(p.name.object)}};
    c.job.clear();
    c.jobActive = false;
    if (eof)
        c.replies.push_back(std::move(reply));
}

std::string Engine::Interpret(atw::Printer& p, const std::string& job)
{
    std::string prefix;
    const std::size_t exitAt = job.find("exitserver");
    const std::size_t dictAt = job.find("serverdict");
    if (exitAt != std::string::npos && dictAt != std::string::npos && dictAt < exitAt) {
        const std::string password = TokenBefore(job, exitAt);
        if (password != p.password)
            return "%%[ Error: invalidaccess; OffendingCommand: exitserver ]%%\r\n%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n";
        prefix = "%%[ exitserver: permanent state may be changed ]%%\r\n";
        const std::size_t setAt = job.find("setprintername", exitAt);
        if (setAt != std::string::npos) {
            const std::size_t close = job.rfind(')', setAt);
            const std::size_t open = close == std::string::npos ? std::string::npos : job.rfind('(', close);
            if (open != std::string::npos && open > exitAt) {
                std::string name = job.substr(open + 1, close - open - 1);
                if (!name.empty() && name.size() <= 32) {
                    // The chooser's default printer follows its rename.
                    if (world_.defaultPrinter && atw::NameEquals(world_.defaultPrinter->object, p.name.object) &&
                        atw::NameEquals(world_.defaultPrinter->type, p.name.type) &&
                        atw::NameEquals(world_.ResolveZone(world_.defaultPrinter->zone), p.name.zone))
                        world_.defaultPrinter->object = name;
                    p.name.object = name;
                    SaveState();
                }
            }
        }
    }
    for (const auto& r : p.replies)
        if (job.find(r.contains) != std::string::npos)
            return prefix + r.reply;
    return prefix + p.reply;
}

void Engine::PapRead(const Req& req)
{
    bool ok = true;
    const int64_t length = atwire::GetInt(req.in, "length", 0, ok);
    Conn* conn = OwnConnection(req);
    if (!ok || !conn || length <= 0 || conn->read) {
        Reply(req, atw::kErrFailed, {{"error", "no such connection, bad length or a read already waits"}});
        return;
    }
    Conn& c = *conn;
    if (Faulted(req, c, atw::PrinterFault::At::Read, ++c.reads))
        return;
    c.read = req;
    c.readMax = static_cast<std::size_t>(std::min<int64_t>(length, 4096));
    ServeRead(c);
}

void Engine::ServeRead(Conn& c)
{
    if (!c.read || c.replies.empty())
        return;
    std::string& front = c.replies.front();
    const std::size_t n = std::min(c.readMax, front.size());
    std::string data = front.substr(0, n);
    front.erase(0, n);
    const bool eof = front.empty();
    if (eof)
        c.replies.pop_front();
    Req r = std::move(*c.read);
    c.read.reset();
    Reply(r, 0, {{"length", n}, {"eof", eof}}, std::move(data));
}

void Engine::CloseConn(int32_t ref, bool notifyRead)
{
    auto it = conns_.find(ref);
    if (it == conns_.end())
        return;
    Conn& c = it->second;
    if (c.read && notifyRead)
        Reply(*c.read, atw::kErrAborted, {{"closed", true}});
    if (c.jobActive && !c.job.empty()) {
        json out = json::object();
        EndJob(c, false, out);
        TraceLine({{"event", "job ended by close"}, {"connRef", ref}, {"out", out}});
    }
    printers_[c.printer].conn = 0;
    const std::size_t printer = c.printer;
    conns_.erase(it);
    Pump(printer);
}

void Engine::PapClose(const Req& req)
{
    const Conn* conn = OwnConnection(req);
    if (!conn) {
        Reply(req, atw::kErrFailed, {{"error", "no such connection"}});
        return;
    }
    CloseConn(conn->ref, true);
    Reply(req, 0);
}

}  // namespace atsvc
