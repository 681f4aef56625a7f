// Molven32: parameter blocks, NBP and ZIP enumerations, the default printer,
// the AppleShare calls and the printer type table, over atnetd.
// GCC 12 at -O3 (the 32-bit release build) reports null dereferences inside
// nlohmann/json that cannot happen; keep the warning for our own code elsewhere.
#pragma GCC diagnostic ignored "-Wnull-dereference"

#include <winsock2.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <vector>

#include "client.h"
#include "install_folder.h"
#include "kestra32_internal.h"
#include "latin1.h"
#include "molven32.h"
#include "nbp_names.h"
#include "pap_types.h"
#include "world.h"

namespace {

using nlohmann::json;

atclient::Client& TheClient()
{
    static atclient::Client* client = new atclient::Client("Molven32");
    return *client;
}

using atwire::IntOr;
using atwire::NameOr;

std::string Text(const char* s, std::size_t max = 255)
{
    return s ? atw::BytesToText(std::string(s, strnlen(s, max))) : std::string();
}

// Copies at most room - 1 bytes and a NUL.
void CopyOut(char* dest, std::size_t room, const std::string& s)
{
    if (!dest)
        return;
    const std::size_t n = std::min(s.size(), room - 1);
    std::memcpy(dest, s.data(), n);
    dest[n] = '\0';
}

std::string Hex(const void* p)
{
    char b[32];
    std::snprintf(b, sizeof b, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
    return b;
}

// ---- blocks ----

std::mutex g_blocksLock;
std::map<void*, uint32_t>& Blocks()
{
    static auto* blocks = new std::map<void*, uint32_t>();
    return *blocks;
}

// ---- enumerations (NBP and ZIP) ----

struct Enum {
    std::atomic<int32_t> status{kATResultPending};
    uint32_t request = 0;              // its request's id on the wire
    std::vector<atw::Entity> answers;  // NBP
    std::vector<std::string> zones;    // ZIP
};

std::mutex g_enumLock;
std::map<ATEnumHandle, std::shared_ptr<Enum>>& Enums()
{
    static auto* enums = new std::map<ATEnumHandle, std::shared_ptr<Enum>>();
    return *enums;
}
ATEnumHandle g_nextHandle = 1;

std::shared_ptr<Enum> FindEnum(ATEnumHandle h)
{
    std::lock_guard<std::mutex> g(g_enumLock);
    auto it = Enums().find(h);
    return it == Enums().end() ? nullptr : it->second;
}

ATEnumHandle AddEnum(const std::shared_ptr<Enum>& e)
{
    std::lock_guard<std::mutex> g(g_enumLock);
    ATEnumHandle h = g_nextHandle++;
    if (g_nextHandle == 0)
        g_nextHandle = 1;
    Enums()[h] = e;
    return h;
}

void RemoveEnum(ATEnumHandle h)
{
    std::lock_guard<std::mutex> g(g_enumLock);
    Enums().erase(h);
}

// Sends the request of a new enumeration; `take` stores the answer's items
// (on the receiver thread), then the status is published with release
// ordering. 0 and a handle, or the negative result and handle 0.
int32_t StartEnum(ATEnumHandle* handle, const json& request,
                  std::function<void(Enum&, const json& answer)> take)
{
    if (!handle)
        return atw::kErrFailed;
    *handle = 0;
    auto en = std::make_shared<Enum>();
    const int32_t rc = TheClient().Send(
        request, {},
        [en, take](int32_t result, const json& a, const std::string&) {
            take(*en, a);
            en->status.store(result, std::memory_order_release);
        },
        nullptr, &en->request);
    if (rc != 0)
        return rc;
    *handle = AddEnum(en);
    return 0;
}

int32_t EnumStatus(ATEnumHandle h)
{
    auto e = FindEnum(h);
    return e ? e->status.load(std::memory_order_acquire) : atw::kErrFailed;
}

// The enumeration when its answer arrived with status 0, else null.
std::shared_ptr<Enum> DoneEnum(ATEnumHandle h)
{
    auto e = FindEnum(h);
    return e && e->status.load(std::memory_order_acquire) == 0 ? e : nullptr;
}

uint16_t CountOf(std::size_t n)
{
    return static_cast<uint16_t>(std::min<std::size_t>(n, 0xFFFF));
}

int32_t CloseEnum(ATEnumHandle h, const char* call)
{
    auto e = FindEnum(h);
    if (!e)
        return atw::kErrFailed;
    RemoveEnum(h);
    // The service ends the lookup if it still runs.
    TheClient().Note({{"op", "enum.end"}, {"request", e->request}, {"call", call}, {"handle", h}});
    return 0;
}

void FillTuple(_NBPTuple& t, const atw::Entity& e)
{
    std::memset(&t, 0, sizeof t);
    NBPSetSlot(t.object, e.name.object);
    NBPSetSlot(t.type, e.name.type);
    NBPSetSlot(t.zone, e.name.zone);
    t.network = e.address.network;
    t.node = e.address.node;
    t.socket = e.address.socket;
}

atw::Entity EntityOf(const json& a)
{
    atw::Entity e;
    e.name = {NameOr(a, "object"), NameOr(a, "type"), NameOr(a, "zone")};
    e.address = {static_cast<uint16_t>(IntOr(a, "network")), static_cast<uint8_t>(IntOr(a, "node")),
                 static_cast<uint8_t>(IntOr(a, "socket"))};
    return e;
}

int32_t GetBuffer(const char* op, const char* path, void* buffer, uint32_t size)
{
    if (!path || !buffer || size < kATKIFSBufferSize)
        return kAFPParamErr;
    std::string data;
    const int32_t rc = TheClient().Call({{"op", op}, {"path", Text(path, 1024)}, {"size", size}}, {}, nullptr, &data);
    if (rc != 0)
        return rc;
    if (data.size() != kATKIFSBufferSize)
        return atw::kErrFailed;
    std::memcpy(buffer, data.data(), data.size());
    return 0;
}

// ---- the printer type table ----

// The table file as last read. It is read again when another process says
// it changed (the service counts the notifications); without the service,
// which cannot tell, when the file itself changed. It is a local file: the
// answer never depends on the network.
struct TypesTable {
    bool read = false;
    int generation = -1;
    std::string path;
    WIN32_FILE_ATTRIBUTE_DATA stamp{};
    std::optional<std::vector<atw::PapTypeEntry>> entries;
};
std::mutex g_typesLock;
TypesTable g_types;

std::string TypesTablePath()
{
    const auto folder = FindInstallFolder();
    return folder ? *folder + "Printers.PAPTypes" : std::string();
}

WIN32_FILE_ATTRIBUTE_DATA FileStamp(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d))
        return {};
    return d;
}

bool SameStamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b)
{
    return a.nFileSizeLow == b.nFileSizeLow && a.nFileSizeHigh == b.nFileSizeHigh &&
           CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

std::optional<std::vector<atw::PapTypeEntry>> ReadTypesTable(const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return atw::ParsePapTypes(s.str());
}

}  // namespace

extern "C" {

int32_t ATSTACK_CALL MPPAlloc(void** block, uint32_t size)
{
    if (!block)
        return atw::kErrFailed;
    *block = nullptr;
    const uint32_t n = size ? size : kMPPBlockSize;
    void* p = std::calloc(1, n);
    if (!p)
        return atw::kErrFailed;
    {
        std::lock_guard<std::mutex> g(g_blocksLock);
        Blocks()[p] = n;
    }
    *block = p;
    TheClient().Note({{"op", "mpp.alloc"}, {"size", n}, {"block", Hex(p)}});
    return 0;
}

int32_t ATSTACK_CALL MPPFree(void* block)
{
    uint32_t size = 0;
    {
        std::lock_guard<std::mutex> g(g_blocksLock);
        auto it = Blocks().find(block);
        if (!block || it == Blocks().end())
            return atw::kErrFailed;
        size = it->second;
        Blocks().erase(it);
    }
    const int32_t detached = ATStackReleaseRange(block, size);
    const std::string name = Hex(block);
    std::free(block);
    TheClient().Note({{"op", "mpp.free"}, {"block", name}, {"size", size}, {"detached", detached}});
    return 0;
}

int32_t ATSTACK_CALL NBPSetEntityName(void* entity, const char* object, const char* type, const char* zone)
{
    if (!entity)
        return atw::kErrFailed;
    auto* e = static_cast<NBPEntityName*>(entity);
    if (object)
        NBPSetSlot(e->object, std::string_view(object, strnlen(object, 255)));
    if (type)
        NBPSetSlot(e->type, std::string_view(type, strnlen(type, 255)));
    if (zone)
        NBPSetSlot(e->zone, std::string_view(zone, strnlen(zone, 255)));
    return 0;
}

int32_t ATSTACK_CALL NBPOpenEnum(ATEnumHandle* handle, int32_t retryInterval, int32_t retryCount, int32_t maxAnswers,
                                 const void* entity)
{
    if (handle)
        *handle = 0;
    if (!entity || maxAnswers <= 0)
        return atw::kErrFailed;
    const auto* e = static_cast<const NBPEntityName*>(entity);
    const json request = {{"op", "nbp.lookup"},
                          {"object", atw::BytesToText(NBPSlotText(e->object))},
                          {"type", atw::BytesToText(NBPSlotText(e->type))},
                          {"zone", atw::BytesToText(NBPSlotText(e->zone))},
                          {"max", maxAnswers},
                          {"interval", retryInterval},
                          {"count", retryCount}};
    return StartEnum(handle, request, [maxAnswers](Enum& en, const json& a) {
        auto it = a.find("answers");
        if (it != a.end() && it->is_array())
            for (const auto& x : *it)
                if (x.is_object() && en.answers.size() < static_cast<std::size_t>(maxAnswers))
                    en.answers.push_back(EntityOf(x));
    });
}

int32_t ATSTACK_CALL NBPEnumStatus(ATEnumHandle handle)
{
    return EnumStatus(handle);
}

uint16_t ATSTACK_CALL NBPFoundCount(ATEnumHandle handle)
{
    auto e = DoneEnum(handle);
    return e ? CountOf(e->answers.size()) : 0;
}

int32_t ATSTACK_CALL NBPReadEnum(ATEnumHandle handle, uint16_t index, _NBPTuple* tuple)
{
    auto e = DoneEnum(handle);
    if (!e || !tuple || index >= e->answers.size())
        return atw::kErrFailed;
    FillTuple(*tuple, e->answers[index]);
    return 0;
}

int32_t ATSTACK_CALL NBPCloseEnum(ATEnumHandle handle)
{
    return CloseEnum(handle, "NBPCloseEnum");
}

int32_t ATSTACK_CALL ZIPOpenEnum(ATEnumHandle* handle, int32_t localOnly)
{
    return StartEnum(handle, {{"op", "zip.zones"}, {"local", localOnly != 0}}, [](Enum& en, const json& a) {
        auto it = a.find("zones");
        if (it != a.end() && it->is_array())
            for (const auto& z : *it)
                if (z.is_string())
                    if (auto bytes = atw::TextToBytes(z.get<std::string>()))
                        en.zones.push_back(*bytes);
    });
}

int32_t ATSTACK_CALL ZIPEnumStatus(ATEnumHandle handle)
{
    return EnumStatus(handle);
}

uint16_t ATSTACK_CALL ZIPZoneCount(ATEnumHandle handle)
{
    auto e = DoneEnum(handle);
    return e ? CountOf(e->zones.size()) : 0;
}

int32_t ATSTACK_CALL ZIPReadEnum(ATEnumHandle handle, uint16_t index, char* zone)
{
    auto e = DoneEnum(handle);
    if (!e || !zone || index >= e->zones.size())
        return atw::kErrFailed;
    CopyOut(zone, 33, e->zones[index]);
    return 0;
}

int32_t ATSTACK_CALL ZIPGetMyZone(char* zone)
{
    if (!zone)
        return atw::kErrFailed;
    json a;
    const int32_t rc = TheClient().Call({{"op", "zip.myzone"}}, {}, &a);
    if (rc == 0)
        CopyOut(zone, 33, NameOr(a, "zone"));
    return rc;
}

int32_t ATSTACK_CALL ZIPCloseEnum(ATEnumHandle handle)
{
    return CloseEnum(handle, "ZIPCloseEnum");
}

int32_t ATSTACK_CALL PAPGetDefaultPrinter(_NBPTuple* printer)
{
    if (!printer)
        return atw::kErrFailed;
    json a;
    const int32_t rc = TheClient().Call({{"op", "pap.default.get"}}, {}, &a);
    if (rc == 0)
        FillTuple(*printer, EntityOf(a));
    return rc;
}

int32_t ATSTACK_CALL PAPSetDefaultPrinter(const _NBPTuple* printer)
{
    if (!printer)
        return atw::kErrFailed;
    return TheClient().Call({{"op", "pap.default.set"},
                             {"object", atw::BytesToText(NBPSlotText(printer->object))},
                             {"type", atw::BytesToText(NBPSlotText(printer->type))},
                             {"zone", atw::BytesToText(NBPSlotText(printer->zone))}});
}

uint32_t ATSTACK_CALL AFPGetNameBitmap(const char* name)
{
    if (!name)
        return 0;
    json a;
    if (TheClient().Call({{"op", "afp.bitmap"}, {"name", Text(name, 1024)}}, {}, &a) != 0)
        return 0;
    return static_cast<uint32_t>(IntOr(a, "bits"));
}

int32_t ATSTACK_CALL AFPParseRemoteName(const char* name, char* object, char* type, char* zone, char* volume,
                                        char* path)
{
    if (!name)
        return atw::kErrFailed;
    json a;
    const int32_t rc = TheClient().Call({{"op", "afp.parse"}, {"name", Text(name, 1024)}}, {}, &a);
    if (rc != 0)
        return rc;
    CopyOut(object, 36, NameOr(a, "object"));
    CopyOut(type, 36, NameOr(a, "type"));
    CopyOut(zone, 36, NameOr(a, "zone"));
    CopyOut(volume, 36, NameOr(a, "volume"));
    CopyOut(path, 36, NameOr(a, "path"));
    return 0;
}

int32_t ATSTACK_CALL AFPMapID(uint32_t mapRef, int32_t function, int32_t id, char* name)
{
    if (!name)
        return kAFPParamErr;
    json a;
    const int32_t rc =
        TheClient().Call({{"op", "afp.mapid"}, {"mapRef", mapRef}, {"function", function}, {"value", id}}, {}, &a);
    if (rc == 0)
        CopyOut(name, 36, NameOr(a, "name"));
    return rc;
}

int32_t ATSTACK_CALL AFPChangeSrvrPassword(const char* serverPath, const char* oldPassword, const char* newPassword)
{
    if (!serverPath || !oldPassword || !newPassword)
        return kAFPParamErr;
    return TheClient().Call({{"op", "afp.chpass"},
                             {"server", Text(serverPath, 1024)},
                             {"old", Text(oldPassword, 64)},
                             {"new", Text(newPassword, 64)}});
}

int32_t ATSTACK_CALL ATKIFSGetFlDrParams(const char* path, void* buffer, uint32_t size)
{
    return GetBuffer("afp.fldr", path, buffer, size);
}

int32_t ATSTACK_CALL ATKIFSGetVolParams(const char* path, void* buffer, uint32_t size)
{
    return GetBuffer("afp.vol", path, buffer, size);
}

int32_t ATSTACK_CALL AFPGetServerInfo(const char* serverPath, AFPServerInfo* info)
{
    if (!serverPath || !info)
        return kAFPParamErr;
    json a;
    const int32_t rc = TheClient().Call({{"op", "afp.server"}, {"name", Text(serverPath, 1024)}}, {}, &a);
    if (rc != 0)
        return rc;
    std::memset(info, 0, sizeof *info);
    CopyOut(info->name, sizeof info->name, NameOr(a, "name"));
    CopyOut(info->zone, sizeof info->zone, NameOr(a, "zone"));
    CopyOut(info->machineType, sizeof info->machineType, NameOr(a, "machineType"));
    CopyOut(info->logonName, sizeof info->logonName, NameOr(a, "logon"));
    CopyOut(info->password, sizeof info->password, NameOr(a, "password"));
    info->serverTime = static_cast<int32_t>(IntOr(a, "serverTime", kAFPNoDate));
    info->connectedAt = static_cast<int32_t>(IntOr(a, "connectedAt", kAFPNoDate));
    bool ok = true;
    info->flags = (atwire::GetBool(a, "allowsChangePassword", false, ok) ? kAFPServerAllowsChangePassword : 0) |
                  (atwire::GetBool(a, "tcpip", false, ok) ? kAFPServerTCPIP : 0);
    // Lists longer than the record's room fill it and raise their flag.
    auto list = [&](const char* key, char (*out)[36], std::size_t max, uint16_t& count, uint32_t more) {
        auto it = a.find(key);
        if (it == a.end() || !it->is_array())
            return;
        for (const auto& v : *it) {
            if (count >= max) {
                info->flags |= more;
                break;
            }
            if (v.is_string())
                CopyOut(out[count++], 36, atw::TextToBytes(v.get<std::string>()).value_or(""));
        }
    };
    list("afpVersions", info->versions, 8, info->versionCount, kAFPServerMoreVersions);
    list("uams", info->uams, 8, info->uamCount, kAFPServerMoreUAMs);
    auto vols = a.find("volumes");
    if (vols != a.end() && vols->is_array())
        for (const auto& v : *vols) {
            if (!v.is_object())
                continue;
            if (info->volumeCount >= 16) {
                info->flags |= kAFPServerMoreVolumes;
                break;
            }
            CopyOut(info->volumes[info->volumeCount], 36, NameOr(v, "name"));
            info->volumeHasPassword[info->volumeCount] = atwire::GetBool(v, "password", false, ok) ? 1 : 0;
            ++info->volumeCount;
        }
    return 0;
}

int32_t ATSTACK_CALL IsPostScriptPrinterType(const char* type)
{
    if (!type)
        return 0;
    json a;
    const std::string text = Text(type, 255);
    // Without the service only the file's own changes are seen.
    const bool heard = TheClient().Call({{"op", "paptypes.generation"}, {"type", text}}, {}, &a) == 0;
    bool answer;
    {
        std::lock_guard<std::mutex> g(g_typesLock);
        const int generation = heard ? static_cast<int>(IntOr(a, "generation", -1)) : g_types.generation;
        const std::string path = TypesTablePath();
        const WIN32_FILE_ATTRIBUTE_DATA stamp = FileStamp(path);
        const bool changed = heard ? generation != g_types.generation : !SameStamp(stamp, g_types.stamp);
        if (!g_types.read || changed || path != g_types.path) {
            g_types.entries = ReadTypesTable(path);
            g_types.read = true;
            g_types.generation = generation;
            g_types.path = path;
            g_types.stamp = stamp;
        }
        answer = atw::IsPostScriptType(g_types.entries, std::string(type, strnlen(type, 255)));
    }
    TheClient().Note({{"op", "note"}, {"call", "IsPostScriptPrinterType"}, {"type", text}, {"answer", answer ? 1 : 0}});
    return answer ? 1 : 0;
}

}  // extern "C"
