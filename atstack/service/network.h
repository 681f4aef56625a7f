// The seam between atnetd's request layer and the network it speaks for.
//
// The request layer (engine.h and the op_*.cpp handlers) decodes the
// libraries' requests, keeps track of who asked what, writes the trace and
// sends the answers. Everything a network does sits behind `Network`: the
// node's own address and zone, NBP and ZIP, the printers' side of PAP and
// the AppleShare file servers. Today the simulated internet of the world
// file stands behind it (simnet/); a transport that speaks real AppleTalk
// can stand in its place without a change to the libraries, the wire
// protocol or the request layer.
//
// What crosses the seam: typed requests in (names, connection references,
// bytes), answers out through callbacks, which may run at once or later,
// from Tick. A network never sees sockets, frames or the trace's file.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "world.h"

namespace atsvc {

// One connection of a library to the service. A network uses it to know
// whose PAP connections and waiting requests are whose.
using ClientId = uint64_t;

// How a request ends: its result, the answer's fields (as the wire protocol
// names them, see docs/stack.md) and its bytes.
struct Answer {
    Answer(int32_t r = 0, nlohmann::json o = nlohmann::json::object(), std::string b = {})
        : result(r), out(std::move(o)), blob(std::move(b))
    {
    }
    int32_t result;
    nlohmann::json out;
    std::string blob;
};
// Ends one request; called exactly once. Safe to call after the client
// left (the answer then goes nowhere).
using Done = std::function<void(Answer)>;
// A word on a request that still waits (no result: it stays outstanding).
using Word = std::function<void(nlohmann::json)>;
using EntitiesDone = std::function<void(int32_t result, std::vector<atw::Entity> found)>;
using ZonesDone = std::function<void(int32_t result, std::vector<std::string> zones)>;

// This node, as command 0x210 reports it.
struct NodeInfo {
    uint16_t network = 0;
    uint8_t node = 0;
    uint16_t rangeFirst = 0, rangeLast = 0;
    std::string zone;  // empty on a network without zones
    std::array<uint8_t, 6> adapter{};
};

class Network {
public:
    virtual ~Network() = default;

    // ---- time and clients ----
    // Runs whatever has come due (delayed answers, opens whose delay ran
    // out, time-outs).
    virtual void Tick(int64_t nowMs) = 0;
    // When Tick has something to do next; -1 when nothing waits on time.
    virtual int64_t NextDeadline() const = 0;
    // The client left: its waiting requests are dropped unanswered, its PAP
    // connections close (their unfinished jobs end as cut off).
    virtual void ClientGone(ClientId client, int64_t nowMs) = 0;

    // ---- this node (state the node keeps itself) ----
    virtual NodeInfo Node() const = 0;
    // 0 and the zone's own spelling, or -1 when it is not a local zone.
    virtual int32_t SetZone(std::string_view zone, std::string& canonical) = 0;
    // The chooser's default printer as a lookup would answer it; nothing
    // when none was chosen.
    virtual std::optional<atw::Entity> DefaultPrinter() = 0;
    // 0, or -1 when the network refuses the name.
    virtual int32_t SetDefaultPrinter(const atw::EntityName& name) = 0;

    // ---- NBP and ZIP ----
    virtual void Lookup(ClientId client, const atw::EntityName& pattern, std::size_t maxAnswers,
                        EntitiesDone done) = 0;
    virtual void Zones(ClientId client, bool localOnly, ZonesDone done) = 0;

    // ---- PAP, the printers' side ----
    // `reqId` is the caller's request identifier, which a cancel names.
    // Answer fields: open `connRef`; status `status`; write at the end of a
    // job `spool`, `jobBytes`, `renamed`; read `length`, `eof` and the bytes.
    // `waiting` hears the printer's status while the open waits behind
    // another connection.
    virtual void PapOpen(ClientId client, int32_t reqId, const atw::EntityName& printer, Done done,
                         Word waiting) = 0;
    virtual void PapStatus(ClientId client, int32_t reqId, const atw::EntityName& printer, Done done) = 0;
    virtual void PapWrite(ClientId client, int32_t connRef, std::string data, bool eof, Done done) = 0;
    virtual void PapRead(ClientId client, int32_t connRef, std::size_t maxBytes, Done done) = 0;
    virtual void PapClose(ClientId client, int32_t connRef, Done done) = 0;
    // Ends the client's waiting open named by `reqId` (-1105); true when
    // there was one.
    virtual bool PapCancel(ClientId client, int32_t reqId) = 0;

    // ---- AppleShare ----
    // Answer fields as the wire protocol's afp.* answers.
    virtual void NameBitmap(ClientId client, std::string_view name, Done done) = 0;
    virtual void ParseName(ClientId client, std::string_view name, Done done) = 0;
    virtual void MapId(ClientId client, uint32_t mapRef, int32_t function, int32_t id, Done done) = 0;
    virtual void ChangePassword(ClientId client, std::string_view server, std::string_view oldPassword,
                                std::string_view newPassword, Done done) = 0;
    // The 2522-byte buffers as the answer's bytes.
    virtual void FileDirParams(ClientId client, std::string_view path, Done done) = 0;
    virtual void VolumeParams(ClientId client, std::string_view path, Done done) = 0;
    virtual void ServerInfo(ClientId client, std::string_view name, Done done) = 0;

    // Where the network tells the trace of events of its own (a job ended
    // by a close, a connection timed out, ...).
    using Events = std::function<void(nlohmann::json event)>;
    void SetEvents(Events events) { events_ = std::move(events); }

protected:
    void Event(nlohmann::json event) const
    {
        if (events_)
            events_(std::move(event));
    }

private:
    Events events_;
};

}  // namespace atsvc
