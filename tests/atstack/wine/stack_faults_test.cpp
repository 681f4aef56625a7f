// Faults: no service, a service killed mid-request, a "service" that answers
// garbage. Every call fails with a negative result or a nonzero status, at
// once, and nothing hangs.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
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

// A port nobody listens on: one a service had and gave up.
std::string DeadAddress()
{
    attest::AtnetdProcess s;
    EXPECT_TRUE(s.Start(R"({"workstation": {"network": 1, "node": 2}})"));
    s.Kill();
    return "127.0.0.1:" + std::to_string(s.Port());
}

TEST(StackFaults, NoServiceEveryCallFailsAtOnce)
{
    const std::string dead = DeadAddress();
    SetEnvironmentVariableA("VESTREL_ATNETD", dead.c_str());
    const DWORD start = GetTickCount();

    ATNetInfoBlock* info = nullptr;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&info), 0), 0) << "blocks are local memory";
    info->header.command = kATGetNetInfo;
    EXPECT_LT(ATALKDispatch(info), 0);
    EXPECT_LT(ATLoadResult(info->header), 0);
    info->header.command = kATSetCurrentZone;
    std::strcpy(info->zone, "Engineering");
    EXPECT_LT(ATALKDispatch(info), 0);
    EXPECT_LT(ATLoadResult(info->header), 0);
    EXPECT_EQ(MPPFree(info), 0);

    PAPParamBlock* pb = nullptr;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&pb), 0), 0);
    for (int32_t cmd : {kPAPOpen, kPAPStatus, kPAPClose, kPAPCancel, kPAPWrite, kPAPRead}) {
        static char buffer[4096];
        pb->printer = NBPMakeTuple("LaserWriter Pro 630", "LaserWriter", "*");
        pb->SetDataBuffer(buffer);
        pb->length = 10;
        pb->BeginRequest(static_cast<PAPCommand>(cmd));
        ATALKDispatch(pb);
        EXPECT_LT(pb->Result(), 0) << "command " << cmd;
    }
    MPPFree(pb);

    NBPEntityName e{};
    EXPECT_EQ(NBPSetEntityName(&e, "=", "=", "*"), 0);
    ATEnumHandle h = 77;
    EXPECT_NE(NBPOpenEnum(&h, 2, 2, 10, &e), 0);
    EXPECT_EQ(h, 0u);
    EXPECT_LT(NBPEnumStatus(h), 0);
    EXPECT_EQ(NBPFoundCount(h), 0);
    EXPECT_NE(ZIPOpenEnum(&h, 1), 0);
    EXPECT_LT(ZIPEnumStatus(h), 0);
    char zone[36];
    EXPECT_NE(ZIPGetMyZone(zone), 0);
    _NBPTuple t{};
    EXPECT_NE(PAPGetDefaultPrinter(&t), 0);
    EXPECT_NE(PAPSetDefaultPrinter(&t), 0);
    EXPECT_EQ(AFPGetNameBitmap("\\\\Engineering"), 0u);
    EXPECT_NE(AFPParseRemoteName("\\\\Engineering", nullptr, nullptr, zone, nullptr, nullptr), 0);
    EXPECT_NE(AFPMapID(1, 1, 1, zone), 0);
    EXPECT_NE(AFPChangeSrvrPassword("\\\\S", "a", "b"), 0);
    std::vector<uint8_t> buf(2522);
    EXPECT_NE(ATKIFSGetFlDrParams("\\\\S\\V\\", buf.data(), 2522), 0);
    EXPECT_NE(ATKIFSGetVolParams("\\\\S\\V", buf.data(), 2522), 0);
    AFPServerInfo si;
    EXPECT_NE(AFPGetServerInfo("\\\\S", &si), 0);
    EXPECT_EQ(IsPostScriptPrinterType("LaserWriter"), 1) << "a local table (here: none) answers without the service";
    EXPECT_LT(VSXNotifyPAPTypesChanged(0), 0);
    EXPECT_LT(VSXNotifyKorvelChanged(0), 0);

    EXPECT_LT(GetTickCount() - start, 3000u) << "failing must not wait";
}

TEST(StackFaults, ServiceKilledMidRequestFailsTheRequest)
{
    attest::AtnetdProcess s;
    ASSERT_TRUE(s.Start(R"({"workstation": {"network": 1, "node": 2, "zone": "Z"}, "zones": [{"name": "Z", "local": true}],
                            "timing": {"nbpLookupMs": 60000},
                            "printers": [{"name": "Slow", "openDelayMs": 60000}]})"));
    PAPParamBlock* pb = nullptr;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&pb), 0), 0);
    pb->printer = NBPMakeTuple("Slow", "LaserWriter", "Z");
    pb->BeginRequest(kPAPOpen);
    ASSERT_EQ(ATALKDispatch(pb), 0);
    NBPEntityName e{};
    NBPSetEntityName(&e, "=", "=", "*");
    ATEnumHandle h = 0;
    ASSERT_EQ(NBPOpenEnum(&h, 2, 2, 10, &e), 0);
    Sleep(200);
    ASSERT_EQ(pb->Result(), kATResultPending);
    ASSERT_EQ(NBPEnumStatus(h), 1);

    s.Kill();
    EXPECT_EQ(WaitResult(*pb, 5000), -1099) << "the open ends with the service";
    const DWORD start = GetTickCount();
    while (NBPEnumStatus(h) == 1 && GetTickCount() - start < 5000)
        Sleep(5);
    EXPECT_EQ(NBPEnumStatus(h), -1099);
    NBPCloseEnum(h);
    MPPFree(pb);
}

// The printer's status as a PAP status request reads it.
std::string PrinterStatus(const char* printer)
{
    PAPParamBlock* pb = nullptr;
    if (MPPAlloc(reinterpret_cast<void**>(&pb), 0) != 0)
        return "no block";
    pb->printer = NBPMakeTuple(printer, "LaserWriter", "*");
    pb->BeginRequest(kPAPStatus);
    ATALKDispatch(pb);
    const std::string status = WaitResult(*pb) == 0 ? pb->StatusString() : "failed";
    MPPFree(pb);
    return status;
}

// Polls until the printer is idle again, or the time limit.
std::string AwaitIdle(const char* printer, DWORD limitMs = 5000)
{
    const DWORD start = GetTickCount();
    std::string status = PrinterStatus(printer);
    while (status != "status: idle" && GetTickCount() - start < limitMs) {
        Sleep(20);
        status = PrinterStatus(printer);
    }
    return status;
}

TEST(StackFaults, FreeingABlockWithAnOpenOutstandingLeavesThePrinterFree)
{
    attest::AtnetdProcess s;
    ASSERT_TRUE(s.Start(R"({"workstation": {"network": 1, "node": 2}, "printers": [{"name": "P", "openDelayMs": 300}]})"));
    PAPParamBlock* pb = nullptr;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&pb), 0), 0);
    pb->printer = NBPMakeTuple("P", "LaserWriter", "*");
    pb->BeginRequest(kPAPOpen);
    ATALKDispatch(pb);
    EXPECT_EQ(MPPFree(pb), 0);
    // The answer arrives after the printer's delay and writes nowhere; the
    // connection nobody can use is closed.
    const auto opens = s.AwaitTraceOf("pap.open", 1, 10000);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0]["result"], 0);
    EXPECT_EQ(s.AwaitTraceOf("mpp.free", 1).at(0)["in"]["detached"], 1);
    const auto closes = s.AwaitTraceOf("pap.close", 1);
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0]["in"]["unwanted"], true);
    EXPECT_EQ(AwaitIdle("P"), "status: idle");
}

TEST(StackFaults, ACancelThatLosesTheRaceWithItsOpenLeavesThePrinterFree)
{
    attest::AtnetdProcess s;
    ASSERT_TRUE(s.Start(R"({"workstation": {"network": 1, "node": 2}, "printers": [{"name": "P"}]})"));
    PAPParamBlock* open = nullptr;
    PAPParamBlock* cancel = nullptr;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&open), 0), 0);
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&cancel), 0), 0);
    for (bool answerFirst : {true, false}) {
        // The open's answer may come before the cancel goes out, or after.
        open->printer = NBPMakeTuple("P", "LaserWriter", "*");
        open->BeginRequest(kPAPOpen);
        ATALKDispatch(open);
        if (answerFirst) {
            ASSERT_EQ(WaitResult(*open), 0);
        }
        cancel->requestId = open->requestId;
        cancel->BeginRequest(kPAPCancel);
        ATALKDispatch(cancel);
        EXPECT_EQ(WaitResult(*cancel), 0);
        EXPECT_EQ(WaitResult(*open), -1105) << "the open ends as cancelled (answer first: " << answerFirst << ")";
        EXPECT_EQ(AwaitIdle("P"), "status: idle") << "answer first: " << answerFirst;
    }
    MPPFree(open);
    MPPFree(cancel);
}

TEST(StackFaults, ABlockDispatchedAgainIgnoresItsEarlierRequest)
{
    attest::AtnetdProcess s;
    ASSERT_TRUE(s.Start(R"({"workstation": {"network": 1, "node": 2}, "printers": [{"name": "P"}]})"));
    PAPParamBlock* open = nullptr;
    PAPParamBlock* reused = nullptr;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&open), 0), 0);
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&reused), 0), 0);
    open->printer = NBPMakeTuple("P", "LaserWriter", "*");
    open->BeginRequest(kPAPOpen);
    ATALKDispatch(open);
    ASSERT_EQ(WaitResult(*open), 0);

    // A read that waits (no job yet), then the same block used for a status.
    static char buffer[4096];
    reused->connRef = open->connRef;
    reused->SetDataBuffer(buffer);
    reused->length = 4096;
    reused->BeginRequest(kPAPRead);
    ATALKDispatch(reused);
    Sleep(50);
    ASSERT_EQ(reused->Result(), kATResultPending);
    reused->printer = open->printer;
    reused->BeginRequest(kPAPStatus);
    ATALKDispatch(reused);
    ASSERT_EQ(WaitResult(*reused), 0);
    ASSERT_EQ(reused->StatusString(), "status: waiting; source: AppleTalk");

    // Closing ends the abandoned read (-1105); its answer must not land.
    open->BeginRequest(kPAPClose);
    ATALKDispatch(open);
    ASSERT_EQ(WaitResult(*open), 0);
    ASSERT_EQ(s.AwaitTraceOf("pap.read", 1).at(0)["result"], -1105);
    Sleep(100);
    EXPECT_EQ(reused->Result(), 0) << "the abandoned read's result overwrote the status request's";
    EXPECT_EQ(reused->StatusString(), "status: waiting; source: AppleTalk");
    MPPFree(open);
    MPPFree(reused);
}

TEST(StackFaults, FollowingAMovingServiceLosesNoAnswer)
{
    // Each call finds the address changed, drops its connection and opens a
    // new one, which may get the old socket's handle value: the old
    // connection's receiver must never read from it.
    attest::AtnetdProcess a, b;
    ASSERT_TRUE(a.Start(R"({"workstation": {"network": 1, "node": 2, "zone": "A"}, "zones": [{"name": "A", "local": true}]})"));
    ASSERT_TRUE(b.Start(R"({"workstation": {"network": 1, "node": 2, "zone": "B"}, "zones": [{"name": "B", "local": true}]})"));
    const std::string addressA = "127.0.0.1:" + std::to_string(a.Port());
    const std::string addressB = "127.0.0.1:" + std::to_string(b.Port());
    DWORD slowest = 0;
    int wrong = 0;
    for (int i = 0; i < 200; ++i) {
        SetEnvironmentVariableA("VESTREL_ATNETD", (i % 2 ? addressB : addressA).c_str());
        char zone[33] = {};
        const DWORD start = GetTickCount();
        const int32_t rc = ZIPGetMyZone(zone);
        slowest = std::max<DWORD>(slowest, GetTickCount() - start);
        if (rc != 0 || std::string(zone) != (i % 2 ? "B" : "A"))
            ++wrong;
        if (slowest > 3000)
            break;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_LT(slowest, 3000u) << "an answer was lost to a stale receiver";
}

TEST(StackFaults, AStalledServiceEndsEveryWaitingRequestInBoundedTime)
{
    attest::AtnetdProcess s;
    ASSERT_TRUE(s.Start(R"({"workstation": {"network": 1, "node": 2, "zone": "Z"}, "zones": [{"name": "Z", "local": true}],
                            "timing": {"nbpLookupMs": 60000, "zipMs": 60000},
                            "printers": [{"name": "Slow", "openDelayMs": 60000}]})"));
    PAPParamBlock* pb = nullptr;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&pb), 0), 0);
    pb->printer = NBPMakeTuple("Slow", "LaserWriter", "Z");
    pb->BeginRequest(kPAPOpen);
    ASSERT_EQ(ATALKDispatch(pb), 0);
    NBPEntityName e{};
    NBPSetEntityName(&e, "=", "=", "*");
    ATEnumHandle lookup = 0, zones = 0;
    ASSERT_EQ(NBPOpenEnum(&lookup, 2, 2, 10, &e), 0);
    ASSERT_EQ(ZIPOpenEnum(&zones, 0), 0);
    Sleep(2500);  // long waits are fine while the service answers
    ASSERT_EQ(pb->Result(), kATResultPending);
    ASSERT_EQ(NBPEnumStatus(lookup), 1);

    ASSERT_TRUE(s.Suspend());
    const DWORD start = GetTickCount();
    char zone[33];
    EXPECT_EQ(ZIPGetMyZone(zone), -1099) << "a synchronous call";
    const DWORD sync = GetTickCount() - start;
    EXPECT_EQ(WaitResult(*pb, 15000), -1099) << "a dispatched block";
    while ((NBPEnumStatus(lookup) == 1 || ZIPEnumStatus(zones) == 1) && GetTickCount() - start < 15000)
        Sleep(10);
    EXPECT_EQ(NBPEnumStatus(lookup), -1099);
    EXPECT_EQ(ZIPEnumStatus(zones), -1099);
    const DWORD all = GetTickCount() - start;
    EXPECT_LE(sync, 6500u);
    EXPECT_LE(all, 7500u) << "every request ends within the silence limit";
    s.Resume();
    NBPCloseEnum(lookup);
    ZIPCloseEnum(zones);
    MPPFree(pb);
}

TEST(StackFaults, ClosingAnEnumerationEndsItsLookupInTheService)
{
    attest::AtnetdProcess s;
    ASSERT_TRUE(s.Start(R"({"workstation": {"network": 1, "node": 2}, "timing": {"nbpLookupMs": 60000}})"));
    NBPEntityName e{};
    NBPSetEntityName(&e, "=", "=", "*");
    ATEnumHandle h = 0;
    ASSERT_EQ(NBPOpenEnum(&h, 2, 2, 10, &e), 0);
    Sleep(100);
    ASSERT_EQ(NBPCloseEnum(h), 0);
    const auto lookups = s.AwaitTraceOf("nbp.lookup", 1);
    ASSERT_EQ(lookups.size(), 1u) << "the lookup still runs in the service";
    EXPECT_EQ(lookups[0]["result"], -1105);
}

TEST(StackFaults, WithoutTheServiceThePrinterTypeTableStillAnswers)
{
    attest::AtnetdProcess s;
    ASSERT_TRUE(s.Start(R"({"workstation": {"network": 1, "node": 2}})"));
    const std::string folder = s.Dir();
    ASSERT_TRUE(attest::SetInstallFolder(folder));
    attest::WriteFile(folder + "Printers.PAPTypes", "\"Phaser\" Y ;\r\n\"LaserWriter\" N ;\r\n");
    s.Kill();
    EXPECT_EQ(IsPostScriptPrinterType("Phaser"), 1) << "the table is a local file";
    EXPECT_EQ(IsPostScriptPrinterType("LaserWriter"), 0) << "as the table says";
    attest::WriteFile(folder + "Printers.PAPTypes", "\"Phaser\" N ;changed meanwhile\r\n");
    EXPECT_EQ(IsPostScriptPrinterType("Phaser"), 0) << "no one can say it changed: the file itself does";
    attest::ClearInstallFolder();
}

// A "service" that answers every connection with bytes that are no frame.
DWORD WINAPI GarbageServer(LPVOID param)
{
    SOCKET ls = reinterpret_cast<SOCKET>(param);
    for (int i = 0; i < 4; ++i) {
        SOCKET c = accept(ls, nullptr, nullptr);
        if (c == INVALID_SOCKET)
            break;
        char buf[256];
        recv(c, buf, sizeof buf, 0);
        Sleep(50);
        const char junk[] = "\xff\xff\xff\x7fthis is not atnetd";
        send(c, junk, sizeof junk - 1, 0);
        Sleep(200);
        closesocket(c);
    }
    return 0;
}

TEST(StackFaults, GarbageAnswersFailTheRequest)
{
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    SOCKET ls = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
    ASSERT_EQ(bind(ls, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(listen(ls, 4), 0);
    int len = sizeof a;
    getsockname(ls, reinterpret_cast<sockaddr*>(&a), &len);
    const std::string address = "127.0.0.1:" + std::to_string(ntohs(a.sin_port));
    SetEnvironmentVariableA("VESTREL_ATNETD", address.c_str());
    HANDLE thread = CreateThread(nullptr, 0, GarbageServer, reinterpret_cast<LPVOID>(ls), 0, nullptr);

    ATNetInfoBlock* info = nullptr;
    ASSERT_EQ(MPPAlloc(reinterpret_cast<void**>(&info), 0), 0);
    info->header.command = kATGetNetInfo;
    ATALKDispatch(info);
    EXPECT_EQ(WaitResult(*info, 5000), -1099);
    char zone[33];
    EXPECT_NE(ZIPGetMyZone(zone), 0);
    MPPFree(info);

    closesocket(ls);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
}

}  // namespace
