// Every exported call of Kestra32, Molven32 and Tarpin32, linked at load
// time as the programs link them, against a real atnetd on the sample world.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "atnetd_process.h"
#include "kestra32.h"
#include "molven32.h"
#include "nbp_names.h"
#include "netinfo_block.h"
#include "pap_block.h"
#include "tarpin32.h"

namespace {

using attest::WaitResult;
using nlohmann::json;

class StackCalls : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service_.StartWorldFile(attest::WinePath(SAMPLE_WORLD))); }
    attest::AtnetdProcess service_;
};

// The download engine's job block: open, close/cancel, use count, read, write,
// status, then the receive and send buffers.
struct JobBlock {
    uint8_t* base = nullptr;
    PAPParamBlock* open() { return reinterpret_cast<PAPParamBlock*>(base); }
    PAPParamBlock* close() { return reinterpret_cast<PAPParamBlock*>(base + 688); }
    PAPParamBlock* read() { return reinterpret_cast<PAPParamBlock*>(base + 2 * 688 + 4); }
    PAPParamBlock* write() { return reinterpret_cast<PAPParamBlock*>(base + 3 * 688 + 4); }
    PAPParamBlock* status() { return reinterpret_cast<PAPParamBlock*>(base + 4 * 688 + 4); }
    char* receive() { return reinterpret_cast<char*>(base + 5 * 688 + 4); }
    char* send() { return receive() + 4096; }
    static constexpr uint32_t kSize = 5 * 688 + 4 + 8192;
};

TEST_F(StackCalls, PapJobReachesTheSpoolAndTheTraceExactly)
{
    JobBlock job;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&job.base), JobBlock::kSize), 0);
    ASSERT_NE(job.base, nullptr);
    const _NBPTuple printer = NBPMakeTuple("LaserWriter Pro 630", "LaserWriter", "Engineering");

    // Open.
    PAPParamBlock* open = job.open();
    open->printer = printer;
    open->flowQuantum = kPAPFlowQuantum;
    open->SetStatusString("");
    open->BeginRequest(kPAPOpen);
    ATALKDispatch(open);
    EXPECT_GT(open->requestId, 0) << "the request identifier is there at once, for a cancel";
    ASSERT_EQ(WaitResult(*open), 0);
    const int32_t conn = open->connRef;
    ASSERT_GT(conn, 0);

    // Status needs no connection but shows it.
    PAPParamBlock* status = job.status();
    status->printer = printer;
    status->BeginRequest(kPAPStatus);
    ATALKDispatch(status);
    ASSERT_EQ(WaitResult(*status), 0);
    EXPECT_EQ(status->StatusString(), "status: waiting; source: AppleTalk");

    // One read outstanding for the life of the connection.
    PAPParamBlock* read = job.read();
    read->connRef = conn;
    read->SetDataBuffer(job.receive());
    read->length = kPAPChunkSize;
    read->BeginRequest(kPAPRead);
    ATALKDispatch(read);
    Sleep(50);
    EXPECT_EQ(read->Result(), kATResultPending) << "no reply before the job ends";

    // The job in 4096-byte chunks, EOF on the last.
    std::string data(10000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('A' + i % 23);
    data[5000] = '\x04';
    PAPParamBlock* write = job.write();
    std::vector<int32_t> lengths;
    for (std::size_t off = 0; off < data.size(); off += kPAPChunkSize) {
        const auto n = static_cast<int32_t>(std::min<std::size_t>(kPAPChunkSize, data.size() - off));
        std::memcpy(job.send(), data.data() + off, static_cast<std::size_t>(n));
        write->connRef = conn;
        write->SetDataBuffer(job.send());
        write->length = n;
        write->SetEof(n < kPAPChunkSize);
        write->BeginRequest(kPAPWrite);
        ATALKDispatch(write);
        ASSERT_EQ(WaitResult(*write), 0);
        lengths.push_back(n);
    }
    EXPECT_EQ(lengths, (std::vector<int32_t>{4096, 4096, 1808}));

    // The printer's reply, with its EOF.
    ASSERT_EQ(WaitResult(*read), 0);
    const std::string reply = "%%[ status: end of job ]%%\r\n";
    EXPECT_EQ(read->length, static_cast<int32_t>(reply.size()));
    EXPECT_TRUE(read->Eof());
    EXPECT_EQ(std::string(job.receive(), static_cast<std::size_t>(read->length)), reply);

    // Next read, then close: the read ends with the connection.
    read->length = kPAPChunkSize;
    read->BeginRequest(kPAPRead);
    ATALKDispatch(read);
    PAPParamBlock* close = job.close();
    close->connRef = conn;
    close->BeginRequest(kPAPClose);
    ATALKDispatch(close);
    ASSERT_EQ(WaitResult(*close), 0);
    EXPECT_EQ(WaitResult(*read), -1105);
    EXPECT_EQ(MPPFree(job.base), 0);

    // The exact bytes in the spool.
    const auto files = service_.SpoolFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(attest::ReadFile(service_.SpoolDir() + files[0]), data);

    // The exact requests in the trace.
    std::vector<json> pap;
    for (auto& l : service_.Trace())
        if (l.contains("op") && l["op"].get<std::string>().rfind("pap.", 0) == 0)
            pap.push_back(l);
    std::vector<std::string> ops;
    for (auto& l : pap)
        ops.push_back(l["op"]);
    EXPECT_EQ(ops, (std::vector<std::string>{"pap.open", "pap.status", "pap.write", "pap.write", "pap.write",
                                             "pap.read", "pap.read", "pap.close"}));
    ASSERT_EQ(pap.size(), 8u);
    EXPECT_EQ(pap[0]["in"]["object"], "LaserWriter Pro 630");
    EXPECT_EQ(pap[0]["in"]["zone"], "Engineering");
    EXPECT_EQ(pap[0]["in"]["quantum"], 8);
    EXPECT_EQ(pap[0]["out"]["connRef"], conn);
    EXPECT_NE(pap[0]["client"].get<std::string>().find("/Kestra32"), std::string::npos);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pap[2 + i]["inBytes"], lengths[static_cast<std::size_t>(i)]);
        EXPECT_EQ(pap[2 + i]["in"]["eof"], i == 2);
        EXPECT_EQ(pap[2 + i]["result"], 0);
    }
    EXPECT_EQ(pap[4]["out"]["spool"], files[0]);
    EXPECT_EQ(pap[5]["out"]["eof"], true);
    EXPECT_EQ(pap[5]["outBytes"], reply.size());
    EXPECT_EQ(pap[6]["result"], -1105);
    EXPECT_EQ(pap[7]["result"], 0);
    EXPECT_EQ(service_.TraceOf("mpp.alloc").size(), 1u);
    EXPECT_EQ(service_.TraceOf("mpp.alloc")[0]["in"]["size"], JobBlock::kSize);
    EXPECT_EQ(service_.AwaitTraceOf("mpp.free", 1).size(), 1u);
}

TEST_F(StackCalls, SecondOpenWaitsBusyUntilCancelled)
{
    JobBlock a, b;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&a.base), JobBlock::kSize), 0);
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&b.base), JobBlock::kSize), 0);
    const _NBPTuple printer = NBPMakeTuple("LaserWriter Pro 630", "LaserWriter", "*");
    a.open()->printer = printer;
    a.open()->BeginRequest(kPAPOpen);
    ATALKDispatch(a.open());
    ASSERT_EQ(WaitResult(*a.open()), 0);
    b.open()->printer = printer;
    b.open()->BeginRequest(kPAPOpen);
    ATALKDispatch(b.open());
    Sleep(300);
    EXPECT_EQ(b.open()->Result(), kATResultPending);
    EXPECT_EQ(b.open()->StatusString(), "status: busy; source: AppleTalk") << "the waiting open hears why";
    b.close()->requestId = b.open()->requestId;
    b.close()->BeginRequest(kPAPCancel);
    ATALKDispatch(b.close());
    EXPECT_EQ(WaitResult(*b.close()), 0);
    EXPECT_EQ(WaitResult(*b.open()), -1105);
    a.close()->connRef = a.open()->connRef;
    a.close()->BeginRequest(kPAPClose);
    ATALKDispatch(a.close());
    EXPECT_EQ(WaitResult(*a.close()), 0);
    MPPFree(a.base);
    MPPFree(b.base);
}

TEST_F(StackCalls, NodeInformationAndZoneChange)
{
    ATNetInfoBlock* b = nullptr;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&b), 0), 0);
    b->header.command = kATGetNetInfo;
    EXPECT_EQ(ATALKDispatch(b), 0);
    ASSERT_EQ(WaitResult(*b), 0);
    EXPECT_EQ(b->network, 1005);
    EXPECT_EQ(b->node, 56);
    EXPECT_EQ(b->rangeFirst, 1000);
    EXPECT_EQ(b->rangeLast, 1009);
    EXPECT_STREQ(b->zone, "Engineering");
    const uint8_t adapter[6] = {0x00, 0xA0, 0x24, 0x1B, 0x2C, 0x3D};
    EXPECT_EQ(std::memcmp(b->adapter, adapter, 6), 0);
    MPPFree(b);

    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&b), 0), 0);
    b->header.command = kATSetCurrentZone;
    std::strcpy(b->zone, "Marketing");
    b->rangeFirst = 3;
    b->rangeLast = 3;
    ATALKDispatch(b);
    EXPECT_EQ(WaitResult(*b), 0);
    char zone[33] = {};
    EXPECT_EQ(ZIPGetMyZone(zone), 0);
    EXPECT_STREQ(zone, "Marketing");
    std::strcpy(b->zone, "Accounting");  // not a zone of the workstation's network
    ATALKDispatch(b);
    EXPECT_LT(WaitResult(*b), 0);
    MPPFree(b);

    ASSERT_TRUE(service_.Restart());
    EXPECT_EQ(ZIPGetMyZone(zone), 0);
    EXPECT_STREQ(zone, "Marketing") << "the zone survives a restart of the service";
}

TEST_F(StackCalls, NBPLookups)
{
    NBPEntityName entity{};
    EXPECT_EQ(NBPSetEntityName(&entity, "=", "LaserWriter", "*"), 0);
    ATEnumHandle h = 0;
    ASSERT_EQ(NBPOpenEnum(&h, 2, 2, 1024, &entity), 0);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(NBPEnumStatus(h), 1);
    int32_t st;
    while ((st = NBPEnumStatus(h)) == 1)
        Sleep(10);
    ASSERT_EQ(st, 0);
    ASSERT_EQ(NBPFoundCount(h), 2);
    _NBPTuple t;
    std::memset(&t, 0xEE, sizeof t);
    ASSERT_EQ(NBPReadEnum(h, 0, &t), 0);
    EXPECT_EQ(NBPSlotText(t.object), "LaserWriter Pro 630");
    EXPECT_EQ(NBPSlotText(t.type), "LaserWriter");
    EXPECT_EQ(NBPSlotText(t.zone), "Engineering");
    EXPECT_EQ(t.network, 1002);
    EXPECT_EQ(t.node, 128);
    EXPECT_EQ(t.socket, 129);
    EXPECT_EQ(t.reserved108[0], 0) << "the tuple is written whole";
    EXPECT_NE(NBPReadEnum(h, 2, &t), 0);
    EXPECT_EQ(NBPCloseEnum(h), 0);
    EXPECT_LT(NBPEnumStatus(h), 0);

    auto lookup = [](const char* object, const char* type, const char* zone, int32_t max, int& count) {
        NBPEntityName e{};
        NBPSetEntityName(&e, object, type, zone);
        ATEnumHandle eh = 0;
        if (NBPOpenEnum(&eh, 2, 2, max, &e) != 0)
            return -999;
        int32_t s;
        while ((s = NBPEnumStatus(eh)) == 1)
            Sleep(10);
        count = NBPFoundCount(eh);
        NBPCloseEnum(eh);
        return s;
    };
    int count = 0;
    EXPECT_EQ(lookup("=", "=", "*", 1024, count), 0);
    EXPECT_EQ(count, 8);  // the workstation, 3 printers, 1 server, 3 other entities in Engineering
    EXPECT_EQ(lookup("=", "=", "*", 3, count), 0);
    EXPECT_EQ(count, 3) << "answers capped by the maximum asked";
    EXPECT_EQ(lookup("lab\xC5", "laserwriter", "engineering", 10, count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(lookup("=", "=", "Warehouse", 10, count) & 0xF, 4) << "nothing found";
    EXPECT_LT(lookup("=", "=", "Warehouse", 10, count), 0);
    EXPECT_EQ(lookup("=", "VestrelNode", "Engineering", 10, count), 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(lookup("=", "AFPServer", "AppleShare IP Hosts", 10, count), 0);
    EXPECT_EQ(count, 1);
}

TEST_F(StackCalls, ThirtyTwoCharacterNamesAndWildcardLookups)
{
    service_.Kill();
    const std::string longest = "Printer_with_32_characters_name!";  // exactly 32
    ASSERT_EQ(longest.size(), 32u);
    ASSERT_TRUE(service_.Start(R"({"workstation": {"network": 7, "node": 9, "zone": "Zone 1"},
        "zones": [{"name": "Zone 1", "local": true}], "timing": {"nbpLookupMs": 0},
        "printers": [{"name": ")" + longest + R"("}, {"name": "Office Printer 2"}]})"));

    // Found whole, and opened by the tuple the lookup gave.
    NBPEntityName e{};
    NBPSetEntityName(&e, longest.c_str(), "LaserWriter", "*");
    ATEnumHandle h = 0;
    ASSERT_EQ(NBPOpenEnum(&h, 2, 2, 1, &e), 0);
    while (NBPEnumStatus(h) == 1)
        Sleep(5);
    ASSERT_EQ(NBPEnumStatus(h), 0);
    _NBPTuple t;
    ASSERT_EQ(NBPReadEnum(h, 0, &t), 0);
    NBPCloseEnum(h);
    EXPECT_EQ(NBPSlotText(t.object), longest);
    EXPECT_EQ(t.object[32], '\0');
    PAPParamBlock* pb = nullptr;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&pb), 0), 0);
    pb->printer = t;
    pb->BeginRequest(kPAPOpen);
    ATALKDispatch(pb);
    ASSERT_EQ(WaitResult(*pb), 0);
    pb->BeginRequest(kPAPClose);
    ATALKDispatch(pb);
    EXPECT_EQ(WaitResult(*pb), 0);
    MPPFree(pb);

    // The shell extension's second try: every "_" of a port name made the
    // wildcard 0xC5, which stands for any run of characters, one answer asked.
    NBPSetEntityName(&e, "office\xC5printer\xC5" "2", "laserwriter", "zone 1");
    ASSERT_EQ(NBPOpenEnum(&h, 2, 2, 1, &e), 0);
    while (NBPEnumStatus(h) == 1)
        Sleep(5);
    ASSERT_EQ(NBPEnumStatus(h), 0);
    EXPECT_EQ(NBPFoundCount(h), 1);
    ASSERT_EQ(NBPReadEnum(h, 0, &t), 0);
    EXPECT_EQ(NBPSlotText(t.object), "Office Printer 2");
    NBPCloseEnum(h);
}

TEST_F(StackCalls, ZoneLists)
{
    auto zones = [](int32_t local) {
        std::vector<std::string> out;
        ATEnumHandle h = 0;
        if (ZIPOpenEnum(&h, local) != 0)
            return out;
        int32_t st;
        while ((st = ZIPEnumStatus(h)) == 1)
            Sleep(5);
        const uint16_t n = ZIPZoneCount(h);
        for (uint16_t i = 0; i < n; ++i) {
            char z[33];
            std::memset(z, 'x', sizeof z);
            if (ZIPReadEnum(h, i, z) == 0)
                out.push_back(z);
        }
        EXPECT_EQ(ZIPCloseEnum(h), 0);
        return out;
    };
    EXPECT_EQ(zones(1), (std::vector<std::string>{"Engineering", "Marketing", "Front Office"}));
    const auto all = zones(0);
    EXPECT_EQ(all.size(), 7u);
    EXPECT_NE(std::find(all.begin(), all.end(), "AppleShare IP Hosts"), all.end());
    char zone[33];
    EXPECT_EQ(ZIPGetMyZone(zone), 0);
    EXPECT_STREQ(zone, "Engineering");
}

TEST_F(StackCalls, ANetworkWithoutZones)
{
    service_.Kill();
    ASSERT_TRUE(service_.Start(R"({"workstation": {"network": 7, "node": 9}, "timing": {"nbpLookupMs": 0},
                                   "printers": [{"name": "Lonely LW"}]})"));
    ATEnumHandle h = 0;
    ASSERT_EQ(ZIPOpenEnum(&h, 0), 0);
    int32_t st;
    while ((st = ZIPEnumStatus(h)) == 1)
        Sleep(5);
    EXPECT_LT(st, 0);
    ZIPCloseEnum(h);
    char zone[33];
    EXPECT_NE(ZIPGetMyZone(zone), 0);
    NBPEntityName e{};
    NBPSetEntityName(&e, "=", "LaserWriter", "*");
    ASSERT_EQ(NBPOpenEnum(&h, 2, 2, 1024, &e), 0);
    while ((st = NBPEnumStatus(h)) == 1)
        Sleep(5);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(NBPFoundCount(h), 1);
    NBPCloseEnum(h);
}

TEST_F(StackCalls, DefaultPrinter)
{
    _NBPTuple t{};
    ASSERT_EQ(PAPGetDefaultPrinter(&t), 0);
    EXPECT_EQ(NBPSlotText(t.object), "LaserWriter Pro 630");
    EXPECT_EQ(NBPSlotText(t.zone), "Engineering");
    EXPECT_EQ(t.network, 1002);
    const _NBPTuple other = NBPMakeTuple("Marketing Color LW", "LaserWriter", "Marketing");
    ASSERT_EQ(PAPSetDefaultPrinter(&other), 0);
    ASSERT_EQ(PAPGetDefaultPrinter(&t), 0);
    EXPECT_EQ(NBPSlotText(t.object), "Marketing Color LW");
    EXPECT_EQ(t.node, 90);
}

TEST_F(StackCalls, AppleShareNamesAndBuffers)
{
    EXPECT_EQ(AFPGetNameBitmap("\\\\Engineering"), 0x1u);
    EXPECT_EQ(AFPGetNameBitmap("\\\\Engineering Server"), 0x2u);
    EXPECT_EQ(AFPGetNameBitmap("\\\\Engineering Server\\Projects"), 0x4u);
    EXPECT_EQ(AFPGetNameBitmap("\\\\Engineering Server\\Projects\\Vestrel 2.5"), 0x8u);
    EXPECT_EQ(AFPGetNameBitmap("\\\\Engineering Server\\Projects\\Vestrel 2.5\\Read Me"), 0x10u);
    EXPECT_EQ(AFPGetNameBitmap("LaserWriter Pro 630:LaserWriter@Engineering"), 0x800u);
    EXPECT_EQ(AFPGetNameBitmap("C:\\windows"), 0u);

    char object[36], type[36], zone[36], volume[36], path[36];
    ASSERT_EQ(AFPParseRemoteName("ImageWriter LQ:ImageWriter@Engineering", object, type, zone, nullptr, nullptr), 0);
    EXPECT_STREQ(object, "ImageWriter LQ");
    EXPECT_STREQ(type, "ImageWriter");
    EXPECT_STREQ(zone, "Engineering");
    ASSERT_EQ(AFPParseRemoteName("\\\\Engineering Server\\Projects\\Vestrel 2.5", object, nullptr, zone, volume, path), 0);
    EXPECT_STREQ(object, "Engineering Server");
    EXPECT_STREQ(volume, "Projects");
    EXPECT_STREQ(path, "Vestrel 2.5");
    EXPECT_NE(AFPParseRemoteName("nonsense", object, type, zone, volume, path), 0);

    std::vector<uint8_t> buf(2522, 0xEE);
    ASSERT_EQ(ATKIFSGetFlDrParams("\\\\Engineering Server\\Projects\\Vestrel 2.5\\Stack Design Notes", buf.data(), 2522), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&buf[493]), 8), "WDBNMSWD");
    uint32_t dataFork, mapRef;
    std::memcpy(&dataFork, &buf[533], 4);
    EXPECT_EQ(dataFork, 123456u);
    uint16_t nameOffset;
    std::memcpy(&nameOffset, &buf[525], 2);
    EXPECT_STREQ(reinterpret_cast<char*>(&buf[475 + nameOffset]), "Stack Design Notes");

    ASSERT_EQ(ATKIFSGetFlDrParams("\\\\Engineering Server\\Projects\\Vestrel 2.5", buf.data(), 2522), 0);
    std::memcpy(&mapRef, &buf[426], 4);
    uint32_t owner;
    std::memcpy(&owner, &buf[535], 4);
    char name[36];
    ASSERT_EQ(AFPMapID(mapRef, 1, static_cast<int32_t>(owner), name), 0);
    EXPECT_STREQ(name, "Anna Berg");
    ASSERT_EQ(AFPMapID(mapRef, 2, 201, name), 0);
    EXPECT_STREQ(name, "Engineers");
    EXPECT_EQ(AFPMapID(mapRef, 1, 17, name), -5012);
    EXPECT_EQ(buf[543] & 0x7, 0x7);  // Anna owns "Vestrel 2.5"
    EXPECT_NE(ATKIFSGetFlDrParams("\\\\Engineering Server\\Projects\\Missing", buf.data(), 2522), 0);

    ASSERT_EQ(ATKIFSGetVolParams("\\\\Engineering Server\\Archive", buf.data(), 2522), 0);
    EXPECT_STREQ(reinterpret_cast<char*>(&buf[434]), "Archive");
    uint16_t attrs;
    std::memcpy(&attrs, &buf[476], 2);
    EXPECT_EQ(attrs, 0x3);
    uint32_t total;
    std::memcpy(&total, &buf[498], 4);
    EXPECT_EQ(total, 3000000000u);
    int32_t backup;
    std::memcpy(&backup, &buf[488], 4);
    EXPECT_EQ(backup, INT32_MIN);

    AFPServerInfo info;
    ASSERT_EQ(AFPGetServerInfo("\\\\Engineering Server", &info), 0);
    EXPECT_STREQ(info.logonName, "Anna Berg");
    EXPECT_STREQ(info.password, "apple1");
    EXPECT_EQ(info.volumeCount, 3);
    EXPECT_EQ(info.volumeHasPassword[1], 1);
    EXPECT_EQ(info.flags & kAFPServerAllowsChangePassword, kAFPServerAllowsChangePassword);

    EXPECT_NE(AFPChangeSrvrPassword("\\\\Engineering Server", "wrong", "newpw"), 0);
    EXPECT_EQ(AFPChangeSrvrPassword("\\\\Engineering Server", "apple1", "newpw"), 0);
    EXPECT_NE(AFPChangeSrvrPassword("\\\\Marketing Server", "sunny", "x"), 0) << "that server allows no change";
    ASSERT_TRUE(service_.Restart());
    ASSERT_EQ(AFPGetServerInfo("\\\\Engineering Server", &info), 0);
    EXPECT_STREQ(info.password, "newpw") << "the password survives a restart";
}

TEST(StackCallsServerInfo, ListsLongerThanTheRecordSayThatMoreExists)
{
    std::string volumes, uams;
    for (int i = 1; i <= 20; ++i)
        volumes += std::string(i > 1 ? "," : "") + R"({"name": "Volume )" + std::to_string(i) + R"("})";
    for (int i = 1; i <= 9; ++i)
        uams += std::string(i > 1 ? "," : "") + "\"UAM " + std::to_string(i) + "\"";
    attest::AtnetdProcess s;
    ASSERT_TRUE(s.Start(R"({"workstation": {"network": 1, "node": 2}, "servers": [{"name": "Big", "uams": [)" + uams +
                        R"(], "afpVersions": ["AFP2.0"], "volumes": [)" + volumes + "]}]}"));
    AFPServerInfo info;
    ASSERT_EQ(AFPGetServerInfo("\\\\Big", &info), 0);
    EXPECT_EQ(info.volumeCount, 16);
    EXPECT_STREQ(info.volumes[15], "Volume 16");
    EXPECT_EQ(info.uamCount, 8);
    EXPECT_EQ(info.flags & kAFPServerMoreVolumes, kAFPServerMoreVolumes) << "no silent truncation";
    EXPECT_EQ(info.flags & kAFPServerMoreUAMs, kAFPServerMoreUAMs);
    EXPECT_EQ(info.flags & kAFPServerMoreVersions, 0u);
}

TEST_F(StackCalls, PrinterTypeTableAndNotifications)
{
    const std::string folder = service_.Dir();
    ASSERT_TRUE(attest::SetInstallFolder(folder));

    EXPECT_EQ(VSXNotifyPAPTypesChanged(0), 0);  // forget what an earlier test read
    EXPECT_EQ(IsPostScriptPrinterType("LaserWriter"), 1) << "known without a table";
    EXPECT_EQ(IsPostScriptPrinterType("ImageWriter"), 0);
    attest::WriteFile(folder + "Printers.PAPTypes",
                      "\"ImageWriter\" N ;dot matrix\r\n\"LaserWriter\" Y ;\r\n\"Color Laser\" y ;colour\r\n");
    EXPECT_EQ(IsPostScriptPrinterType("Color Laser"), 0) << "read again only when told";
    EXPECT_EQ(VSXNotifyPAPTypesChanged(0), 0);
    EXPECT_EQ(IsPostScriptPrinterType("color laser"), 1);
    EXPECT_EQ(IsPostScriptPrinterType("LaserWriter"), 1);
    EXPECT_EQ(IsPostScriptPrinterType("ImageWriter"), 0);
    EXPECT_EQ(IsPostScriptPrinterType("Unknown"), 0);
    EXPECT_EQ(VSXNotifyKorvelChanged(0), 0);

    const auto notes = service_.TraceOf("tarpin.notify");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[1]["in"]["what"], "paptypes");
    EXPECT_EQ(notes[2]["in"]["what"], "korvel");
    EXPECT_EQ(notes[2]["in"]["reserved"], 0);
    EXPECT_NE(notes[2]["client"].get<std::string>().find("/Tarpin32"), std::string::npos);

    attest::ClearInstallFolder();
    VSXNotifyPAPTypesChanged(0);
}

TEST_F(StackCalls, PrinterRenameJobRenamesTheRegistration)
{
    JobBlock job;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&job.base), JobBlock::kSize), 0);
    job.open()->printer = NBPMakeTuple("Marketing Color LW", "LaserWriter", "Marketing");
    job.open()->BeginRequest(kPAPOpen);
    ATALKDispatch(job.open());
    ASSERT_EQ(WaitResult(*job.open()), 0);
    const std::string text =
        "%!PS-Adobe-2.0 ExitServer \n%%For:Quarnet for Windows\n%%Title:Printer Rename \n%%Creator:Vestrel \n"
        "%%CreationDate:6/15/92 \n%%BeginExitServer 0 \nserverdict begin 0 exitserver statusdict \n"
        "begin (Campaign Printer) setprintername\n%%EndExitServer\n%%EOF\n";
    std::memcpy(job.send(), text.c_str(), text.size() + 1);
    job.write()->connRef = job.open()->connRef;
    job.write()->SetDataBuffer(job.send());
    job.write()->length = static_cast<int32_t>(text.size());
    job.write()->SetEof(true);
    job.write()->BeginRequest(kPAPWrite);
    ATALKDispatch(job.write());
    ASSERT_EQ(WaitResult(*job.write()), 0);
    job.close()->connRef = job.open()->connRef;
    job.close()->BeginRequest(kPAPClose);
    ATALKDispatch(job.close());
    ASSERT_EQ(WaitResult(*job.close()), 0);
    MPPFree(job.base);

    NBPEntityName e{};
    NBPSetEntityName(&e, "=", "LaserWriter", "Marketing");
    ATEnumHandle h = 0;
    ASSERT_EQ(NBPOpenEnum(&h, 2, 2, 10, &e), 0);
    while (NBPEnumStatus(h) == 1)
        Sleep(10);
    _NBPTuple t;
    ASSERT_EQ(NBPReadEnum(h, 0, &t), 0);
    EXPECT_EQ(NBPSlotText(t.object), "Campaign Printer");
    NBPCloseEnum(h);
}

}  // namespace
