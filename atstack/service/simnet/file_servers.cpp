// The AppleShare file servers of the simulated network: the world model
// answers at once.
#include <ctime>

#include "latin1.h"
#include "sim_network.h"

namespace simnet {

using atw::BytesToText;
using nlohmann::json;

void SimNetwork::NameBitmap(atsvc::ClientId, std::string_view name, atsvc::Done done)
{
    done({0, {{"bits", atw::NameBitmap(world_, name)}}});
}

void SimNetwork::ParseName(atsvc::ClientId, std::string_view name, atsvc::Done done)
{
    auto p = atw::ParseRemoteName(world_, name);
    if (!p) {
        done({atw::kErrFailed, {{"error", "not a network name"}}});
        return;
    }
    done({0,
          {{"object", BytesToText(p->object)}, {"type", BytesToText(p->type)}, {"zone", BytesToText(p->zone)},
           {"volume", BytesToText(p->volume)}, {"path", BytesToText(p->path)}}});
}

void SimNetwork::MapId(atsvc::ClientId, uint32_t mapRef, int32_t function, int32_t id, atsvc::Done done)
{
    std::string name;
    const int32_t rc = atw::MapId(world_, mapRef, function, id, name);
    done({rc, rc == 0 ? json{{"name", BytesToText(name)}} : json::object()});
}

void SimNetwork::ChangePassword(atsvc::ClientId, std::string_view server, std::string_view oldPassword,
                                std::string_view newPassword, atsvc::Done done)
{
    const int32_t rc = atw::ChangePassword(world_, server, oldPassword, newPassword);
    if (rc == 0)
        SaveState();
    done({rc});
}

namespace {

atsvc::Answer BufferAnswer(int32_t rc, const atw::ATKIFSBuffer& buf)
{
    return {rc, json::object(), rc == 0 ? std::string(reinterpret_cast<const char*>(buf.data()), buf.size()) : std::string()};
}

}  // namespace

void SimNetwork::FileDirParams(atsvc::ClientId, std::string_view path, atsvc::Done done)
{
    atw::ATKIFSBuffer buf{};
    const int32_t rc = atw::BuildFlDrParams(world_, path, buf);
    done(BufferAnswer(rc, buf));
}

void SimNetwork::VolumeParams(atsvc::ClientId, std::string_view path, atsvc::Done done)
{
    atw::ATKIFSBuffer buf{};
    const int32_t rc = atw::BuildVolParams(world_, path, buf);
    done(BufferAnswer(rc, buf));
}

void SimNetwork::ServerInfo(atsvc::ClientId, std::string_view name, atsvc::Done done)
{
    auto n = atw::ParseNetName(name);
    const atw::Server* s = (n && !n->isEntity) ? world_.FindServer(n->first) : nullptr;
    if (!s) {
        done({atw::kAFPObjectNotFound});
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
    done({0,
          {{"name", BytesToText(s->name)}, {"zone", BytesToText(s->zone)},
           {"machineType", BytesToText(s->machineType)}, {"logon", BytesToText(logon)},
           {"password", BytesToText(password)}, {"serverTime", serverTime}, {"connectedAt", connected},
           {"allowsChangePassword", s->allowsChangePassword}, {"tcpip", s->tcpip}, {"afpVersions", versions},
           {"uams", uams}, {"volumes", volumes}}});
}

}  // namespace simnet
