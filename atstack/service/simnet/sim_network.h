// The simulated AppleTalk internet of a world file, behind the network
// seam: names and zones (here), the printers' side of PAP
// (pap_printers.cpp) and the AppleShare file servers (file_servers.cpp).
// What a real network keeps across restarts (printer names, the default
// printer, the zone, users' passwords) goes to the state file.
#pragma once

#include <memory>
#include <string>

#include "network.h"
#include "pap_printers.h"
#include "spool.h"
#include "timers.h"
#include "world.h"

namespace simnet {

struct SimOptions {
    std::string spoolDir;   // empty: jobs are not kept
    std::string statePath;  // empty: nothing survives a restart
};

class SimNetwork : public atsvc::Network {
public:
    SimNetwork(atw::World world, SimOptions options, int64_t nowMs);
    ~SimNetwork() override;

    const atw::World& World() const { return world_; }
    // Why the state file was refused; empty when it was read or absent.
    const std::string& StateError() const { return stateError_; }

    void Tick(int64_t nowMs) override;
    int64_t NextDeadline() const override;
    void ClientGone(atsvc::ClientId client, int64_t nowMs) override;

    atsvc::NodeInfo Node() const override;
    int32_t SetZone(std::string_view zone, std::string& canonical) override;
    std::optional<atw::Entity> DefaultPrinter() override;
    int32_t SetDefaultPrinter(const atw::EntityName& name) override;

    void Lookup(atsvc::ClientId client, const atw::EntityName& pattern, std::size_t maxAnswers,
                atsvc::EntitiesDone done) override;
    void Zones(atsvc::ClientId client, bool localOnly, atsvc::ZonesDone done) override;

    void PapOpen(atsvc::ClientId client, int32_t reqId, const atw::EntityName& printer, atsvc::Done done,
                 atsvc::Word waiting) override;
    void PapStatus(atsvc::ClientId client, int32_t reqId, const atw::EntityName& printer, atsvc::Done done) override;
    void PapWrite(atsvc::ClientId client, int32_t connRef, std::string data, bool eof, atsvc::Done done) override;
    void PapRead(atsvc::ClientId client, int32_t connRef, std::size_t maxBytes, atsvc::Done done) override;
    void PapClose(atsvc::ClientId client, int32_t connRef, atsvc::Done done) override;
    bool PapCancel(atsvc::ClientId client, int32_t reqId) override;

    // file_servers.cpp
    void NameBitmap(atsvc::ClientId client, std::string_view name, atsvc::Done done) override;
    void ParseName(atsvc::ClientId client, std::string_view name, atsvc::Done done) override;
    void MapId(atsvc::ClientId client, uint32_t mapRef, int32_t function, int32_t id, atsvc::Done done) override;
    void ChangePassword(atsvc::ClientId client, std::string_view server, std::string_view oldPassword,
                        std::string_view newPassword, atsvc::Done done) override;
    void FileDirParams(atsvc::ClientId client, std::string_view path, atsvc::Done done) override;
    void VolumeParams(atsvc::ClientId client, std::string_view path, atsvc::Done done) override;
    void ServerInfo(atsvc::ClientId client, std::string_view name, atsvc::Done done) override;

private:
    // Lookups and zone lists a client may have waiting on their timers,
    // counting those whose enumeration it has closed meanwhile.
    static constexpr std::size_t kMaxTimersPerClient = 128;
    bool RoomToWait(atsvc::ClientId client) const;
    void SaveState();

    atw::World world_;
    SimOptions options_;
    std::string stateError_;
    int64_t now_ = 0;
    Timers timers_;
    Spool spool_;
    PapPrinters pap_;
};

}  // namespace simnet
