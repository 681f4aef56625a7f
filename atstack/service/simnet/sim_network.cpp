#include "sim_network.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "world_file.h"

namespace simnet {

SimNetwork::SimNetwork(atw::World world, SimOptions options, int64_t nowMs)
    : world_(std::move(world)),
      options_(std::move(options)),
      now_(nowMs),
      spool_(options_.spoolDir),
      pap_(world_, spool_, [this]() { SaveState(); }, [this](nlohmann::json e) { Event(std::move(e)); })
{
    pap_.Tick(nowMs);
    if (options_.statePath.empty())
        return;
    std::ifstream in(options_.statePath, std::ios::binary);
    if (!in)
        return;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    atw::ApplyState(world_, buffer.str(), options_.statePath, stateError_);
}

SimNetwork::~SimNetwork() = default;

void SimNetwork::SaveState()
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

void SimNetwork::Tick(int64_t nowMs)
{
    now_ = nowMs;
    timers_.RunDue(nowMs);
    pap_.Tick(nowMs);
}

int64_t SimNetwork::NextDeadline() const
{
    const int64_t a = timers_.Next(), b = pap_.NextDeadline();
    return a < 0 ? b : b < 0 ? a : std::min(a, b);
}

void SimNetwork::ClientGone(atsvc::ClientId client, int64_t nowMs)
{
    now_ = nowMs;
    timers_.Drop(client);
    pap_.ClientGone(client);
}

// ---- this node ----

atsvc::NodeInfo SimNetwork::Node() const
{
    const auto& ws = world_.workstation;
    return {ws.network, ws.node, ws.rangeFirst, ws.rangeLast, ws.zone, ws.adapter};
}

int32_t SimNetwork::SetZone(std::string_view zone, std::string& canonical)
{
    auto local = world_.FindLocalZone(zone);
    if (!local)
        return atw::kErrFailed;
    world_.workstation.zone = *local;
    canonical = *local;
    SaveState();
    return 0;
}

std::optional<atw::Entity> SimNetwork::DefaultPrinter()
{
    if (!world_.defaultPrinter)
        return std::nullopt;
    atw::Entity e{*world_.defaultPrinter, {}};
    if (const atw::Printer* p = world_.FindPrinter(e.name))
        e.address = p->address;
    return e;
}

int32_t SimNetwork::SetDefaultPrinter(const atw::EntityName& name)
{
    world_.defaultPrinter = name;
    SaveState();
    return 0;
}

// ---- NBP and ZIP: answers after the world's timing ----

bool SimNetwork::RoomToWait(atsvc::ClientId client) const
{
    return timers_.CountFor(client) < kMaxTimersPerClient;
}

void SimNetwork::Lookup(atsvc::ClientId client, const atw::EntityName& pattern, std::size_t maxAnswers,
                        atsvc::EntitiesDone done)
{
    if (!RoomToWait(client)) {
        done(atw::kErrFailed, {});
        return;
    }
    timers_.At(now_ + world_.timing.nbpLookupMs, client, [this, pattern, maxAnswers, done = std::move(done)]() {
        auto found = world_.Lookup(pattern, maxAnswers);
        const int32_t result = found.empty() ? atw::kErrNothingFound : 0;
        done(result, std::move(found));
    });
}

void SimNetwork::Zones(atsvc::ClientId client, bool localOnly, atsvc::ZonesDone done)
{
    if (!RoomToWait(client)) {
        done(atw::kErrFailed, {});
        return;
    }
    timers_.At(now_ + world_.timing.zipMs, client, [this, localOnly, done = std::move(done)]() {
        auto zones = world_.ZoneList(localOnly);
        const int32_t result = zones.empty() ? atw::kErrFailed : 0;
        done(result, std::move(zones));
    });
}

// ---- PAP ----

void SimNetwork::PapOpen(atsvc::ClientId client, int32_t reqId, const atw::EntityName& printer, atsvc::Done done,
                         atsvc::Word waiting)
{
    pap_.Open(client, reqId, printer, std::move(done), std::move(waiting));
}

void SimNetwork::PapStatus(atsvc::ClientId client, int32_t, const atw::EntityName& printer, atsvc::Done done)
{
    pap_.Status(client, printer, std::move(done));
}

void SimNetwork::PapWrite(atsvc::ClientId client, int32_t connRef, std::string data, bool eof, atsvc::Done done)
{
    pap_.Write(client, connRef, std::move(data), eof, std::move(done));
}

void SimNetwork::PapRead(atsvc::ClientId client, int32_t connRef, std::size_t maxBytes, atsvc::Done done)
{
    pap_.Read(client, connRef, maxBytes, std::move(done));
}

void SimNetwork::PapClose(atsvc::ClientId client, int32_t connRef, atsvc::Done done)
{
    pap_.Close(client, connRef, std::move(done));
}

bool SimNetwork::PapCancel(atsvc::ClientId client, int32_t reqId)
{
    return pap_.Cancel(client, reqId);
}

}  // namespace simnet
