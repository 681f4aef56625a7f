// The real VestrelUtil.exe from outside: one instance, the class factory
// a client gets when the program is started for it, a printer of the
// sample world renamed through Printer > Change name..., and the Network
// menu's lookup window and information sheet, against atnetd.
#include <winsock2.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "atnetd_process.h"

namespace {

const char* kMainClass = "VestrelUtilMainWnd";
const CLSID kDocClsid = {0x402F5370, 0x79CB, 0x11CE, {0x90, 0x9F, 0x00, 0xC0, 0x6C, 0x33, 0x69, 0x41}};

std::string ProgramPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\') + 1) + "VestrelUtil.exe";
}

PROCESS_INFORMATION Start(const std::string& args)
{
    std::string cmd = "\"" + ProgramPath() + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        ADD_FAILURE() << "cannot start " << cmd << ": " << GetLastError();
    return pi;
}

void Close(PROCESS_INFORMATION& pi)
{
    if (pi.hThread != nullptr)
        CloseHandle(pi.hThread);
    if (pi.hProcess != nullptr)
        CloseHandle(pi.hProcess);
    pi.hThread = pi.hProcess = nullptr;
}

BOOL CALLBACK CollectMainWindow(HWND h, LPARAM out)
{
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (strcmp(cls, kMainClass) == 0)
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(h);
    return TRUE;
}

std::vector<HWND> MainWindows()
{
    std::vector<HWND> found;
    EnumWindows(&CollectMainWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The main window of the program; with `shown`, once it is visible (the
// end of a normal start-up).
HWND WaitForMainWindow(const PROCESS_INFORMATION& pi, bool shown)
{
    const DWORD pid = pi.dwProcessId;
    for (int i = 0; i < 300; ++i) {
        for (HWND h : MainWindows()) {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == pid && (!shown || IsWindowVisible(h)))
                return h;
        }
        Sleep(50);
    }
    return nullptr;
}

// Ends a started program that a failed check left running.
struct ProgramGuard {
    PROCESS_INFORMATION& pi;
    ~ProgramGuard()
    {
        if (pi.hProcess != nullptr && WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 1);
        Close(pi);
    }
};

void EndProgram(PROCESS_INFORMATION& pi, HWND main)
{
    if (main != nullptr)
        PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the program did not end";
        TerminateProcess(pi.hProcess, 1);
    }
    Close(pi);
}

TEST(Program, ASecondStartBringsTheFirstBackAndEnds)
{
    PROCESS_INFORMATION first = Start("");
    ProgramGuard guardFirst{first};
    HWND main = WaitForMainWindow(first, true);
    ASSERT_NE(main, nullptr);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main));

    PROCESS_INFORMATION second = Start("");
    ProgramGuard guardSecond{second};
    ASSERT_EQ(WaitForSingleObject(second.hProcess, 15000), WAIT_OBJECT_0);
    Close(second);

    std::vector<HWND> windows = MainWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0], main);
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(main));
    EndProgram(first, main);
}

TEST(Program, StartedForAClientItShowsNothingAndServesItsClassFactory)
{
    // A normal start registers the class id.
    PROCESS_INFORMATION normal = Start("");
    HWND shown = WaitForMainWindow(normal, true);
    ASSERT_NE(shown, nullptr);
    EndProgram(normal, shown);

    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    PROCESS_INFORMATION server = Start("/Embedding");
    ProgramGuard guard{server};
    HWND hidden = WaitForMainWindow(server, false);
    ASSERT_NE(hidden, nullptr);

    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(kDocClsid, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void**>(&factory));
    ASSERT_EQ(hr, S_OK);
    // The factory is served from the message loop, so start-up is over:
    // the window stayed hidden.
    EXPECT_FALSE(IsWindowVisible(hidden));
    IDispatch* doc = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&doc)), S_OK);
    factory->Release();
    ASSERT_NE(doc, nullptr);
    // An empty dispatch interface: no type information, no names.
    UINT count = 99;
    EXPECT_EQ(doc->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    OLECHAR name[] = L"Anything";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(doc->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
    EXPECT_FALSE(IsWindowVisible(hidden));
    doc->Release();

    // The last object gone and nobody at the window: the program ends.
    EXPECT_EQ(WaitForSingleObject(server.hProcess, 15000), WAIT_OBJECT_0);
    CoUninitialize();
}

TEST(Program, StartedForAutomationItShowsNothing)
{
    PROCESS_INFORMATION server = Start("-Automation");
    ProgramGuard guard{server};
    HWND hidden = WaitForMainWindow(server, false);
    ASSERT_NE(hidden, nullptr);
    // The program answers messages once it runs its message loop; a normal
    // start shows its window well within the second after that.
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutA(hidden, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer), 0);
    Sleep(1000);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EndProgram(server, hidden);
}

struct DialogSearch {
    DWORD pid;
    std::string caption;
    HWND found;
};

BOOL CALLBACK FindDialogOfProcess(HWND h, LPARAM p)
{
    auto* s = reinterpret_cast<DialogSearch*>(p);
    char cls[16] = "", text[128] = "";
    GetClassNameA(h, cls, sizeof cls);
    GetWindowTextA(h, text, sizeof text);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == s->pid && std::string(cls) == "#32770" && s->caption == text && IsWindowVisible(h))
        s->found = h;
    return s->found ? FALSE : TRUE;
}

// The visible dialog of process `pid` captioned `caption`, within `ms`.
HWND WaitForDialog(DWORD pid, const std::string& caption, int ms = 15000)
{
    DialogSearch search{pid, caption, nullptr};
    for (int waited = 0; waited < ms && !search.found; waited += 50) {
        EnumWindows(&FindDialogOfProcess, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(50);
    }
    return search.found;
}

bool WaitUntil(const std::function<bool()>& done, int ms = 15000)
{
    for (int waited = 0; waited < ms; waited += 50) {
        if (done())
            return true;
        Sleep(50);
    }
    return done();
}

// What a user does: Printer > Change name..., the zone of an interpreting
// LaserWriter, the printer, a new name typed over the proposed one, Rename.
// The dialog ends, the network answers with the new name, the log has the
// line.
TEST(Program, PrinterChangeNameRenamesALaserWriterOfTheSampleWorld)
{
    attest::AtnetdProcess service;
    ASSERT_TRUE(service.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    const std::string folder = service.Dir() + "run\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    char saved[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(folder.c_str());  // the program's, where the log goes
    PROCESS_INFORMATION program = Start("");
    SetCurrentDirectoryA(saved);
    ProgramGuard guard{program};
    HWND main = WaitForMainWindow(program, true);
    ASSERT_NE(main, nullptr);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(42008, 0), 0);
    HWND dialog = WaitForDialog(program.dwProcessId, "Change Printer Name");
    ASSERT_NE(dialog, nullptr);
    HWND zones = GetDlgItem(dialog, 1030), printers = GetDlgItem(dialog, 1035), name = GetDlgItem(dialog, 1037);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(printers) != FALSE; })) << "the first lookup ends";
    const char zone[] = "Accounting", printer[] = "Accounts Printer", newName[] = "Ledger Room";
    ASSERT_GE(SendMessageA(zones, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(zone)), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1030, CBN_SELCHANGE), reinterpret_cast<LPARAM>(zones));
    LRESULT at = LB_ERR;
    ASSERT_TRUE(WaitUntil([&] {
        at = SendMessageA(printers, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(printer));
        return at >= 0 && IsWindowEnabled(printers);
    })) << "the lookup in Accounting finds the printer";
    SendMessageA(printers, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1035, LBN_SELCHANGE), reinterpret_cast<LPARAM>(printers));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK))) << "Rename waits for an edit";
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(newName));
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));

    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 60000)) << "the rename ends the dialog";
    bool renamed = false;
    for (const auto& line : service.Trace())
        renamed = renamed || (line.value("event", "") == "printer renamed" && line.value("from", "") == printer &&
                              line.value("to", "") == newName);
    EXPECT_TRUE(renamed);
    EXPECT_EQ(attest::ReadFile(folder + "VestrelUtil.txt"), "Renamed Printer Accounts Printer to Ledger Room \r\n");
    EndProgram(program, main);
}

// The descendant of `parent` with control id `id` (the first one found).
BOOL CALLBACK FindControl(HWND h, LPARAM search)
{
    auto* s = reinterpret_cast<std::pair<int, HWND>*>(search);
    if (GetDlgCtrlID(h) != s->first)
        return TRUE;
    s->second = h;
    return FALSE;
}

HWND Control(HWND parent, int id)
{
    std::pair<int, HWND> search{id, nullptr};
    EnumChildWindows(parent, &FindControl, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::string TextOf(HWND h)
{
    char text[256] = "";
    SendMessageA(h, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// What a user does in the Network menu: Lookup... lists the devices of the
// workstation's zone; Information shows the node's address and sends the
// zone picked in Select Current Zone on OK.
TEST(Program, NetworkLookupListsTheZoneAndInformationChangesTheCurrentZone)
{
    attest::AtnetdProcess service;
    ASSERT_TRUE(service.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    PROCESS_INFORMATION program = Start("");
    ProgramGuard guard{program};
    HWND main = WaitForMainWindow(program, true);
    ASSERT_NE(main, nullptr);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(42012, 0), 0);
    HWND status = nullptr, list = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        status = Control(main, 1042);
        list = Control(main, 1041);
        return status != nullptr && TextOf(status).rfind(" Found ", 0) == 0;
    })) << (status ? TextOf(status) : "no lookup window");
    EXPECT_EQ(TextOf(GetParent(GetParent(status))), "Exploring - AppleTalk Network");
    const std::string found = TextOf(status);
    EXPECT_EQ(found.substr(found.find(" devices")), " devices in Zone Engineering");
    EXPECT_EQ(std::to_string(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)), found.substr(7, found.find(" devices") - 7));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(42011, 0), 0);
    HWND sheet = WaitForDialog(program.dwProcessId, "Quarnet Utility");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(TextOf(Control(sheet, 3011)), "1005 56 (03ED 38)");
    EXPECT_EQ(TextOf(Control(sheet, 1016)), "Engineering");
    HWND change = Control(sheet, 1043);
    PostMessageA(GetParent(change), WM_COMMAND, MAKEWPARAM(1043, BN_CLICKED), reinterpret_cast<LPARAM>(change));
    HWND zones = WaitForDialog(program.dwProcessId, "Select Current Zone");
    ASSERT_NE(zones, nullptr);
    HWND zoneList = GetDlgItem(zones, 3001);
    ASSERT_GE(SendMessageA(zoneList, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Marketing")), 0);
    PostMessageA(zones, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(zones, IDOK)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(zones) && TextOf(Control(sheet, 1016)) == "Marketing"; }));
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));

    std::vector<std::string> changes;
    for (const auto& line : service.Trace())
        if (line.value("op", "") == "at.setzone" && line.value("result", -1) == 0)
            changes.push_back(line["in"].value("zone", ""));
    EXPECT_EQ(changes, std::vector<std::string>{"Marketing"});
    EndProgram(program, main);
}

}  // namespace
