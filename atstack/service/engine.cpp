#include "engine.h"

#include "request.h"
#include "simnet/sim_network.h"

namespace atsvc {

using nlohmann::json;

Engine::Engine(std::unique_ptr<Network> network, const Options& options, int64_t nowMs)
    : network_(std::move(network)), trace_(options.tracePath), start_(nowMs), now_(nowMs)
{
    network_->SetEvents([this](json event) { TraceLine(std::move(event)); });
}

Engine::Engine(atw::World world, const Options& options, int64_t nowMs)
    : Engine(std::make_unique<simnet::SimNetwork>(std::move(world), simnet::SimOptions{options.spoolDir, options.statePath},
                                                  nowMs),
             options, nowMs)
{
}

Engine::~Engine() = default;

void Engine::TraceLine(json line)
{
    trace_.Write(std::move(line), now_ - start_);
}

std::string Engine::ClientName(ClientId client) const
{
    auto it = clients_.find(client);
    return it != clients_.end() ? it->second.name : std::string("?");
}

void Engine::Connect(ClientId client, int64_t nowMs)
{
    now_ = nowMs;
    clients_[client] = {"client" + std::to_string(client), 0};
}

void Engine::NameClient(ClientId client, std::string name)
{
    // A program names itself: a name is a name, not a place to store bytes.
    clients_[client].name = name.substr(0, 128);
}

bool Engine::Waiting(ClientId client) const
{
    auto it = clients_.find(client);
    return it != clients_.end() && it->second.waiting > 0;
}

void Engine::Disconnect(ClientId client, int64_t nowMs)
{
    now_ = nowMs;
    if (!clients_.count(client))
        return;
    TraceLine({{"client", clients_[client].name}, {"event", "disconnected"}});
    // Its requests are forgotten first: whatever the network ends on its
    // way out is answered to nobody.
    for (auto it = outstanding_.begin(); it != outstanding_.end();)
        it = it->second.client == client ? outstanding_.erase(it) : std::next(it);
    network_->ClientGone(client, nowMs);
    clients_.erase(client);
    network_->Tick(nowMs);
}

void Engine::Handle(ClientId client, const atwire::Message& m, int64_t nowMs)
{
    now_ = nowMs;
    if (!clients_.count(client))
        Connect(client, nowMs);
    network_->Tick(nowMs);
    bool ok = true;
    const int64_t id = atwire::GetInt(m.head, "id", 0, ok);
    Outstanding o;
    o.client = client;
    o.id = (ok && id > 0 && id <= UINT32_MAX) ? static_cast<uint32_t>(id) : 0;
    auto opIt = m.head.find("op");
    o.op = (opIt != m.head.end() && opIt->is_string()) ? opIt->get<std::string>().substr(0, 64) : std::string("?");
    o.operation = FindOperation(o.op);
    if (trace_.Enabled())
        o.in = TraceCopy(m.head);
    o.inBytes = m.blob.size();
    Client& c = clients_[client];
    const bool waits = o.operation && (o.operation->flags & kWaits);
    const bool tooMany = waits && c.waiting >= kMaxWaitingPerClient;
    if (tooMany)
        o.operation = nullptr;
    else if (waits)
        ++c.waiting;
    const Operation* operation = o.operation;
    const uint64_t key = nextKey_++;
    outstanding_.emplace(key, std::move(o));
    Request request(*this, key, client, m);
    if (tooMany)
        request.Answer(atw::kErrFailed, {{"error", "too many requests waiting"}});
    else if (!operation)
        request.Answer(atw::kErrFailed, {{"error", "unknown op"}});
    else
        operation->handle(request);
}

void Engine::Complete(uint64_t key, Answer answer)
{
    auto it = outstanding_.find(key);
    if (it == outstanding_.end())
        return;  // its client left
    Outstanding o = std::move(it->second);
    outstanding_.erase(it);
    auto client = clients_.find(o.client);
    const unsigned flags = o.operation ? o.operation->flags : 0;
    if ((flags & kWaits) && client != clients_.end())
        --client->second.waiting;
    if (!(flags & kUntraced) && trace_.Enabled()) {
        json t = {{"client", ClientName(o.client)}, {"op", o.op}, {"id", o.id}, {"in", std::move(o.in)},
                  {"result", answer.result}, {"out", answer.out}};
        if (o.inBytes)
            t["inBytes"] = o.inBytes;
        if (!answer.blob.empty())
            t["outBytes"] = answer.blob.size();
        TraceLine(std::move(t));
    }
    if (o.id == 0 || client == clients_.end())
        return;
    answer.out["id"] = o.id;
    answer.out["result"] = answer.result;
    out_.push_back({o.client, {std::move(answer.out), std::move(answer.blob)}});
}

bool Engine::End(ClientId client, uint32_t id, Answer answer)
{
    if (id == 0)
        return false;
    for (auto& [key, o] : outstanding_)
        if (o.client == client && o.id == id) {
            Complete(key, std::move(answer));
            return true;
        }
    return false;
}

void Engine::Interim(uint64_t key, json out)
{
    auto it = outstanding_.find(key);
    if (it == outstanding_.end())
        return;
    const Outstanding& o = it->second;
    TraceLine({{"client", ClientName(o.client)}, {"event", "interim"}, {"request", o.op}, {"id", o.id}, {"out", out}});
    if (o.id == 0 || !clients_.count(o.client))
        return;
    out["id"] = o.id;
    out["interim"] = true;
    out_.push_back({o.client, {std::move(out), {}}});
}

void Engine::Tick(int64_t nowMs)
{
    now_ = nowMs;
    network_->Tick(nowMs);
}

int64_t Engine::NextDeadline() const
{
    return network_->NextDeadline();
}

std::vector<Outgoing> Engine::TakeOutgoing()
{
    std::vector<Outgoing> out;
    out.swap(out_);
    return out;
}

int Engine::Notify(const std::string& what)
{
    return ++generations_[what];
}

int Engine::Generation(const std::string& what) const
{
    auto it = generations_.find(what);
    return it == generations_.end() ? 0 : it->second;
}

// ---- Request ----

Network& Request::Net() const
{
    return *engine_.network_;
}

void Request::Answer(int32_t result, json out, std::string blob) const
{
    engine_.Complete(key_, {result, std::move(out), std::move(blob)});
}

void Request::Answer(atsvc::Answer answer) const
{
    engine_.Complete(key_, std::move(answer));
}

Done Request::Later() const
{
    return [engine = &engine_, key = key_](atsvc::Answer answer) { engine->Complete(key, std::move(answer)); };
}

Word Request::Interim() const
{
    return [engine = &engine_, key = key_](json out) { engine->Interim(key, std::move(out)); };
}

}  // namespace atsvc
