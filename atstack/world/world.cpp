#include "world.h"

#include <algorithm>
#include <cstring>

namespace atw {

namespace {

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char kWildcard = static_cast<char>(0xC5);

// Matches with 0xC5 standing for any run of characters (backtracking).
bool WildMatch(std::string_view p, std::string_view s)
{
    std::size_t pi = 0, si = 0, starP = std::string_view::npos, starS = 0;
    while (si < s.size()) {
        if (pi < p.size() && p[pi] == kWildcard) {
            starP = pi++;
            starS = si;
        } else if (pi < p.size() && Lower(p[pi]) == Lower(s[si])) {
            ++pi;
            ++si;
        } else if (starP != std::string_view::npos) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == kWildcard)
        ++pi;
    return pi == p.size();
}

void Put16(ATKIFSBuffer& b, std::size_t at, uint16_t v)
{
    std::memcpy(b.data() + at, &v, 2);
}
void Put32(ATKIFSBuffer& b, std::size_t at, uint32_t v)
{
    std::memcpy(b.data() + at, &v, 4);
}
void PutDate(ATKIFSBuffer& b, std::size_t at, int32_t v)
{
    std::memcpy(b.data() + at, &v, 4);
}
void PutString(ATKIFSBuffer& b, std::size_t at, std::string_view s, std::size_t room)
{
    const std::size_t n = std::min(s.size(), room - 1);
    std::memcpy(b.data() + at, s.data(), n);
    b[at + n] = 0;
}

const FsNode* FindChild(const FsNode& folder, std::string_view name)
{
    for (const auto& c : folder.children)
        if (NameEquals(c.name, name))
            return &c;
    return nullptr;
}

const Volume* FindVolume(const Server& s, std::string_view name)
{
    for (const auto& v : s.volumes)
        if (NameEquals(v.name, name))
            return &v;
    return nullptr;
}

bool ZoneKnown(const World& w, std::string_view name)
{
    for (const auto& z : w.zones)
        if (NameEquals(z.name, name))
            return true;
    return false;
}

const std::string* CanonicalZone(const World& w, std::string_view name)
{
    for (const auto& z : w.zones)
        if (NameEquals(z.name, name))
            return &z.name;
    return nullptr;
}

bool IsPrinterType(const World& w, std::string_view type)
{
    if (NameEquals(type, "LaserWriter"))
        return true;
    for (const auto& p : w.printers)
        if (NameEquals(p.name.type, type))
            return true;
    return false;
}

}  // namespace

bool NameEquals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

bool NBPFieldMatches(std::string_view pattern, std::string_view name)
{
    if (pattern == "=")
        return true;
    if (pattern.find(kWildcard) != std::string_view::npos)
        return WildMatch(pattern, name);
    return NameEquals(pattern, name);
}

const PrinterFault* Printer::FaultAt(PrinterFault::At at, int nth) const
{
    for (const auto& f : faults)
        if (f.at == at && f.nth == nth)
            return &f;
    return nullptr;
}

const std::vector<std::string>& StandardFonts()
{
    static const std::vector<std::string> fonts = {
        "AvantGarde-Book", "AvantGarde-BookOblique", "AvantGarde-Demi", "AvantGarde-DemiOblique",
        "Bookman-Demi", "Bookman-DemiItalic", "Bookman-Light", "Bookman-LightItalic",
        "Courier", "Courier-Bold", "Courier-BoldOblique", "Courier-Oblique",
        "Helvetica", "Helvetica-Bold", "Helvetica-BoldOblique", "Helvetica-Oblique",
        "Helvetica-Narrow", "Helvetica-Narrow-Bold", "Helvetica-Narrow-BoldOblique", "Helvetica-Narrow-Oblique",
        "NewCenturySchlbk-Bold", "NewCenturySchlbk-BoldItalic", "NewCenturySchlbk-Italic", "NewCenturySchlbk-Roman",
        "Palatino-Bold", "Palatino-BoldItalic", "Palatino-Italic", "Palatino-Roman",
        "Symbol", "Times-Bold", "Times-BoldItalic", "Times-Italic", "Times-Roman",
        "ZapfChancery-MediumItalic", "ZapfDingbats"};
    return fonts;
}

std::string World::ResolveZone(std::string_view zone) const
{
    if (zone.empty() || zone == "*")
        return workstation.zone.empty() ? std::string("*") : workstation.zone;
    return std::string(zone);
}

std::vector<Entity> World::Registrations() const
{
    std::vector<Entity> all;
    Entity self;
    self.name = {workstation.name, "VestrelNode", workstation.zone.empty() ? "*" : workstation.zone};
    self.address = {workstation.network, workstation.node, 4};
    if (!workstation.name.empty())
        all.push_back(self);
    for (const auto& p : printers)
        all.push_back({p.name, p.address});
    for (const auto& s : servers)
        all.push_back({{s.name, "AFPServer", s.zone}, s.address});
    for (const auto& e : entities)
        all.push_back(e);
    return all;
}

std::vector<Entity> World::Lookup(const EntityName& pattern, std::size_t maxAnswers) const
{
    std::vector<Entity> found;
    const std::string zone = ResolveZone(pattern.zone);
    for (auto& e : Registrations()) {
        if (found.size() >= maxAnswers)
            break;
        if (!NameEquals(zone, e.name.zone))
            continue;
        if (NBPFieldMatches(pattern.object, e.name.object) && NBPFieldMatches(pattern.type, e.name.type))
            found.push_back(std::move(e));
    }
    return found;
}

std::vector<std::string> World::ZoneList(bool localOnly) const
{
    std::vector<std::string> list;
    for (const auto& z : zones)
        if (!localOnly || z.local)
            list.push_back(z.name);
    return list;
}

std::optional<std::string> World::FindLocalZone(std::string_view zone) const
{
    for (const auto& z : zones)
        if (z.local && NameEquals(z.name, zone))
            return z.name;
    return std::nullopt;
}

Printer* World::FindPrinter(const EntityName& name)
{
    const std::string zone = ResolveZone(name.zone);
    for (auto& p : printers)
        if (NameEquals(zone, p.name.zone) && NBPFieldMatches(name.object, p.name.object) &&
            NBPFieldMatches(name.type, p.name.type))
            return &p;
    return nullptr;
}

Printer* World::PrinterById(std::string_view id)
{
    for (auto& p : printers)
        if (p.id == id)
            return &p;
    return nullptr;
}

Server* World::FindServer(std::string_view name)
{
    for (auto& s : servers)
        if (NameEquals(s.name, name))
            return &s;
    return nullptr;
}

const Server* World::FindServer(std::string_view name) const
{
    return const_cast<World*>(this)->FindServer(name);
}

const Server* World::ServerByMapRef(uint32_t mapRef) const
{
    for (const auto& s : servers)
        if (s.mapRef == mapRef)
            return &s;
    return nullptr;
}

std::optional<NetName> ParseNetName(std::string_view name)
{
    NetName n;
    std::string_view rest = name;
    const bool unc = rest.size() >= 2 && rest[0] == '\\' && rest[1] == '\\';
    if (unc)
        rest.remove_prefix(2);
    const auto colon = rest.find(':');
    const auto at = rest.rfind('@');
    if (colon != std::string_view::npos && at != std::string_view::npos && colon < at &&
        rest.find('\\') == std::string_view::npos) {
        n.isEntity = true;
        n.entity.object = std::string(rest.substr(0, colon));
        n.entity.type = std::string(rest.substr(colon + 1, at - colon - 1));
        n.entity.zone = std::string(rest.substr(at + 1));
        if (n.entity.object.empty() || n.entity.type.empty() || n.entity.zone.empty() ||
            n.entity.object.size() > 32 || n.entity.type.size() > 32 || n.entity.zone.size() > 32)
            return std::nullopt;
        return n;
    }
    if (!unc || rest.empty())
        return std::nullopt;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto sep = rest.find('\\', start);
        const std::string_view part = rest.substr(start, sep == std::string_view::npos ? rest.size() - start : sep - start);
        if (sep == std::string_view::npos) {
            if (part.empty())
                n.trailingSeparator = true;
            else
                parts.emplace_back(part);
            break;
        }
        if (part.empty())
            return std::nullopt;
        parts.emplace_back(part);
        start = sep + 1;
    }
    if (parts.empty())
        return std::nullopt;
    n.first = parts[0];
    if (parts.size() > 1)
        n.volume = parts[1];
    for (std::size_t i = 2; i < parts.size(); ++i)
        n.path.push_back(parts[i]);
    if (n.volume.empty() && n.trailingSeparator)
        return std::nullopt;  // "\\server\" names nothing
    return n;
}

uint32_t NameBitmap(const World& world, std::string_view name)
{
    const auto n = ParseNetName(name);
    if (!n)
        return 0;
    if (n->isEntity)
        return IsPrinterType(world, n->entity.type) ? 0x800u : 0u;
    if (n->volume.empty()) {
        uint32_t bits = 0;
        if (ZoneKnown(world, n->first))
            bits |= 0x1;
        if (world.FindServer(n->first))
            bits |= 0x2;
        return bits;
    }
    FsTarget t;
    if (n->path.empty()) {
        if (ResolveFsPath(world, name, true, t) != 0)
            return 0;
        return n->trailingSeparator ? 0x8u : 0x4u;
    }
    if (ResolveFsPath(world, name, false, t) != 0)
        return 0;
    return t.node->folder ? 0x8u : 0x10u;
}

std::optional<ParsedName> ParseRemoteName(const World& world, std::string_view name)
{
    const auto n = ParseNetName(name);
    if (!n)
        return std::nullopt;
    ParsedName p;
    if (n->isEntity) {
        p.object = n->entity.object;
        p.type = n->entity.type;
        p.zone = n->entity.zone;
        return p;
    }
    if (const Server* s = world.FindServer(n->first)) {
        p.object = s->name;
        p.type = "AFPServer";
        p.zone = s->zone;
        if (!n->volume.empty()) {
            const Volume* v = FindVolume(*s, n->volume);
            if (!v)
                return std::nullopt;
            p.volume = v->name;
            for (std::size_t i = 0; i < n->path.size(); ++i)
                p.path += (i ? "\\" : "") + n->path[i];
        }
        return p;
    }
    if (n->volume.empty()) {
        if (const std::string* z = CanonicalZone(world, n->first)) {
            p.zone = *z;
            return p;
        }
    }
    return std::nullopt;
}

int32_t ResolveFsPath(const World& world, std::string_view path, bool volumeOnly, FsTarget& out)
{
    out = {};
    const auto n = ParseNetName(path);
    if (!n || n->isEntity || n->volume.empty())
        return kAFPParamErr;
    out.server = world.FindServer(n->first);
    if (!out.server)
        return kAFPObjectNotFound;
    out.volume = FindVolume(*out.server, n->volume);
    if (!out.volume)
        return kAFPObjectNotFound;
    if (volumeOnly)
        return 0;
    const FsNode* node = &out.volume->root;
    const FsNode* parent = nullptr;
    for (const auto& part : n->path) {
        if (!node->folder)
            return kAFPObjectNotFound;
        const FsNode* child = FindChild(*node, part);
        if (!child)
            return kAFPObjectNotFound;
        parent = node;
        node = child;
    }
    out.node = node;
    out.parent = parent;
    out.isRoot = (node == &out.volume->root);
    return 0;
}

uint8_t UserAccess(const Server& server, const FsNode& folder)
{
    uint8_t rights = folder.accessEveryone;
    if (!server.session)
        return rights;
    const User* user = nullptr;
    for (const auto& u : server.users)
        if (NameEquals(u.name, server.session->user))
            user = &u;
    if (!user)
        return rights;
    if (user->id == folder.owner)
        rights |= folder.accessOwner | 0x80;  // bit 7: the user owns the folder
    for (const auto& g : server.groups) {
        if (g.id != folder.group)
            continue;
        for (const auto& m : g.members)
            if (NameEquals(m, user->name))
                rights |= folder.accessGroup;
    }
    return rights;
}

int32_t BuildFlDrParams(const World& world, std::string_view path, ATKIFSBuffer& b)
{
    b.fill(0);
    FsTarget t;
    if (int32_t rc = ResolveFsPath(world, path, false, t); rc != 0)
        return rc;
    const FsNode& node = *t.node;
    const uint32_t parentId = t.isRoot ? 1u : (t.parent ? t.parent->nodeId : 2u);
    Put32(b, 426, t.server->mapRef);
    // AFP FPGetFileDirParms reply: file bitmap, directory bitmap, flag, pad,
    // then the parameters from byte 475.
    Put16(b, 469, 0x07FF);
    Put16(b, 471, 0x1FFF);
    b[473] = node.folder ? 0x80 : 0x00;
    Put16(b, 475, node.attributes);
    Put32(b, 477, parentId);
    PutDate(b, 481, node.created);
    PutDate(b, 485, node.modified);
    PutDate(b, 489, node.backup);
    if (!node.folder && (!node.fileType.empty() || !node.creator.empty())) {
        // Codes are four bytes, space-padded ("XLS "): readers take type and
        // creator as one string, so a short code must not end it early.
        std::memset(b.data() + 493, ' ', 8);
        std::memcpy(b.data() + 493, node.fileType.data(), std::min<std::size_t>(4, node.fileType.size()));
        std::memcpy(b.data() + 497, node.creator.data(), std::min<std::size_t>(4, node.creator.size()));
    }
    std::size_t names;
    if (node.folder) {
        Put32(b, 529, node.nodeId);
        Put16(b, 533, static_cast<uint16_t>(node.children.size()));
        Put32(b, 535, static_cast<uint32_t>(node.owner));
        Put32(b, 539, static_cast<uint32_t>(node.group));
        b[543] = UserAccess(*t.server, node);
        b[544] = node.accessEveryone;
        b[545] = node.accessGroup;
        b[546] = node.accessOwner;
        names = 547;
    } else {
        Put32(b, 529, node.nodeId);
        Put32(b, 533, node.dataFork);
        Put32(b, 537, node.resourceFork);
        names = 541;
    }
    const std::string& longName = t.isRoot ? t.volume->name : node.name;
    Put16(b, 525, static_cast<uint16_t>(names - 475));
    PutString(b, names, longName, 33);
    const std::size_t shortAt = names + 33;
    if (!node.shortName.empty()) {
        Put16(b, 527, static_cast<uint16_t>(shortAt - 475));
        PutString(b, shortAt, node.shortName, 13);
    }
    return 0;
}

int32_t BuildVolParams(const World& world, std::string_view path, ATKIFSBuffer& b)
{
    b.fill(0);
    FsTarget t;
    if (int32_t rc = ResolveFsPath(world, path, true, t); rc != 0)
        return rc;
    const Volume& v = *t.volume;
    PutString(b, 434, v.displayName.empty() ? v.name : v.displayName, 40);
    Put16(b, 474, 0x01FF);
    Put16(b, 476, static_cast<uint16_t>((v.readOnly ? 0x1 : 0) | (v.password.empty() ? 0 : 0x2)));
    Put16(b, 478, 2);  // fixed directory IDs
    PutDate(b, 480, v.created);
    PutDate(b, 484, v.modified);
    PutDate(b, 488, v.backup);
    Put16(b, 492, static_cast<uint16_t>((t.volume - t.server->volumes.data()) + 1));
    Put32(b, 494, v.bytesFree);
    Put32(b, 498, v.bytesTotal);
    Put16(b, 502, 30);
    PutString(b, 474 + 30, v.name, 28);
    return 0;
}

int32_t MapId(const World& world, uint32_t mapRef, int32_t function, int32_t id, std::string& name)
{
    const Server* s = world.ServerByMapRef(mapRef);
    if (!s)
        return kAFPParamErr;
    if (function == 1) {
        for (const auto& u : s->users)
            if (u.id == id) {
                name = u.name;
                return 0;
            }
        return kAFPItemNotFound;
    }
    if (function == 2) {
        for (const auto& g : s->groups)
            if (g.id == id) {
                name = g.name;
                return 0;
            }
        return kAFPItemNotFound;
    }
    return kAFPParamErr;
}

int32_t ChangePassword(World& world, std::string_view serverPath, std::string_view oldPassword,
                       std::string_view newPassword)
{
    const auto n = ParseNetName(serverPath);
    if (!n || n->isEntity)
        return kAFPParamErr;
    Server* s = world.FindServer(n->first);
    if (!s)
        return kAFPObjectNotFound;
    if (!s->allowsChangePassword)
        return kAFPCallNotSupported;
    if (!s->session)
        return kAFPUserNotAuth;
    if (newPassword.size() > 8)
        return kAFPParamErr;
    for (auto& u : s->users) {
        if (!NameEquals(u.name, s->session->user))
            continue;
        if (u.password != oldPassword)
            return kAFPUserNotAuth;
        u.password = std::string(newPassword);
        return 0;
    }
    return kAFPUserNotAuth;
}

}  // namespace atw
