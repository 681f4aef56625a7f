#include "world_file.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "json_depth.h"
#include "latin1.h"

namespace atw {

namespace {

using nlohmann::json;

struct PlaceError {
    std::string place, what;
};

// One JSON object being read, with its place in the file for messages.
class Obj {
public:
    Obj(const json& j, std::string place) : j_(j), place_(std::move(place))
    {
        if (!j_.is_object())
            Fail("expected an object");
    }

    [[noreturn]] void Fail(const std::string& what, const std::string& key = {}) const
    {
        throw PlaceError{key.empty() ? place_ : At(key), what};
    }
    std::string At(const std::string& key) const { return place_.empty() ? key : place_ + "." + key; }
    bool Has(const char* key) const { return j_.contains(key) && !j_.at(key).is_null(); }
    const json& Raw(const char* key) const { return j_.at(key); }

    // Every key must be one of `allowed`: a misspelt field is an error.
    void Only(std::initializer_list<const char*> allowed) const
    {
        for (auto it = j_.begin(); it != j_.end(); ++it) {
            bool ok = false;
            for (const char* a : allowed)
                ok = ok || it.key() == a;
            if (!ok)
                throw PlaceError{At(it.key()), "unknown field"};
        }
    }

    std::string Str(const char* key, std::size_t maxLen, const std::string& fallback, bool required = false) const
    {
        if (!Has(key)) {
            if (required)
                Fail("missing", key);
            return fallback;
        }
        const json& v = j_.at(key);
        if (!v.is_string())
            Fail("expected a string", key);
        auto bytes = TextToBytes(v.get<std::string>());
        if (!bytes)
            Fail("characters must lie in U+0000..U+00FF", key);
        if (bytes->size() > maxLen)
            Fail("longer than " + std::to_string(maxLen) + " characters", key);
        return *bytes;
    }
    std::string Name(const char* key, bool required = true, const std::string& fallback = {}) const
    {
        std::string s = Str(key, 32, fallback, required);
        if (required && s.empty())
            Fail("must not be empty", key);
        return s;
    }
    int64_t Int(const char* key, int64_t lo, int64_t hi, int64_t fallback, bool required = false) const
    {
        if (!Has(key)) {
            if (required)
                Fail("missing", key);
            return fallback;
        }
        const json& v = j_.at(key);
        if (!v.is_number_integer())
            Fail("expected an integer", key);
        const int64_t n = v.is_number_unsigned() && v.get<uint64_t>() > INT64_MAX ? INT64_MAX : v.get<int64_t>();
        if (n < lo || n > hi)
            Fail("must lie in " + std::to_string(lo) + ".." + std::to_string(hi), key);
        return n;
    }
    bool Bool(const char* key, bool fallback) const
    {
        if (!Has(key))
            return fallback;
        if (!j_.at(key).is_boolean())
            Fail("expected true or false", key);
        return j_.at(key).get<bool>();
    }
    const json& Arr(const char* key) const
    {
        static const json empty = json::array();
        if (!Has(key))
            return empty;
        if (!j_.at(key).is_array())
            Fail("expected an array", key);
        return j_.at(key);
    }
    std::vector<std::string> StrList(const char* key, std::size_t maxLen) const
    {
        std::vector<std::string> out;
        const json& a = Arr(key);
        for (std::size_t i = 0; i < a.size(); ++i) {
            const std::string place = At(key) + "[" + std::to_string(i) + "]";
            if (!a[i].is_string())
                throw PlaceError{place, "expected a string"};
            auto bytes = TextToBytes(a[i].get<std::string>());
            if (!bytes || bytes->size() > maxLen)
                throw PlaceError{place, "not a name of at most " + std::to_string(maxLen) + " characters"};
            out.push_back(*bytes);
        }
        return out;
    }
    Obj Sub(const char* key) const { return Obj(j_.at(key), At(key)); }
    const std::string& Place() const { return place_; }

private:
    const json& j_;
    std::string place_;
};

std::string Item(const std::string& place, std::size_t i)
{
    return place + "[" + std::to_string(i) + "]";
}

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

int32_t Date(const Obj& o, const char* key)
{
    if (!o.Has(key))
        return kNoDate;
    const json& v = o.Raw(key);
    if (v.is_number_integer()) {
        const int64_t n = v.get<int64_t>();
        if (n <= INT32_MIN || n > INT32_MAX)
            o.Fail("seconds out of range", key);
        return static_cast<int32_t>(n);
    }
    if (!v.is_string())
        o.Fail("expected a date \"YYYY-MM-DDTHH:MM:SSZ\" or null", key);
    const std::string s = v.get<std::string>();
    int y, mo, d, h, mi, se;
    char z = 0;
    if (s.size() != 20 || std::sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &se, &z) != 7 ||
        z != 'Z' || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || se > 59 || h < 0 || mi < 0 || se < 0)
        o.Fail("expected a date \"YYYY-MM-DDTHH:MM:SSZ\" (UTC)", key);
    const int64_t t = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86400 + h * 3600 + mi * 60 + se;
    if (t <= INT32_MIN || t > INT32_MAX)
        o.Fail("date out of range 1901..2038", key);
    return static_cast<int32_t>(t);
}

Address ReadAddress(const Obj& parent, const char* key, Address fallback)
{
    if (!parent.Has(key))
        return fallback;
    Obj o = parent.Sub(key);
    o.Only({"network", "node", "socket"});
    Address a;
    a.network = static_cast<uint16_t>(o.Int("network", 0, 65535, 0, true));
    a.node = static_cast<uint8_t>(o.Int("node", 0, 254, 0, true));  // 0 too, as answers may carry it
    a.socket = static_cast<uint8_t>(o.Int("socket", 1, 254, 0, true));
    return a;
}

struct Reader {
    World w;
    std::set<std::string> zoneKeys;

    static std::string Key(const std::string& s)
    {
        std::string k = s;
        for (auto& c : k)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return k;
    }

    std::string ZoneOf(const Obj& o, const char* key)
    {
        if (w.zones.empty()) {
            if (o.Has(key) && o.Str(key, 32, "") != "*")
                o.Fail("this network has no zones: leave the zone out", key);
            return "*";
        }
        std::string z = o.Has(key) ? o.Name(key) : w.workstation.zone;
        for (const auto& zone : w.zones)
            if (NameEquals(zone.name, z))
                return zone.name;
        o.Fail("no such zone in \"zones\"", key);
    }

    void Workstation(const Obj& o)
    {
        o.Only({"name", "network", "node", "cableRange", "zone", "adapter"});
        auto& ws = w.workstation;
        ws.name = o.Str("name", 32, "Workstation");
        ws.network = static_cast<uint16_t>(o.Int("network", 0, 65534, 0, true));
        ws.node = static_cast<uint8_t>(o.Int("node", 1, 254, 0, true));
        ws.rangeFirst = ws.rangeLast = ws.network;
        if (o.Has("cableRange")) {
            const json& r = o.Raw("cableRange");
            if (!r.is_array() || r.size() != 2 || !r[0].is_number_unsigned() || !r[1].is_number_unsigned() ||
                r[0].get<uint64_t>() > 65534 || r[1].get<uint64_t>() > 65534 || r[0].get<uint64_t>() > r[1].get<uint64_t>())
                o.Fail("expected [first, last] network numbers, first <= last", "cableRange");
            ws.rangeFirst = r[0].get<uint16_t>();
            ws.rangeLast = r[1].get<uint16_t>();
            if (ws.network < ws.rangeFirst || ws.network > ws.rangeLast)
                o.Fail("the network number lies outside the cable range", "network");
        }
        const std::string adapter = o.Str("adapter", 17, "00:00:00:00:00:00");
        unsigned b[6];
        char s1, s2, s3, s4, s5;
        if (std::sscanf(adapter.c_str(), "%2x%c%2x%c%2x%c%2x%c%2x%c%2x", &b[0], &s1, &b[1], &s2, &b[2], &s3, &b[3], &s4,
                        &b[4], &s5, &b[5]) != 11 || adapter.size() != 17)
            o.Fail("expected six hexadecimal bytes such as \"00:A0:24:1B:2C:3D\"", "adapter");
        for (int i = 0; i < 6; ++i)
            ws.adapter[i] = static_cast<uint8_t>(b[i]);
    }

    void Zones(const Obj& top)
    {
        const json& a = top.Arr("zones");
        for (std::size_t i = 0; i < a.size(); ++i) {
            Obj o(a[i], Item("zones", i));
            o.Only({"name", "local"});
            Zone z{o.Name("name"), o.Bool("local", false)};
            if (!zoneKeys.insert(Key(z.name)).second)
                o.Fail("zone named twice", "name");
            w.zones.push_back(z);
        }
    }

    void Printers(const Obj& top)
    {
        const json& a = top.Arr("printers");
        std::set<std::string> ids;
        for (std::size_t i = 0; i < a.size(); ++i) {
            Obj o(a[i], Item("printers", i));
            o.Only({"id", "name", "type", "zone", "address", "openDelayMs", "openRefused", "status", "reply",
                    "replies", "faults", "password", "interpreter"});
            Printer p;
            p.name.object = o.Name("name");
            p.name.type = o.Name("type", false, "LaserWriter");
            if (p.name.type.empty())
                o.Fail("must not be empty", "type");
            p.name.zone = ZoneOf(o, "zone");
            p.id = o.Str("id", 64, p.name.object);
            if (!ids.insert(p.id).second)
                o.Fail("two printers with the same id (give each an \"id\")", o.Has("id") ? "id" : "name");
            p.address = ReadAddress(o, "address", {w.workstation.network, static_cast<uint8_t>(100 + i % 150), 128});
            p.openDelayMs = static_cast<int>(o.Int("openDelayMs", 0, 600000, 0));
            p.openRefused = o.Bool("openRefused", false);
            p.interpreter = ReadInterpreter(o);
            if (p.interpreter) {
                // What LaserWriters answer.
                p.statusIdle = "%%[ status: idle ]%%";
                p.statusWaiting = "%%[ status: waiting; source: AppleTalk ]%%";
                p.statusBusy = "%%[ status: busy; source: AppleTalk ]%%";
            }
            if (o.Has("status")) {
                Obj s = o.Sub("status");
                s.Only({"idle", "waiting", "busy", "fixed"});
                p.statusIdle = s.Str("idle", 255, p.statusIdle);
                p.statusWaiting = s.Str("waiting", 255, p.statusWaiting);
                p.statusBusy = s.Str("busy", 255, p.statusBusy);
                p.statusFixed = s.Str("fixed", 255, "");
            }
            p.reply = o.Str("reply", 1 << 20, "");
            const json& r = o.Arr("replies");
            for (std::size_t k = 0; k < r.size(); ++k) {
                Obj ro(r[k], Item(o.At("replies"), k));
                ro.Only({"contains", "reply"});
                p.replies.push_back({ro.Str("contains", 4096, "", true), ro.Str("reply", 1 << 20, "", true)});
            }
            const json& f = o.Arr("faults");
            for (std::size_t k = 0; k < f.size(); ++k) {
                Obj fo(f[k], Item(o.At("faults"), k));
                fo.Only({"at", "nth", "result", "printerError", "ms"});
                PrinterFault fault;
                const std::string at = fo.Str("at", 8, "", true);
                if (at == "open")
                    fault.at = PrinterFault::At::Open;
                else if (at == "write")
                    fault.at = PrinterFault::At::Write;
                else if (at == "read")
                    fault.at = PrinterFault::At::Read;
                else if (at == "job")
                    fault.at = PrinterFault::At::Job;
                else
                    fo.Fail("expected \"open\", \"write\", \"read\" or \"job\"", "at");
                fault.nth = static_cast<int>(fo.Int("nth", 1, 1000000, 1));
                if (fault.at == PrinterFault::At::Job) {
                    if (!p.interpreter)
                        fo.Fail("only an interpreting printer (\"interpreter\") meets faults of its jobs", "at");
                    if (fo.Has("result"))
                        fo.Fail("a job's fault is a printer error, not a result", "result");
                    fault.printerError = fo.Str("printerError", 64, "", true);
                    if (fault.printerError.empty())
                        fo.Fail("must not be empty", "printerError");
                    fault.ms = static_cast<int>(fo.Int("ms", 0, 600000, 5000));
                } else {
                    if (fo.Has("printerError") || fo.Has("ms"))
                        fo.Fail("only faults \"at\": \"job\" have these", fo.Has("ms") ? "ms" : "printerError");
                    fault.result = static_cast<int32_t>(fo.Int("result", INT32_MIN, -1, kErrRefused));
                }
                p.faults.push_back(fault);
            }
            p.password = o.Str("password", 32, "0");
            w.printers.push_back(std::move(p));
        }
    }

    // "interpreter": true (every default) or an object.
    static std::optional<Interpreter> ReadInterpreter(const Obj& printer)
    {
        if (!printer.Has("interpreter"))
            return std::nullopt;
        Interpreter in;
        in.fonts = StandardFonts();
        const json& v = printer.Raw("interpreter");
        if (v.is_boolean()) {
            if (!v.get<bool>())
                return std::nullopt;
            return in;
        }
        Obj o = printer.Sub("interpreter");
        o.Only({"resolution", "product", "version", "revision", "fonts", "cpuSeconds", "seconds", "memoryMB",
                "pages", "outputKB"});
        in.resolution = static_cast<int>(o.Int("resolution", 18, 600, in.resolution));
        in.product = o.Str("product", 64, in.product);
        in.version = o.Str("version", 32, in.version);
        in.revision = static_cast<int>(o.Int("revision", 0, 1000000, in.revision));
        if (o.Has("fonts")) {
            in.fonts = o.StrList("fonts", 64);
            if (in.fonts.size() > 400)
                o.Fail("more than 400 fonts", "fonts");
            for (std::size_t i = 0; i < in.fonts.size(); ++i) {
                const std::string& f = in.fonts[i];
                bool ok = !f.empty();
                for (unsigned char c : f)
                    ok = ok && (std::isalnum(c) || c == '-' || c == '_' || c == '.');
                if (!ok)
                    throw PlaceError{Item(o.At("fonts"), i), "expected a font name of letters, digits, '-', '_' and '.'"};
            }
        }
        in.cpuSeconds = static_cast<int>(o.Int("cpuSeconds", 1, 600, in.cpuSeconds));
        in.seconds = static_cast<int>(o.Int("seconds", 1, 3600, in.seconds));
        in.memoryMB = static_cast<int>(o.Int("memoryMB", 64, 4096, in.memoryMB));
        in.pages = static_cast<int>(o.Int("pages", 1, 1000, in.pages));
        in.outputKB = static_cast<int>(o.Int("outputKB", 1, 65536, in.outputKB));
        return in;
    }

    int32_t IdOf(const Obj& o, const char* key, const Server& s, bool group)
    {
        if (!o.Has(key))
            return 0;
        const json& v = o.Raw(key);
        if (v.is_number_integer())
            return static_cast<int32_t>(o.Int(key, 0, INT32_MAX, 0));
        const std::string name = o.Str(key, 32, "");
        if (group) {
            for (const auto& g : s.groups)
                if (NameEquals(g.name, name))
                    return g.id;
        } else {
            for (const auto& u : s.users)
                if (NameEquals(u.name, name))
                    return u.id;
        }
        o.Fail(group ? "no such group on this server" : "no such user on this server", key);
    }

    uint8_t Rights(const Obj& o, const char* key, uint8_t fallback)
    {
        if (!o.Has(key))
            return fallback;
        uint8_t bits = 0;
        for (const auto& r : o.StrList(key, 16)) {
            if (r == "seeFolders")
                bits |= kAccessSeeFolders;
            else if (r == "seeFiles")
                bits |= kAccessSeeFiles;
            else if (r == "makeChanges")
                bits |= kAccessMakeChanges;
            else
                o.Fail("rights are \"seeFolders\", \"seeFiles\", \"makeChanges\"", key);
        }
        return bits;
    }

    uint16_t Attributes(const Obj& o)
    {
        uint16_t bits = 0;
        for (const auto& a : o.StrList("attributes", 16)) {
            if (a == "invisible")
                bits |= kAttrInvisible;
            else if (a == "system")
                bits |= kAttrSystem;
            else if (a == "writeInhibit")
                bits |= kAttrWriteInhibit;
            else if (a == "renameInhibit")
                bits |= kAttrRenameInhibit;
            else if (a == "deleteInhibit")
                bits |= kAttrDeleteInhibit;
            else if (a == "copyProtect")
                bits |= kAttrCopyProtect;
            else
                o.Fail("attributes are invisible, system, writeInhibit, renameInhibit, deleteInhibit, copyProtect",
                       "attributes");
        }
        return bits;
    }

    uint32_t nextId = 16;

    void Node(const Obj& o, FsNode& n, const Server& s, bool root, const FsNode* parent)
    {
        const bool folder = root || o.Has("children");
        n.folder = folder;
        if (folder)
            o.Only({"name", "shortName", "created", "modified", "backup", "attributes", "owner", "group", "access",
                    "children"});
        else
            o.Only({"name", "shortName", "type", "creator", "dataFork", "resourceFork", "created", "modified",
                    "backup", "attributes"});
        if (!root)
            n.name = o.Str("name", 31, "", true);
        if (!root && n.name.empty())
            o.Fail("must not be empty", "name");
        n.shortName = o.Str("shortName", 12, "");
        n.created = Date(o, "created");
        n.modified = Date(o, "modified");
        n.backup = Date(o, "backup");
        n.attributes = Attributes(o);
        n.nodeId = root ? 2 : nextId++;
        if (!folder) {
            n.fileType = o.Str("type", 4, "");
            n.creator = o.Str("creator", 4, "");
            n.dataFork = static_cast<uint32_t>(o.Int("dataFork", 0, UINT32_MAX, 0));
            n.resourceFork = static_cast<uint32_t>(o.Int("resourceFork", 0, UINT32_MAX, 0));
            return;
        }
        n.owner = o.Has("owner") ? IdOf(o, "owner", s, false) : (parent ? parent->owner : 0);
        n.group = o.Has("group") ? IdOf(o, "group", s, true) : (parent ? parent->group : 0);
        if (o.Has("access")) {
            Obj a = o.Sub("access");
            a.Only({"owner", "group", "everyone"});
            n.accessOwner = Rights(a, "owner", 7);
            n.accessGroup = Rights(a, "group", 3);
            n.accessEveryone = Rights(a, "everyone", 3);
        } else if (parent) {
            n.accessOwner = parent->accessOwner;
            n.accessGroup = parent->accessGroup;
            n.accessEveryone = parent->accessEveryone;
        }
        const json& c = o.Arr("children");
        std::set<std::string> names;
        for (std::size_t i = 0; i < c.size(); ++i) {
            Obj co(c[i], Item(o.At("children"), i));
            FsNode child;
            Node(co, child, s, false, &n);
            if (!names.insert(Key(child.name)).second)
                co.Fail("two items with the same name in one folder", "name");
            n.children.push_back(std::move(child));
        }
    }

    void Servers(const Obj& top)
    {
        const json& a = top.Arr("servers");
        std::set<std::string> names;
        for (std::size_t i = 0; i < a.size(); ++i) {
            Obj o(a[i], Item("servers", i));
            o.Only({"name", "zone", "address", "machineType", "afpVersions", "uams", "allowsChangePassword",
                    "tcpip", "serverTime", "users", "groups", "session", "volumes"});
            Server s;
            s.name = o.Name("name");
            if (!names.insert(Key(s.name)).second)
                o.Fail("server named twice", "name");
            s.zone = ZoneOf(o, "zone");
            s.address = ReadAddress(o, "address", {w.workstation.network, static_cast<uint8_t>(20 + i % 80), 250});
            s.machineType = o.Str("machineType", 32, "Macintosh");
            s.afpVersions = o.StrList("afpVersions", 32);
            s.uams = o.StrList("uams", 32);
            s.allowsChangePassword = o.Bool("allowsChangePassword", true);
            s.tcpip = o.Bool("tcpip", false);
            s.serverTime = Date(o, "serverTime");
            s.mapRef = static_cast<uint32_t>(i + 1);
            const json& u = o.Arr("users");
            for (std::size_t k = 0; k < u.size(); ++k) {
                Obj uo(u[k], Item(o.At("users"), k));
                uo.Only({"name", "id", "password"});
                s.users.push_back({uo.Name("name"), static_cast<int32_t>(uo.Int("id", 1, INT32_MAX, 0, true)),
                                   uo.Str("password", 8, "")});
            }
            const json& g = o.Arr("groups");
            for (std::size_t k = 0; k < g.size(); ++k) {
                Obj go(g[k], Item(o.At("groups"), k));
                go.Only({"name", "id", "members"});
                Group grp{go.Name("name"), static_cast<int32_t>(go.Int("id", 1, INT32_MAX, 0, true)),
                          go.StrList("members", 32)};
                for (std::size_t m = 0; m < grp.members.size(); ++m) {
                    bool known = false;
                    for (const auto& user : s.users)
                        known = known || NameEquals(user.name, grp.members[m]);
                    if (!known)
                        throw PlaceError{Item(go.At("members"), m), "no such user on this server"};
                }
                s.groups.push_back(std::move(grp));
            }
            if (o.Has("session")) {
                Obj so = o.Sub("session");
                so.Only({"user", "connectedAt"});
                Session sess{so.Name("user"), Date(so, "connectedAt")};
                bool known = false;
                for (const auto& user : s.users)
                    known = known || NameEquals(user.name, sess.user);
                if (!known)
                    so.Fail("no such user on this server", "user");
                s.session = sess;
            }
            const json& v = o.Arr("volumes");
            for (std::size_t k = 0; k < v.size(); ++k) {
                Obj vo(v[k], Item(o.At("volumes"), k));
                vo.Only({"name", "displayName", "password", "readOnly", "bytesFree", "bytesTotal", "created",
                         "modified", "backup", "root"});
                Volume vol;
                vol.name = vo.Str("name", 27, "", true);
                if (vol.name.empty())
                    vo.Fail("must not be empty", "name");
                vol.displayName = vo.Str("displayName", 39, "");
                vol.password = vo.Str("password", 8, "");
                vol.readOnly = vo.Bool("readOnly", false);
                vol.bytesFree = static_cast<uint32_t>(vo.Int("bytesFree", 0, UINT32_MAX, 0));
                vol.bytesTotal = static_cast<uint32_t>(vo.Int("bytesTotal", 0, UINT32_MAX, 0));
                if (vol.bytesFree > vol.bytesTotal)
                    vo.Fail("more bytes free than in total", "bytesFree");
                vol.created = Date(vo, "created");
                vol.modified = Date(vo, "modified");
                vol.backup = Date(vo, "backup");
                for (const auto& other : s.volumes)
                    if (NameEquals(other.name, vol.name))
                        vo.Fail("volume named twice on this server", "name");
                if (vo.Has("root"))
                    Node(vo.Sub("root"), vol.root, s, true, nullptr);
                else
                    vol.root.folder = true, vol.root.nodeId = 2;
                vol.root.name = vol.name;
                s.volumes.push_back(std::move(vol));
            }
            w.servers.push_back(std::move(s));
        }
    }

    void Entities(const Obj& top)
    {
        const json& a = top.Arr("entities");
        for (std::size_t i = 0; i < a.size(); ++i) {
            Obj o(a[i], Item("entities", i));
            o.Only({"object", "type", "zone", "address"});
            Entity e;
            e.name.object = o.Name("object");
            e.name.type = o.Name("type");
            e.name.zone = ZoneOf(o, "zone");
            e.address = ReadAddress(o, "address", {w.workstation.network, static_cast<uint8_t>(200 + i % 50), 4});
            w.entities.push_back(e);
        }
    }

    void Read(const json& doc)
    {
        Obj top(doc, "");
        top.Only({"description", "workstation", "zones", "printers", "servers", "entities", "defaultPrinter",
                  "timing", "limits"});
        if (!top.Has("workstation"))
            top.Fail("missing", "workstation");
        Zones(top);
        Workstation(top.Sub("workstation"));
        {
            Obj ws = top.Sub("workstation");
            if (w.zones.empty()) {
                if (ws.Has("zone") && !ws.Str("zone", 32, "").empty())
                    ws.Fail("this network has no zones: leave the zone out", "zone");
                w.workstation.zone.clear();
            } else {
                const std::string z = ws.Name("zone");
                auto local = w.FindLocalZone(z);
                if (!local)
                    ws.Fail("must be one of the local zones", "zone");
                w.workstation.zone = *local;
            }
        }
        Printers(top);
        Servers(top);
        Entities(top);
        if (top.Has("defaultPrinter")) {
            const std::string id = top.Str("defaultPrinter", 64, "");
            Printer* p = w.PrinterById(id);
            if (!p)
                top.Fail("no printer with this id", "defaultPrinter");
            w.defaultPrinter = p->name;
        }
        if (top.Has("timing")) {
            Obj t = top.Sub("timing");
            t.Only({"nbpLookupMs", "zipMs", "papTimeoutMs"});
            w.timing.nbpLookupMs = static_cast<int>(t.Int("nbpLookupMs", 0, 60000, w.timing.nbpLookupMs));
            w.timing.zipMs = static_cast<int>(t.Int("zipMs", 0, 60000, w.timing.zipMs));
            w.timing.papTimeoutMs = static_cast<int>(t.Int("papTimeoutMs", 100, 3600000, w.timing.papTimeoutMs));
        }
        if (top.Has("limits")) {
            Obj l = top.Sub("limits");
            l.Only({"jobBytes"});
            w.limits.jobBytes = static_cast<uint64_t>(
                l.Int("jobBytes", 1, int64_t{1} << 40, static_cast<int64_t>(w.limits.jobBytes)));
        }
    }
};

std::string LineColumn(std::string_view text, std::size_t offset)
{
    std::size_t line = 1, col = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            col = 1;
        } else {
            ++col;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(col);
}

std::string TooDeep()
{
    return "nested deeper than " + std::to_string(kMaxJsonDepth) + " levels";
}

std::string ReadFileText(const std::string& path, bool& ok)
{
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

WorldLoad ReadWorld(std::string_view text, const std::string& source)
{
    WorldLoad out;
    if (const std::size_t deep = JsonTooDeepAt(text); deep != std::string_view::npos) {
        out.error = source + ": " + LineColumn(text, deep) + ": " + TooDeep();
        return out;
    }
    json doc;
    try {
        doc = json::parse(text.begin(), text.end());
    } catch (const json::parse_error& e) {
        std::string what = e.what();
        const auto cut = what.find("syntax error");
        out.error = source + ": " + LineColumn(text, e.byte ? e.byte - 1 : 0) + ": " +
                    (cut == std::string::npos ? what : what.substr(cut));
        return out;
    }
    try {
        Reader r;
        r.Read(doc);
        out.world = std::move(r.w);
        out.ok = true;
    } catch (const PlaceError& e) {
        out.error = source + ": " + (e.place.empty() ? std::string("top level") : e.place) + ": " + e.what;
    } catch (const json::exception& e) {
        out.error = source + ": " + e.what();
    }
    return out;
}

WorldLoad LoadWorldFile(const std::string& path)
{
    bool ok = false;
    const std::string text = ReadFileText(path, ok);
    if (!ok) {
        WorldLoad out;
        out.error = path + ": cannot be read";
        return out;
    }
    return ReadWorld(text, path);
}

std::string StateText(const World& world)
{
    json s = json::object();
    s["version"] = 1;
    json printers = json::object();
    for (const auto& p : world.printers) {
        json& entry = printers[BytesToText(p.id)] = {{"name", BytesToText(p.name.object)}};
        if (!p.persistent.empty()) {
            json kept = json::array();
            for (const auto& text : p.persistent)
                kept.push_back(BytesToText(text));
            entry["persistent"] = kept;
        }
    }
    s["printers"] = printers;
    if (world.defaultPrinter)
        s["defaultPrinter"] = {{"object", BytesToText(world.defaultPrinter->object)},
                               {"type", BytesToText(world.defaultPrinter->type)},
                               {"zone", BytesToText(world.defaultPrinter->zone)}};
    else
        s["defaultPrinter"] = nullptr;
    s["zone"] = BytesToText(world.workstation.zone);
    json passwords = json::object();
    for (const auto& srv : world.servers) {
        json users = json::object();
        for (const auto& u : srv.users)
            users[BytesToText(u.name)] = BytesToText(u.password);
        passwords[BytesToText(srv.name)] = users;
    }
    s["passwords"] = passwords;
    return s.dump(2) + "\n";
}

bool ApplyState(World& world, std::string_view text, const std::string& source, std::string& error)
{
    if (const std::size_t deep = JsonTooDeepAt(text); deep != std::string_view::npos) {
        error = source + ": " + LineColumn(text, deep) + ": " + TooDeep();
        return false;
    }
    json doc;
    try {
        doc = json::parse(text.begin(), text.end());
    } catch (const json::parse_error& e) {
        error = source + ": " + LineColumn(text, e.byte ? e.byte - 1 : 0) + ": not JSON";
        return false;
    }
    try {
        Obj top(doc, "");
        top.Only({"version", "printers", "defaultPrinter", "zone", "passwords"});
        if (top.Has("printers")) {
            const json& ps = top.Raw("printers");
            if (!ps.is_object())
                top.Fail("expected an object", "printers");
            for (auto it = ps.begin(); it != ps.end(); ++it) {
                auto id = TextToBytes(it.key());
                Printer* p = id ? world.PrinterById(*id) : nullptr;
                if (!p)
                    continue;  // a printer the world no longer has
                Obj po(it.value(), "printers." + it.key());
                po.Only({"name", "persistent"});
                p->name.object = po.Name("name");
                p->persistent.clear();
                std::size_t kept = 0;
                for (auto& kept_text : po.StrList("persistent", kMaxPersistentBytes)) {
                    kept += kept_text.size();
                    if (!p->interpreter || kept > kMaxPersistentBytes)
                        break;  // a printer that no longer interprets, or more than it may keep
                    p->persistent.push_back(std::move(kept_text));
                }
            }
        }
        if (top.Has("defaultPrinter")) {
            Obj d = top.Sub("defaultPrinter");
            d.Only({"object", "type", "zone"});
            world.defaultPrinter = EntityName{d.Name("object"), d.Name("type"), d.Name("zone")};
        }
        if (top.Has("zone")) {
            const std::string z = top.Str("zone", 32, "");
            if (auto local = world.FindLocalZone(z))
                world.workstation.zone = *local;
        }
        if (top.Has("passwords")) {
            const json& pw = top.Raw("passwords");
            if (!pw.is_object())
                top.Fail("expected an object", "passwords");
            for (auto it = pw.begin(); it != pw.end(); ++it) {
                auto name = TextToBytes(it.key());
                Server* srv = name ? world.FindServer(*name) : nullptr;
                if (!srv || !it.value().is_object())
                    continue;
                for (auto u = it.value().begin(); u != it.value().end(); ++u) {
                    auto user = TextToBytes(u.key());
                    if (!user || !u.value().is_string())
                        continue;
                    auto pass = TextToBytes(u.value().get<std::string>());
                    for (auto& usr : srv->users)
                        if (NameEquals(usr.name, *user) && pass && pass->size() <= 8)
                            usr.password = *pass;
                }
            }
        }
    } catch (const PlaceError& e) {
        error = source + ": " + (e.place.empty() ? std::string("top level") : e.place) + ": " + e.what;
        return false;
    }
    return true;
}

}  // namespace atw
