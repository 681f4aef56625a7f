// Molven32: parameter blocks, NBP and ZIP enumerations, the default printer,
// and the AppleShare (AFP and file-system) calls of the AppleTalk stack.
//
// Signatures the callers rely on; values not listed are the stack's own.
// Every name buffer below holds a NUL-terminated name of at most 32
// characters unless said otherwise.
#pragma once

#include "atalk_records.h"

typedef uint32_t ATEnumHandle;  // 0 = none

// The size MPPAlloc gives for `size` 0: one request block (a PAPParamBlock
// or an ATNetInfoBlock).
constexpr uint32_t kMPPBlockSize = 688;

// Kind bits of AFPGetNameBitmap.
enum AFPNameKind : uint32_t {
    kAFPKindZone = 0x1,
    kAFPKindServer = 0x2,
    kAFPKindVolume = 0x4,
    kAFPKindFolder = 0x8,
    kAFPKindFile = 0x10,
    kAFPKindPrinter = 0x800,
};

// AFPMapID functions and the answers callers tell apart.
constexpr int32_t kAFPMapUser = 1;
constexpr int32_t kAFPMapGroup = 2;
constexpr int32_t kAFPItemNotFound = -5012;
constexpr int32_t kAFPParamErr = -5019;

// Size of the parameter buffers of ATKIFSGetFlDrParams and ATKIFSGetVolParams.
constexpr uint32_t kATKIFSBufferSize = 2522;

// Low four bits of an NBPEnumStatus result that mean "nothing found".
constexpr int32_t kNBPStatusNothingFound = 4;

// Server information (AFPGetServerInfo). Names NUL-terminated; dates in
// seconds since 1970 UTC, kAFPNoDate when unknown (connectedAt: no session).
constexpr int32_t kAFPNoDate = INT32_MIN;
constexpr uint32_t kAFPServerAllowsChangePassword = 0x1;
constexpr uint32_t kAFPServerTCPIP = 0x2;
// The record's lists have fixed room (8 versions, 8 UAMs, 16 volumes): these
// flags say that the server has more than the record holds.
constexpr uint32_t kAFPServerMoreVersions = 0x100;
constexpr uint32_t kAFPServerMoreUAMs = 0x200;
constexpr uint32_t kAFPServerMoreVolumes = 0x400;
struct AFPServerInfo {
    char name[36];
    char zone[36];
    char machineType[36];
    char logonName[36];
    char password[16];          // the session's password (for a password change)
    int32_t serverTime;
    int32_t connectedAt;
    uint32_t flags;
    uint16_t versionCount, uamCount, volumeCount;
    uint16_t reserved;
    char versions[8][36];
    char uams[8][36];
    char volumes[16][36];
    uint8_t volumeHasPassword[16];
};
static_assert(sizeof(AFPServerInfo) == 1348);

extern "C" {

// Blocks. *block receives zero-filled memory of `size` bytes (kMPPBlockSize
// when size is 0). 0 = allocated; otherwise *block is null.
int32_t ATSTACK_CALL MPPAlloc(void** block, uint32_t size);
int32_t ATSTACK_CALL MPPFree(void* block);

// NBP. `entity` points at an NBPEntityName (a _NBPTuple may stand in for
// it). NBPSetEntityName writes the given names into the entity, cutting each
// to 32 characters; a null name leaves that field as it is. "=" matches any
// object or type, zone "*" is the workstation's zone.
int32_t ATSTACK_CALL NBPSetEntityName(void* entity, const char* object, const char* type,
                                      const char* zone);
// Starts a lookup of `entity`: retry interval and count (the callers pass 2
// and 2) and the most answers to keep. 0 = started, *handle set; nonzero =
// not started, *handle 0.
int32_t ATSTACK_CALL NBPOpenEnum(ATEnumHandle* handle, int32_t retryInterval, int32_t retryCount,
                                 int32_t maxAnswers, const void* entity);
// 1 pending, 0 done with answers, negative failed; a result whose low four
// bits are 4 means the lookup ended with nothing found.
int32_t ATSTACK_CALL NBPEnumStatus(ATEnumHandle handle);
uint16_t ATSTACK_CALL NBPFoundCount(ATEnumHandle handle);
// Copies answer `index` (0 .. count - 1) whole into *tuple. 0 = copied.
int32_t ATSTACK_CALL NBPReadEnum(ATEnumHandle handle, uint16_t index, _NBPTuple* tuple);
int32_t ATSTACK_CALL NBPCloseEnum(ATEnumHandle handle);

// ZIP. localOnly 1: the zones of the workstation's own network; 0: every
// zone of the internet. 0 = started, *handle set.
int32_t ATSTACK_CALL ZIPOpenEnum(ATEnumHandle* handle, int32_t localOnly);
int32_t ATSTACK_CALL ZIPEnumStatus(ATEnumHandle handle);  // 1 pending, 0 done, negative failed
uint16_t ATSTACK_CALL ZIPZoneCount(ATEnumHandle handle);
// Copies zone `index` into a buffer of at least 33 bytes. 0 = copied.
int32_t ATSTACK_CALL ZIPReadEnum(ATEnumHandle handle, uint16_t index, char* zone);
// The workstation's zone into a buffer of at least 33 bytes. 0 = known.
int32_t ATSTACK_CALL ZIPGetMyZone(char* zone);
int32_t ATSTACK_CALL ZIPCloseEnum(ATEnumHandle handle);

// The stack's default printer (set by the printer chooser). 0 = filled.
int32_t ATSTACK_CALL PAPGetDefaultPrinter(_NBPTuple* printer);
// Makes `printer` (its three names) the stack's default printer: what the
// printer chooser calls. 0 = set. An addition of the replaced stack.
int32_t ATSTACK_CALL PAPSetDefaultPrinter(const _NBPTuple* printer);

// AppleShare. Network names are UNC-style ("\\server\volume\folder\file").
// AFPGetNameBitmap: the kind bits above of what `name` denotes; 0 = not an
// AppleTalk name.
uint32_t ATSTACK_CALL AFPGetNameBitmap(const char* name);
// Splits a network name into its parts, each into a buffer of 36 bytes; a
// null buffer is not wanted. For a printer: object, type and zone; for a
// zone: the zone; for a server path: the server in `object`, the volume and
// the path below it. 0 = the name was understood.
int32_t ATSTACK_CALL AFPParseRemoteName(const char* name, char* object, char* type, char* zone,
                                        char* volume, char* path);
// The name of user (function 1) or group (function 2) `id` on the server
// of mapping reference `mapRef`, into a 36-byte buffer. 0 = found;
// kAFPItemNotFound or kAFPParamErr when the server has no name for it.
int32_t ATSTACK_CALL AFPMapID(uint32_t mapRef, int32_t function, int32_t id, char* name);
// 0 = changed.
int32_t ATSTACK_CALL AFPChangeSrvrPassword(const char* serverPath, const char* oldPassword,
                                           const char* newPassword);
// File or folder, and volume, parameters of a path on an AppleShare volume
// into `buffer` (kATKIFSBufferSize bytes). 0 = filled.
int32_t ATSTACK_CALL ATKIFSGetFlDrParams(const char* path, void* buffer, uint32_t size);
int32_t ATSTACK_CALL ATKIFSGetVolParams(const char* path, void* buffer, uint32_t size);

// 1 when NBP type `type` is a PostScript printer (the printer type table).
int32_t ATSTACK_CALL IsPostScriptPrinterType(const char* type);

// What the shell extension's server pages show, for the server named by
// `serverPath` ("\\server"). 0 = filled. An addition of the replaced stack:
// the system leaves the source of server information to the implementer.
int32_t ATSTACK_CALL AFPGetServerInfo(const char* serverPath, AFPServerInfo* info);

}
