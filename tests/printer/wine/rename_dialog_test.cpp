// The Change Printer Name dialog (132) through its real window on the real
// stack against a real atnetd: the zones and the lookup, the name field's
// rules, the rename of a printer that interprets PostScript (its NBP name
// really changes, the log line comes only after the printer's EOF), a printer
// that refuses the job (reported, nothing logged), an open that fails and
// Cancel while the job waits; every job block goes back.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "dialog_driver.h"
#include "dialog_watchdog.h"
#include "download_command.h"
#include "fx/message_box.h"
#include "fx/win_app.h"
#include "job_dialog_test.h"
#include "job_files.h"
#include "molven32.h"
#include "nbp_names.h"
#include "pap_job_block.h"
#include "rename_dialog_ids.h"
#include "win32_pap_stack.h"

namespace {

// The application object VestrelUtil has: the job's waiting loops pump
// through it.
CWinApp g_app;

using dtest::ItemText;
using dtest::ListItems;
using dtest::Press;

constexpr char kCaption[] = "Change Printer Name";

// "Desk LW" interprets PostScript and holds its first job for 8 s with a
// printer error, so the job's EOF comes late.
const char* kWorld = R"({
  "workstation": { "name": "Me", "network": 1005, "node": 56, "zone": "Front Office" },
  "zones": [ { "name": "Front Office", "local": true }, { "name": "Warehouse" }, { "name": "Accounting" } ],
  "timing": { "nbpLookupMs": 50, "zipMs": 0 },
  "printers": [
    { "id": "desk", "name": "Desk LW", "interpreter": true,
      "faults": [ { "at": "job", "nth": 1, "printerError": "out of paper", "ms": 8000 } ] },
    { "id": "gone", "name": "Gone LW", "openRefused": true, "openDelayMs": 300 },
    { "id": "slow", "name": "Slow LW", "openDelayMs": 6000 },
    { "id": "fax", "name": "Fax", "type": "FaxServer" },
    { "id": "acct", "name": "Accounts", "zone": "Accounting" }
  ]
})";

// A printer whose server password is not the default: it refuses the job.
const char* kLockedWorld = R"({
  "workstation": { "name": "Me", "network": 1005, "node": 56, "zone": "Front Office" },
  "zones": [ { "name": "Front Office", "local": true } ],
  "timing": { "nbpLookupMs": 50, "zipMs": 0 },
  "printers": [ { "name": "Reception LaserWriter", "password": "1234", "interpreter": true } ]
})";

class RenameDialog : public JobDialogTest {
protected:
    // Runs Printer > Change name... while `script` plays the user on every
    // tick from the end of the first lookup on (the list is enabled only
    // once a lookup has ended).
    void RunDialog(const std::function<void(HWND dialog)>& script)
    {
        bool looked = false;
        vtest::AllowDialogs allow;
        dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
            if (!dialog || caption != kCaption)
                return;
            looked = looked || IsWindowEnabled(GetDlgItem(dialog, IDC_REN_PRINTERS));
            if (looked)
                script(dialog);
        });
        StdioJobFiles files(folder_);
        RunChangeNameCommand(stack_, files, LogFolder());
    }

    std::string LogFolder() const { return folder_ + "product\\"; }
    std::string LogPath() const { return LogFolder() + "VestrelUtil.txt"; }
    bool LogExists() const { return GetFileAttributesA(LogPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

    static void Select(HWND dialog, const std::string& printer)
    {
        HWND list = GetDlgItem(dialog, IDC_REN_PRINTERS);
        const LRESULT at = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(printer.c_str()));
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_REN_PRINTERS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    static void SelectZone(HWND dialog, const std::string& zone)
    {
        HWND combo = GetDlgItem(dialog, IDC_REN_ZONE);
        SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(zone.c_str()));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_REN_ZONE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    // Types `text` into the new-name field as keystrokes would.
    static void Type(HWND dialog, const std::string& text)
    {
        HWND edit = GetDlgItem(dialog, IDC_REN_NEW_NAME);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, WM_CHAR, VK_BACK, 0);
        for (char c : text)
            SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
    }
    static bool RenameEnabled(HWND dialog) { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; }

    // The printers a lookup in `zone` finds now, as the stack answers.
    static std::vector<std::string> LookUp(const std::string& zone)
    {
        NBPEntityName pattern{};
        NBPSetEntityName(&pattern, "=", "LaserWriter", zone.c_str());
        ATEnumHandle h = 0;
        std::vector<std::string> names;
        if (NBPOpenEnum(&h, 2, 2, 100, &pattern) != 0)
            return names;
        for (int i = 0; i < 500 && NBPEnumStatus(h) == kATResultPending; ++i)
            Sleep(10);
        for (uint16_t i = 0; NBPEnumStatus(h) == 0 && i < NBPFoundCount(h); ++i) {
            _NBPTuple t{};
            if (NBPReadEnum(h, i, &t) == 0)
                names.push_back(NBPSlotText(t.object));
        }
        NBPCloseEnum(h);
        std::sort(names.begin(), names.end());
        return names;
    }

    // Every job block allocated was freed.
    void ExpectBlocksFreed() const
    {
        const auto allocs = service_.TraceOf("mpp.alloc");
        const auto frees = service_.AwaitTraceOf("mpp.free", allocs.size());
        EXPECT_EQ(frees.size(), allocs.size());
        for (const auto& a : allocs)
            EXPECT_EQ(a["in"]["size"], kPAPJobBlockSize);
    }

    std::vector<nlohmann::json> Events(const std::string& name) const
    {
        std::vector<nlohmann::json> out;
        for (const auto& l : service_.Trace())
            if (l.contains("event") && l["event"] == name)
                out.push_back(l);
        return out;
    }

};

TEST_F(RenameDialog, ListsTheZonesAndTheLaserWritersOfTheWorkstationsZone)
{
    ASSERT_TRUE(service_.Start(kWorld));
    std::vector<std::string> zones, printers;
    std::string zone;
    RunDialog([&](HWND dialog) {
        zones = ListItems(GetDlgItem(dialog, IDC_REN_ZONE), true);
        zone = ItemText(dialog, IDC_REN_ZONE);
        printers = ListItems(GetDlgItem(dialog, IDC_REN_PRINTERS));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(zones, (std::vector<std::string>{"Accounting", "Front Office", "Warehouse"}));
    EXPECT_EQ(zone, "Front Office");
    EXPECT_EQ(printers, (std::vector<std::string>{"Desk LW", "Gone LW", "Slow LW"}));
    const auto lookups = service_.TraceOf("nbp.lookup");
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0]["in"]["object"], "=");
    EXPECT_EQ(lookups[0]["in"]["type"], "LaserWriter");
    EXPECT_EQ(lookups[0]["in"]["zone"], "Front Office");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(RenameDialog, ANetworkWithoutZonesLooksUpInTheWorkstationsOwnZone)
{
    ASSERT_TRUE(service_.Start(R"({ "workstation": { "network": 7, "node": 9 },
                                    "printers": [ { "name": "Lonely LW" } ] })"));
    std::vector<std::string> zones, printers;
    RunDialog([&](HWND dialog) {
        zones = ListItems(GetDlgItem(dialog, IDC_REN_ZONE), true);
        printers = ListItems(GetDlgItem(dialog, IDC_REN_PRINTERS));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(zones, std::vector<std::string>{"Isolated AppleTalk Network"});
    EXPECT_EQ(printers, std::vector<std::string>{"Lonely LW"});
    const auto lookups = service_.TraceOf("nbp.lookup");
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0]["in"]["zone"], "*");
    EXPECT_EQ(lookups[0]["in"]["object"], "=");
    EXPECT_EQ(lookups[0]["in"]["type"], "LaserWriter");
}

TEST_F(RenameDialog, AZoneWithoutPrintersSaysSoNamingTheZoneShown)
{
    ASSERT_TRUE(service_.Start(kWorld));
    int step = 0;
    bool renameEnabled = true, listEmpty = false;
    RunDialog([&](HWND dialog) {
        if (step == 0) {
            step = 1;
            SelectZone(dialog, "Warehouse");
        } else if (step == 1 && !messages_.empty()) {
            step = 2;
            renameEnabled = RenameEnabled(dialog);
            listEmpty = ListItems(GetDlgItem(dialog, IDC_REN_PRINTERS)).empty();
            Press(dialog, IDCANCEL);
        }
    });
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "No Printers Found in Zone Warehouse!");
    EXPECT_EQ(messages_[0].caption, "Printer Search Status");
    EXPECT_EQ(messages_[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_FALSE(renameEnabled);
    EXPECT_TRUE(listEmpty);
}

TEST_F(RenameDialog, RenameWaitsForAnEditAndTheSameNameSendsNothing)
{
    ASSERT_TRUE(service_.Start(kWorld));
    int step = 0;
    bool afterSelect = true, afterTyping = false, stillOpen = false;
    std::string proposed, shownOld, typed;
    RunDialog([&](HWND dialog) {
        switch (step++) {
        case 0:
            Select(dialog, "Slow LW");
            afterSelect = RenameEnabled(dialog);
            proposed = ItemText(dialog, IDC_REN_NEW_NAME);
            shownOld = ItemText(dialog, IDC_REN_OLD_NAME);
            Type(dialog, std::string(31, 'N') + "X");
            typed = ItemText(dialog, IDC_REN_NEW_NAME);
            afterTyping = RenameEnabled(dialog);
            Type(dialog, "Slow LW");  // back to the printer's own name
            Press(dialog, IDOK);
            break;
        case 4:  // some ticks later: Rename sent nothing and the dialog is up
            stillOpen = true;
            dtest::SaveScreenshot(dialog, "rename_printer");
            Press(dialog, IDCANCEL);
            break;
        default:
            break;
        }
    });
    EXPECT_FALSE(afterSelect) << "Rename waits until the name is edited";
    EXPECT_EQ(proposed, "Slow LW");
    EXPECT_EQ(shownOld, "Slow LW");
    EXPECT_EQ(typed, std::string(31, 'N')) << "the 32nd character cannot be typed";
    EXPECT_TRUE(afterTyping);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(service_.TraceOf("pap.open").empty());
    EXPECT_TRUE(service_.TraceOf("mpp.alloc").empty());
    EXPECT_FALSE(LogExists());
}

TEST_F(RenameDialog, RenamesThePrinterAndLogsOnlyAfterItsEOF)
{
    ASSERT_TRUE(service_.Start(kWorld));
    bool pressed = false, logBeforeEOF = false, sawPrinterError = false;
    std::vector<std::string> statuses;
    RunDialog([&](HWND dialog) {
        if (!pressed) {
            pressed = true;
            Select(dialog, "Desk LW");
            Type(dialog, "Reception Desk");
            Press(dialog, IDOK);
            return;
        }
        const std::string status = ItemText(dialog, IDC_REN_STATUS);
        if (statuses.empty() || statuses.back() != status)
            statuses.push_back(status);
        sawPrinterError = sawPrinterError || status.find("PrinterError") != std::string::npos;
        if (LogExists()) {
            bool eof = false;
            for (const auto& r : service_.TraceOf("pap.read"))
                eof = eof || (r["result"] == 0 && r["out"].is_object() && r["out"].value("eof", false));
            logBeforeEOF = logBeforeEOF || !eof;
        }
    });
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(sawPrinterError) << "the status poll showed the held job";
    EXPECT_FALSE(logBeforeEOF) << "the line waits for the printer's EOF";
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Status: Printer Rename in progress ..."), statuses.end());
    EXPECT_EQ(attest::ReadFile(LogPath()), "Renamed Printer Desk LW to Reception Desk \r\n");
    const auto renamed = Events("printer renamed");
    ASSERT_EQ(renamed.size(), 1u);
    EXPECT_EQ(renamed[0]["from"], "Desk LW");
    EXPECT_EQ(renamed[0]["to"], "Reception Desk");
    EXPECT_EQ(attest::ReadFile(folder_ + "Response.txt"), "%%[ exitserver: permanent state may be changed ]%%\r\n");
    ExpectBlocksFreed();

    // A later lookup of the dialog finds the new name.
    std::vector<std::string> printers;
    RunDialog([&](HWND dialog) {
        printers = ListItems(GetDlgItem(dialog, IDC_REN_PRINTERS));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(printers, (std::vector<std::string>{"Gone LW", "Reception Desk", "Slow LW"}));
}

TEST_F(RenameDialog, APrinterThatRefusesTheNameIsReportedAndNothingLogged)
{
    ASSERT_TRUE(service_.Start(kLockedWorld));
    bool pressed = false;
    RunDialog([&](HWND dialog) {
        if (!pressed) {
            pressed = true;
            Select(dialog, "Reception LaserWriter");
            Type(dialog, "Lobby");
            Press(dialog, IDOK);
        }
    });
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "The printer Reception LaserWriter refused the new name \"Lobby\" and keeps its "
                                 "name.\n\n%%[ Error: invalidaccess; OffendingCommand: exitserver ]%%");
    EXPECT_EQ(messages_[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(service_.TraceOf("pap.write").size(), 1u);
    EXPECT_TRUE(Events("printer renamed").empty());
    EXPECT_FALSE(LogExists());
    EXPECT_EQ(LookUp("Front Office"), std::vector<std::string>{"Reception LaserWriter"});
    ExpectBlocksFreed();
}

TEST_F(RenameDialog, AFailedOpenAndCancelLeaveTheNameAndFreeTheBlock)
{
    ASSERT_TRUE(service_.Start(kWorld));
    bool pressed = false;
    RunDialog([&](HWND dialog) {
        if (!pressed) {
            pressed = true;
            Select(dialog, "Gone LW");
            Type(dialog, "Taken Over");
            Press(dialog, IDOK);
        }
    });
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "The printer Gone LW could not be found on the network");
    EXPECT_EQ(messages_[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_TRUE(service_.TraceOf("pap.write").empty());

    // Esc (as Cancel) while the open of a slow printer waits: the open is
    // cancelled.
    int step = 0;
    RunDialog([&](HWND dialog) {
        if (step == 0) {
            step = 1;
            Select(dialog, "Slow LW");
            Type(dialog, "Fast LW");
            Press(dialog, IDOK);
        } else if (step == 1 && ItemText(dialog, IDC_REN_STATUS) == "Status: Opening Printer") {
            step = 2;
            dtest::PressEsc(dialog);
        }
    });
    EXPECT_EQ(step, 2);
    EXPECT_EQ(messages_.size(), 1u);
    const auto opens = service_.AwaitTraceOf("pap.open", 2);
    ASSERT_EQ(opens.size(), 2u);
    EXPECT_EQ(opens[1]["result"], -1105) << "the open ended by its cancel";
    bool cancelledTheOpen = false;
    for (const auto& c : service_.TraceOf("pap.cancel"))
        cancelledTheOpen = cancelledTheOpen || c["in"]["target"] == opens[1]["in"]["reqid"];
    EXPECT_TRUE(cancelledTheOpen);
    EXPECT_TRUE(service_.TraceOf("pap.write").empty());
    EXPECT_TRUE(Events("printer renamed").empty());
    EXPECT_FALSE(LogExists());
    EXPECT_EQ(LookUp("Front Office"), (std::vector<std::string>{"Desk LW", "Gone LW", "Slow LW"}));
    ExpectBlocksFreed();
}

}  // namespace
