// Kestra32: ATALKDispatch, the single entry point of the stack. Every
// request goes to atnetd; the receiver thread writes the block's output
// fields and then its result, with release ordering, and the caller polls.
// GCC 12 at -O3 (the 32-bit release build) reports null dereferences inside
// nlohmann/json that cannot happen; keep the warning for our own code elsewhere.
#pragma GCC diagnostic ignored "-Wnull-dereference"

#include <winsock2.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "client.h"
#include "kestra32.h"
#include "kestra32_internal.h"
#include "latin1.h"
#include "nbp_names.h"
#include "netinfo_block.h"
#include "pap_block.h"
#include "world.h"

namespace {

using nlohmann::json;

atclient::Client& TheClient()
{
    static atclient::Client* client = new atclient::Client("Kestra32");  // lives as long as the process
    return *client;
}

// The memory a request will write into. MPPFree (Molven32) detaches the
// targets inside a block it frees, so a late answer writes nowhere.
struct Target {
    void* block = nullptr;
    void* buffer = nullptr;
    bool alive = true;
};
std::set<std::shared_ptr<Target>>& Targets()  // under the client's lock
{
    static auto* targets = new std::set<std::shared_ptr<Target>>();
    return *targets;
}

std::shared_ptr<Target> Track(void* block, void* buffer)
{
    auto t = std::make_shared<Target>();
    t->block = block;
    t->buffer = buffer;
    TheClient().Lock();
    // A block holds one request: one dispatched again before its answer
    // came abandons the earlier request, whose late answer then writes
    // nowhere instead of over the new request's fields and result.
    for (const auto& other : Targets())
        if (other->block == block)
            other->alive = false;
    Targets().insert(t);
    TheClient().Unlock();
    return t;
}

// Runs under the client's lock (a completion): false when the block is gone.
bool Finish(const std::shared_ptr<Target>& t)
{
    Targets().erase(t);
    return t->alive;
}

json TupleJson(const _NBPTuple& t)
{
    return {{"object", atw::BytesToText(NBPSlotText(t.object))},
            {"type", atw::BytesToText(NBPSlotText(t.type))},
            {"zone", atw::BytesToText(NBPSlotText(t.zone))},
            {"network", t.network},
            {"node", t.node},
            {"socket", t.socket}};
}

using atwire::IntOr;
using atwire::NameOr;

// ---- opens whose connection nobody may use ----
//
// An open answered after its block was freed or dispatched again, or after
// the program cancelled it (a cancel that lost the race with the answer),
// leaves a connection no one will close: the printer would stay held. Such
// connections are closed here. An open is remembered from its dispatch
// until its connection is first used (write, read, close) or it fails.
struct OpenRecord {
    std::shared_ptr<Target> target;
    int32_t connRef = 0;  // 0 while the open waits
    bool cancelled = false;
};
constexpr std::size_t kMaxOpenRecords = 256;
std::map<int32_t, OpenRecord>& Opens()  // by request identifier, under the client's lock
{
    static auto* opens = new std::map<int32_t, OpenRecord>();
    return *opens;
}

void CloseUnwanted(int32_t connRef)
{
    TheClient().Send({{"op", "pap.close"}, {"connRef", connRef}, {"unwanted", true}}, {},
                     [](int32_t, const json&, const std::string&) {});
}

void RememberOpen(int32_t reqId, const std::shared_ptr<Target>& target)
{
    TheClient().Lock();
    auto& opens = Opens();
    if (opens.size() >= kMaxOpenRecords)
        opens.erase(opens.begin());  // the oldest: its program keeps connections it never uses
    opens[reqId] = {target, 0, false};
    TheClient().Unlock();
}

// The program uses the connection: it is its own from now on.
void ConnectionUsed(int32_t connRef)
{
    TheClient().Lock();
    auto& opens = Opens();
    for (auto it = opens.begin(); it != opens.end();)
        it = it->second.connRef == connRef && connRef != 0 ? opens.erase(it) : std::next(it);
    TheClient().Unlock();
}

// Under the client's lock, when the open's answer arrives: false when the
// answer must not reach the block as a connection (`result` then says why).
void OpenAnswered(int32_t reqId, int32_t& result, const json& answer, bool blockAlive)
{
    auto it = Opens().find(reqId);
    const bool cancelled = it != Opens().end() && it->second.cancelled;
    if (result != 0) {
        if (it != Opens().end())
            Opens().erase(it);
        return;
    }
    const int32_t connRef = static_cast<int32_t>(IntOr(answer, "connRef"));
    if (!blockAlive || cancelled) {
        CloseUnwanted(connRef);
        if (it != Opens().end())
            Opens().erase(it);
        result = atw::kErrAborted;
        return;
    }
    if (it != Opens().end())
        it->second.connRef = connRef;
}

// A cancel of open `reqId`: if the open still waits, its answer will be
// turned away; if it already connected and the program has not used the
// connection, the connection is closed and the open ends as cancelled.
void CancelOpen(int32_t reqId)
{
    TheClient().Lock();
    auto it = Opens().find(reqId);
    if (it != Opens().end()) {
        if (it->second.connRef == 0) {
            it->second.cancelled = true;
        } else {
            CloseUnwanted(it->second.connRef);
            if (it->second.target->alive)
                ATStoreResult(*static_cast<ATParamBlockHeader*>(it->second.target->block), atw::kErrAborted);
            Opens().erase(it);
        }
    }
    TheClient().Unlock();
}

// Sends a request whose answer completes `header` (result written last).
// `progress`, when given, writes what an interim word on the waiting request
// carries (the result stays pending). `answered`, when given, sees every
// answer first, also one that arrives after the block was let go, and may
// change its result.
int32_t Issue(ATParamBlockHeader& header, void* buffer, json request, std::string blob,
              std::function<void(int32_t&, const json&, const std::string&)> fill,
              std::function<void(const json&)> progress = nullptr,
              std::function<void(int32_t&, const json&, bool)> answered = nullptr,
              std::function<void(const std::shared_ptr<Target>&)> tracked = nullptr)
{
    auto target = Track(&header, buffer);
    if (tracked)
        tracked(target);
    ATStoreResult(header, kATResultPending);
    ATParamBlockHeader* h = &header;
    atclient::Progress onProgress;
    if (progress)
        onProgress = [target, progress](const json& word) {
            if (target->alive)
                progress(word);
        };
    const int32_t sent = TheClient().Send(std::move(request), std::move(blob),
        [target, h, fill, answered](int32_t result, const json& answer, const std::string& data) {
            const bool alive = Finish(target);
            if (answered)
                answered(result, answer, alive);
            if (!alive)
                return;
            if (result == 0 && fill)
                fill(result, answer, data);
            ATStoreResult(*h, result);
        },
        std::move(onProgress));
    if (sent != 0) {
        TheClient().Lock();
        Targets().erase(target);
        int32_t failed = sent;
        if (answered)
            answered(failed, json::object(), true);
        TheClient().Unlock();
        ATStoreResult(header, sent);
        return sent;
    }
    return 0;
}

int32_t Fail(ATParamBlockHeader& header, int32_t result)
{
    ATStoreResult(header, result);
    return result;
}

int32_t NetInfo(ATNetInfoBlock& b)
{
    return Issue(b.header, nullptr, {{"op", "at.netinfo"}}, {}, [p = &b](int32_t& result, const json& a, const std::string&) {
        const std::string zone = NameOr(a, "zone");
        p->network = static_cast<uint16_t>(IntOr(a, "network"));
        p->node = static_cast<uint8_t>(IntOr(a, "node"));
        p->rangeFirst = static_cast<uint16_t>(IntOr(a, "rangeFirst"));
        p->rangeLast = static_cast<uint16_t>(IntOr(a, "rangeLast"));
        std::memset(p->zone, 0, sizeof p->zone);
        std::memcpy(p->zone, zone.data(), std::min<std::size_t>(zone.size(), kNBPMaxNameLength));
        auto it = a.find("adapter");
        if (it == a.end() || !it->is_array() || it->size() != 6) {
            result = atw::kErrFailed;
            return;
        }
        int i = 0;
        for (const auto& byte : *it)
            p->adapter[i++] = byte.is_number_unsigned() ? static_cast<uint8_t>(byte.get<unsigned>()) : 0;
    });
}

int32_t SetZone(ATNetInfoBlock& b)
{
    const std::string zone(b.zone, strnlen(b.zone, sizeof b.zone));
    if (zone.empty() || zone.size() > kNBPMaxNameLength)
        return Fail(b.header, atw::kErrFailed);
    return Issue(b.header, nullptr,
                 {{"op", "at.setzone"}, {"zone", atw::BytesToText(zone)}, {"rangeFirst", b.rangeFirst},
                  {"rangeLast", b.rangeLast}},
                 {}, nullptr);
}

int32_t Pap(PAPParamBlock& pb)
{
    json r;
    std::string blob;
    void* buffer = nullptr;
    std::function<void(int32_t&, const json&, const std::string&)> fill;
    std::function<void(const json&)> progress;
    std::function<void(int32_t&, const json&, bool)> answered;
    std::function<void(const std::shared_ptr<Target>&)> tracked;
    PAPParamBlock* b = &pb;
    switch (pb.Command()) {
    case kPAPOpen: {
        const int32_t reqId = atclient::NextRequestId();
        pb.requestId = reqId;
        r = TupleJson(pb.printer);
        r["op"] = "pap.open";
        r["reqid"] = reqId;
        r["quantum"] = pb.flowQuantum;
        fill = [b](int32_t&, const json& a, const std::string&) { b->connRef = static_cast<int32_t>(IntOr(a, "connRef")); };
        // Queued behind another connection: the printer's busy status.
        progress = [b](const json& a) { b->SetStatusString(NameOr(a, "status").c_str()); };
        tracked = [reqId](const std::shared_ptr<Target>& t) { RememberOpen(reqId, t); };
        answered = [reqId](int32_t& result, const json& a, bool alive) { OpenAnswered(reqId, result, a, alive); };
        break;
    }
    case kPAPStatus:
        pb.requestId = atclient::NextRequestId();
        r = TupleJson(pb.printer);
        r["op"] = "pap.status";
        r["reqid"] = pb.requestId;
        fill = [b](int32_t&, const json& a, const std::string&) { b->SetStatusString(NameOr(a, "status").c_str()); };
        break;
    case kPAPClose:
        ConnectionUsed(pb.connRef);
        r = {{"op", "pap.close"}, {"connRef", pb.connRef}};
        break;
    case kPAPCancel:
        CancelOpen(pb.requestId);
        r = {{"op", "pap.cancel"}, {"target", pb.requestId}};
        break;
    case kPAPWrite: {
        if (pb.length < 0 || pb.length > kPAPChunkSize || (pb.length > 0 && !pb.DataBuffer()))
            return Fail(pb.header, atw::kErrFailed);
        ConnectionUsed(pb.connRef);
        blob.assign(static_cast<const char*>(pb.DataBuffer()), static_cast<std::size_t>(pb.length));
        r = {{"op", "pap.write"}, {"connRef", pb.connRef}, {"eof", pb.Eof()}, {"length", pb.length}};
        break;
    }
    case kPAPRead: {
        buffer = pb.DataBuffer();
        if (!buffer || pb.length <= 0)
            return Fail(pb.header, atw::kErrFailed);
        ConnectionUsed(pb.connRef);
        const int32_t room = std::min(pb.length, kPAPChunkSize);
        r = {{"op", "pap.read"}, {"connRef", pb.connRef}, {"length", room}};
        fill = [b, buffer, room](int32_t&, const json& a, const std::string& data) {
            const std::size_t n = std::min<std::size_t>(data.size(), static_cast<std::size_t>(room));
            std::memcpy(buffer, data.data(), n);
            b->length = static_cast<int32_t>(n);
            bool ok = true;
            b->SetEof(atwire::GetBool(a, "eof", false, ok));
        };
        break;
    }
    default:
        return Fail(pb.header, atw::kErrFailed);
    }
    return Issue(pb.header, buffer, std::move(r), std::move(blob), std::move(fill), std::move(progress),
                 std::move(answered), std::move(tracked));
}

}  // namespace

extern "C" int32_t ATSTACK_CALL ATALKDispatch(void* block)
{
    if (!block)
        return atw::kErrFailed;
    auto* header = static_cast<ATParamBlockHeader*>(block);
    switch (header->command) {
    case kATGetNetInfo:
        return NetInfo(*static_cast<ATNetInfoBlock*>(block));
    case kATSetCurrentZone:
        return SetZone(*static_cast<ATNetInfoBlock*>(block));
    default:
        return Pap(*static_cast<PAPParamBlock*>(block));
    }
}

extern "C" int32_t ATSTACK_CALL ATStackReleaseRange(const void* start, uint32_t size)
{
    const auto* lo = static_cast<const char*>(start);
    const auto* hi = lo + size;
    auto inside = [&](const void* p) {
        const auto* c = static_cast<const char*>(p);
        return p && c >= lo && c < hi;
    };
    int32_t detached = 0;
    TheClient().Lock();
    for (const auto& t : Targets())
        if (t->alive && (inside(t->block) || inside(t->buffer))) {
            t->alive = false;
            ++detached;
        }
    TheClient().Unlock();
    return detached;
}
