// The simulated AppleTalk internet: what a world file describes (the
// workstation, zones, NBP entities, printers, AppleShare servers) and the
// queries the network service answers from it. Portable C++, no sockets and
// no clock of its own: the service drives it.
//
// Names are byte strings (code page 1252 as the programs use it; the NBP
// wildcard 0xC5 is one byte). Comparisons of names are case-insensitive for
// ASCII letters, as NBP and AFP compare names.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace atw {

// A date the server does not know: 0x80000000.
constexpr int32_t kNoDate = INT32_MIN;

// Results the stack hands back (see docs/stack.md for the whole list).
constexpr int32_t kErrFailed = -1;           // refused: bad request, unknown zone, ...
constexpr int32_t kErrNothingFound = -12;    // NBP: low four bits 4 = nothing found
constexpr int32_t kErrNoSuchPrinter = -1028; // PAP open/status: name not registered
constexpr int32_t kErrRefused = -1096;       // PAP: printer refused, or an injected fault
constexpr int32_t kErrServiceDown = -1099;   // the service cannot be reached / went away
constexpr int32_t kErrAborted = -1105;       // cancelled, or the connection closed under it
constexpr int32_t kAFPAccessDenied = -5000;
constexpr int32_t kAFPItemNotFound = -5012;
constexpr int32_t kAFPObjectNotFound = -5018;
constexpr int32_t kAFPParamErr = -5019;
constexpr int32_t kAFPUserNotAuth = -5023;
constexpr int32_t kAFPCallNotSupported = -5024;

struct Address {
    uint16_t network = 0;
    uint8_t node = 0;
    uint8_t socket = 0;
    bool operator==(const Address&) const = default;
};

struct EntityName {
    std::string object, type, zone;
    bool operator==(const EntityName&) const = default;
};

// One NBP registration as a lookup answers it.
struct Entity {
    EntityName name;
    Address address;
};

bool NameEquals(std::string_view a, std::string_view b);  // case-insensitive
// NBP matching of one field: "=" matches anything (object and type), 0xC5
// matches any run of characters, otherwise case-insensitive equality.
bool NBPFieldMatches(std::string_view pattern, std::string_view name);

struct PrinterFault {
    enum class At { Open, Write, Read, Job } at = At::Open;
    int nth = 1;                // the nth open or job of the service run, or write/read of a connection
    int32_t result = kErrRefused;
    // At::Job (interpreting printers): the printer reports this error (its
    // status "PrinterError: ...") for `ms` before it prints the job.
    std::string printerError;
    int ms = 0;
};

// A printer that runs its jobs through a PostScript interpreter, and the
// limits each job runs under.
struct Interpreter {
    int resolution = 72;            // dots per inch of the rendered pages
    std::string product = "LaserWriter";  // statusdict's product, version, revision
    std::string version = "47.0";
    int revision = 3;
    std::vector<std::string> fonts;  // its font directory (set by the reader)
    int cpuSeconds = 20;            // processor time of one job
    int seconds = 60;               // time from a job's end of file to its end
    int memoryMB = 256;
    int pages = 50;
    int outputKB = 1024;            // what a job may send back
};

// The 35 fonts of a LaserWriter Plus and its successors.
const std::vector<std::string>& StandardFonts();

// What exitserver changes of an interpreting printer may keep at most.
constexpr std::size_t kMaxPersistentBytes = 256u << 10;

struct PrinterReply {
    std::string contains;       // first rule whose text occurs in the job wins
    std::string reply;
};

struct Printer {
    std::string id;             // stable key for the state file
    EntityName name;            // object, type ("LaserWriter"), zone
    Address address;
    int openDelayMs = 0;
    bool openRefused = false;
    std::string statusIdle = "status: idle";
    std::string statusWaiting = "status: waiting; source: AppleTalk";
    std::string statusBusy = "status: busy; source: AppleTalk";
    std::string statusFixed;    // when not empty, every status answer
    std::string reply;          // bytes answered to a job (before the EOF)
    std::vector<PrinterReply> replies;
    std::vector<PrinterFault> faults;
    std::string password = "0"; // server-loop password (exitserver)
    std::optional<Interpreter> interpreter;  // absent: canned replies
    // Interpreting printers: the text of earlier jobs after their exitserver,
    // replayed before each job as the printer's persistent memory (kept in
    // the state file).
    std::vector<std::string> persistent;

    // The fault injected at the nth open, write or read; null when none.
    const PrinterFault* FaultAt(PrinterFault::At at, int nth) const;
};

// Finder attribute bits of AFP, as the FlDr buffer holds them.
enum AFPAttribute : uint16_t {
    kAttrInvisible = 0x0001,
    kAttrSystem = 0x0004,
    kAttrWriteInhibit = 0x0020,
    kAttrRenameInhibit = 0x0080,
    kAttrDeleteInhibit = 0x0100,
    kAttrCopyProtect = 0x0400,
};

// Access right bits of one class (owner, group, everyone, current user).
enum AFPAccess : uint8_t {
    kAccessSeeFolders = 0x01,
    kAccessSeeFiles = 0x02,
    kAccessMakeChanges = 0x04,
};

struct FsNode {
    bool folder = false;
    std::string name;           // long name
    std::string shortName;      // 8.3 name; empty = none
    std::string fileType, creator;  // files: up to 4 bytes each
    uint32_t dataFork = 0, resourceFork = 0;
    int32_t created = kNoDate, modified = kNoDate, backup = kNoDate;
    uint16_t attributes = 0;
    int32_t owner = 0, group = 0;   // folders: IDs
    uint8_t accessOwner = 7, accessGroup = 3, accessEveryone = 3;
    uint32_t nodeId = 0;        // directory ID or file number (set by the reader)
    std::vector<FsNode> children;
};

struct Volume {
    std::string name;           // AFP volume name
    std::string displayName;    // name shown (defaults to the AFP name)
    std::string password;       // empty = none
    bool readOnly = false;
    uint32_t bytesFree = 0, bytesTotal = 0;
    int32_t created = kNoDate, modified = kNoDate, backup = kNoDate;
    FsNode root;                // folder; its name is the volume name
};

struct User {
    std::string name;
    int32_t id = 0;
    std::string password;
};

struct Group {
    std::string name;
    int32_t id = 0;
    std::vector<std::string> members;
};

struct Session {
    std::string user;           // logon name
    int32_t connectedAt = kNoDate;
};

struct Server {
    std::string name;           // NBP object of type AFPServer
    std::string zone;
    Address address;
    std::string machineType = "Macintosh";
    std::vector<std::string> afpVersions, uams;
    bool allowsChangePassword = true;
    bool tcpip = false;
    int32_t serverTime = kNoDate;   // kNoDate: the service's clock
    std::vector<User> users;
    std::vector<Group> groups;
    std::optional<Session> session;
    std::vector<Volume> volumes;
    uint32_t mapRef = 0;            // mapping reference of AFPMapID (set by the reader)
};

struct Workstation {
    std::string name = "Workstation";  // registered as type VestrelNode in its zone
    uint16_t network = 0;
    uint8_t node = 0;
    uint16_t rangeFirst = 0, rangeLast = 0;
    std::string zone;               // empty on a network without zones
    std::array<uint8_t, 6> adapter{};
};

struct Zone {
    std::string name;
    bool local = false;             // one of the workstation's network's zones
};

struct Timing {
    int nbpLookupMs = 250;
    int zipMs = 20;
    // A PAP connection whose client sends nothing (no write, read or status)
    // this long is closed by the printer, as a PAP tickle timeout would.
    int papTimeoutMs = 120000;
};

// What the printers take from one sender.
struct Limits {
    uint64_t jobBytes = 256ull << 20;  // the largest job; a larger one is cut off with an error
};

struct World {
    Workstation workstation;
    std::vector<Zone> zones;        // empty: a non-extended network without zones
    std::vector<Printer> printers;
    std::vector<Server> servers;
    std::vector<Entity> entities;   // other registrations (workstations, ...)
    std::optional<EntityName> defaultPrinter;
    Timing timing;
    Limits limits;

    // ---- NBP and ZIP ----
    // The zone a name's "*" stands for: the workstation's zone ("*" when it
    // has none).
    std::string ResolveZone(std::string_view zone) const;
    // Every registration: printers, servers, the workstation, other entities.
    std::vector<Entity> Registrations() const;
    // A lookup: answers in registration order, at most maxAnswers.
    std::vector<Entity> Lookup(const EntityName& pattern, std::size_t maxAnswers) const;
    // Zones of the workstation's network (local) or of the whole internet;
    // nothing when the network has no zones.
    std::vector<std::string> ZoneList(bool localOnly) const;
    // The zone's canonical name when it is one of the local zones.
    std::optional<std::string> FindLocalZone(std::string_view zone) const;

    // ---- printers ----
    // The printer a PAP open or status names (NBP matching, first wins).
    Printer* FindPrinter(const EntityName& name);
    Printer* PrinterById(std::string_view id);

    // ---- AppleShare ----
    Server* FindServer(std::string_view name);
    const Server* FindServer(std::string_view name) const;
    const Server* ServerByMapRef(uint32_t mapRef) const;
};

// A network name, as the shell hands it over, taken apart. Forms:
//   object:type@zone       an NBP entity (printer); a leading "\\" is allowed
//   \\zone                 a zone, or a server of that name
//   \\server\volume        a volume
//   \\server\volume\       the volume's root folder
//   \\server\volume\a\b    a folder or file below it
struct NetName {
    bool isEntity = false;
    EntityName entity;
    std::string first;             // after "\\": zone or server
    std::string volume;
    std::vector<std::string> path;  // components below the volume
    bool trailingSeparator = false;
};
std::optional<NetName> ParseNetName(std::string_view name);

// Kind bits of AFPGetNameBitmap (0x1 zone, 0x2 server, 0x4 volume, 0x8
// folder, 0x10 file, 0x800 printer).
uint32_t NameBitmap(const World& world, std::string_view name);

struct ParsedName {
    std::string object, type, zone, volume, path;
};
// AFPParseRemoteName: nothing when the name is not understood.
std::optional<ParsedName> ParseRemoteName(const World& world, std::string_view name);

// Where a path on an AppleShare volume leads.
struct FsTarget {
    const Server* server = nullptr;
    const Volume* volume = nullptr;
    const FsNode* node = nullptr;   // null for the volume itself
    const FsNode* parent = nullptr;
    bool isRoot = false;
};
// 0 or an AFP error.
int32_t ResolveFsPath(const World& world, std::string_view path, bool volumeOnly, FsTarget& out);

constexpr std::size_t kATKIFSBufferSize = 2522;
using ATKIFSBuffer = std::array<uint8_t, kATKIFSBufferSize>;
// The buffers of ATKIFSGetFlDrParams and ATKIFSGetVolParams.
int32_t BuildFlDrParams(const World& world, std::string_view path, ATKIFSBuffer& out);
int32_t BuildVolParams(const World& world, std::string_view path, ATKIFSBuffer& out);
// The access rights byte of the session's user on a folder.
uint8_t UserAccess(const Server& server, const FsNode& folder);
// AFPMapID: 0 and the name, or kAFPItemNotFound / kAFPParamErr.
int32_t MapId(const World& world, uint32_t mapRef, int32_t function, int32_t id, std::string& name);
// AFPChangeSrvrPassword on the server named by `serverPath` ("\\server").
int32_t ChangePassword(World& world, std::string_view serverPath, std::string_view oldPassword,
                       std::string_view newPassword);

}  // namespace atw
