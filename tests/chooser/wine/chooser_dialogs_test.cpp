// VSXAU20's chooser and status window through their real dialogs, on the
// real stack against a real atnetd on the sample world.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "dialog_driver.h"
#include "dialog_watchdog.h"
#include "molven32.h"
#include "mru_printer_box.h"
#include "recent_printers.h"
#include "nbp_names.h"
#include "vsxau20.h"

namespace {

using dtest::ItemText;
using dtest::ListItems;
using dtest::Press;

// The chooser's controls (chooser/chooser_ids.h).
constexpr int kZones = 2001;
constexpr int kPrinters = 2002;
constexpr int kMessage = 2003;
constexpr int kStatusPrinter = 2011;
constexpr int kStatusText = 2012;

int SelectedIndex(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

void SelectZone(HWND dialog, const char* zone)
{
    HWND zones = GetDlgItem(dialog, kZones);
    const LRESULT at = SendMessageA(zones, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(zone));
    SendMessageA(zones, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kZones, LBN_SELCHANGE), reinterpret_cast<LPARAM>(zones));
}

class ChooserDialogs : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service_.StartWorldFile(attest::WinePath(SAMPLE_WORLD))); }
    attest::AtnetdProcess service_;
};

TEST_F(ChooserDialogs, ListsSortedZonesAndPrintersAndMakesTheChoiceTheDefault)
{
    std::vector<std::string> zones, engineering, warehouse;
    std::string selectedAtStart, emptyZoneMessage;
    int step = 0;
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (!dialog || caption != "Chooser")
            return;
        HWND printers = GetDlgItem(dialog, kPrinters);
        const auto shown = ListItems(printers);
        if (step == 0 && !shown.empty()) {  // the default printer's zone came up first
            zones = ListItems(GetDlgItem(dialog, kZones));
            engineering = shown;
            selectedAtStart = shown[static_cast<std::size_t>(SelectedIndex(printers))];
            dtest::SaveScreenshot(dialog, "chooser");
            SelectZone(dialog, "Warehouse");
            step = 1;
        } else if (step == 1 && ItemText(dialog, kMessage) == "There are no printers in this zone.") {
            warehouse = shown;
            emptyZoneMessage = ItemText(dialog, kMessage);
            SelectZone(dialog, "Marketing");
            step = 2;
        } else if (step == 2 && shown == std::vector<std::string>{"Marketing Color LW"}) {
            Press(dialog, IDOK);
            step = 3;
        }
    });
    _NBPTuple buffer{};
    EXPECT_EQ(VSXDeviceChooser(&buffer, 1, nullptr), 0);
    ASSERT_EQ(step, 3);
    EXPECT_EQ(zones, (std::vector<std::string>{"Accounting", "AppleShare IP Hosts", "Design Studio", "Engineering",
                                               "Front Office", "Marketing", "Warehouse"}));
    EXPECT_EQ(engineering, (std::vector<std::string>{"Lab LaserWriter II", "LaserWriter Pro 630"}))
        << "sorted, LaserWriters only";
    EXPECT_EQ(selectedAtStart, "LaserWriter Pro 630") << "the current default";
    EXPECT_TRUE(warehouse.empty());
    _NBPTuple chosen{};
    ASSERT_EQ(PAPGetDefaultPrinter(&chosen), 0);
    EXPECT_EQ(NBPSlotText(chosen.object), "Marketing Color LW");
    EXPECT_EQ(NBPSlotText(chosen.zone), "Marketing");
    EXPECT_EQ(NBPSlotText(buffer.object), "Marketing Color LW");
}

TEST(ChooserWithoutZones, LooksPrintersUpInStarAndChoosesOne)
{
    attest::AtnetdProcess service;
    ASSERT_TRUE(service.StartWorldFile(attest::WinePath(NOZONES_WORLD)));
    std::vector<std::string> zones, printers;
    const DWORD start = GetTickCount();
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (!dialog || caption != "Chooser")
            return;
        printers = ListItems(GetDlgItem(dialog, kPrinters));
        zones = ListItems(GetDlgItem(dialog, kZones));
        if (!printers.empty())
            Press(dialog, IDOK);
        else if (GetTickCount() - start > 10000)
            Press(dialog, IDCANCEL);  // no printer ever came
    });
    _NBPTuple buffer{};
    EXPECT_EQ(VSXDeviceChooser(&buffer, 1, nullptr), 0);
    EXPECT_EQ(zones, std::vector<std::string>{"Isolated AppleTalk Network"});
    EXPECT_EQ(printers, std::vector<std::string>{"Lonely LW"});
    const auto lookups = service.TraceOf("nbp.lookup");
    ASSERT_FALSE(lookups.empty());
    EXPECT_EQ(lookups.back()["in"]["zone"], "*");
    _NBPTuple chosen{};
    ASSERT_EQ(PAPGetDefaultPrinter(&chosen), 0);
    EXPECT_EQ(NBPSlotText(chosen.object), "Lonely LW");
}

TEST_F(ChooserDialogs, CancelKeepsTheDefaultPrinter)
{
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (dialog && caption == "Chooser" && !ListItems(GetDlgItem(dialog, kPrinters)).empty()) {
            SendMessageA(GetDlgItem(dialog, kPrinters), LB_SETCURSEL, 0, 0);
            Press(dialog, IDCANCEL);
        }
    });
    _NBPTuple buffer{};
    EXPECT_NE(VSXDeviceChooser(&buffer, 1, nullptr), 0);
    _NBPTuple current{};
    ASSERT_EQ(PAPGetDefaultPrinter(&current), 0);
    EXPECT_EQ(NBPSlotText(current.object), "LaserWriter Pro 630");
}

TEST_F(ChooserDialogs, TheStatusWindowShowsTheDefaultPrintersStatus)
{
    const _NBPTuple lab = NBPMakeTuple("Lab LaserWriter II", "LaserWriter", "Engineering");
    ASSERT_EQ(PAPSetDefaultPrinter(&lab), 0);
    std::string name, status;
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (!dialog || caption != "Printer Status")
            return;
        name = ItemText(dialog, kStatusPrinter);
        status = ItemText(dialog, kStatusText);
        if (status.rfind("status:", 0) == 0) {
            dtest::SaveScreenshot(dialog, "printer_status");
            Press(dialog, IDCANCEL);
        }
    });
    const DWORD start = GetTickCount();
    VSXPrinterStatus(nullptr);
    EXPECT_LT(GetTickCount() - start, 15000u);
    EXPECT_EQ(name, "Lab LaserWriter II:LaserWriter@Engineering");
    EXPECT_EQ(status.rfind("status:", 0), 0u) << status;
    EXPECT_GE(service_.TraceOf("pap.status").size(), 1u);
    EXPECT_EQ(service_.AwaitTraceOf("mpp.free", 1).size(), 1u) << "the request block went back";
}

TEST(StatusWindowWithoutAPrinter, TellsNoPrinterChosenFromNoNetwork)
{
    attest::AtnetdProcess service;
    ASSERT_TRUE(service.StartWorldFile(attest::WinePath(NOZONES_WORLD)));  // no default printer
    std::string printer, text;
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (dialog && caption == "Printer Status") {
            printer = ItemText(dialog, kStatusPrinter);
            text = ItemText(dialog, kStatusText);
            Press(dialog, IDCANCEL);
        }
    });
    VSXPrinterStatus(nullptr);
    EXPECT_EQ(printer, "(none)");
    EXPECT_EQ(text, "No printer has been chosen. Use Choose... on the Printer menu.");

    service.Kill();
    VSXPrinterStatus(nullptr);
    EXPECT_EQ(printer, "(unknown)");
    EXPECT_EQ(text, "The AppleTalk network cannot be reached.");
}

TEST_F(ChooserDialogs, ARecentPrinterTakenIsLookedUpForItsAddress)
{
    // Recent printers are stored by name; the box finds where they are now.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VESTREL\\VSXAU20");
    ASSERT_TRUE(SaveRecentPrinters({"Marketing Color LW:LaserWriter@Marketing", "Gone LW:LaserWriter@Marketing"}));
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ZMRUPrinterBox box;
    ASSERT_TRUE(box.SubclassWindow(combo));
    const _NBPTuple current = NBPMakeTuple("LaserWriter Pro 630", "LaserWriter", "Engineering");
    auto take = [&](int index) {
        box.LoadPrinterList(current);
        box.SetCurSel(index);
        _NBPTuple printer = current;
        box.GetCurSelPrinter(&printer);
        return printer;
    };
    const _NBPTuple found = take(1);
    EXPECT_EQ(NBPSlotText(found.object), "Marketing Color LW");
    EXPECT_EQ(NBPSlotText(found.zone), "Marketing");
    EXPECT_EQ(found.network, 1007);
    EXPECT_EQ(found.node, 90);
    EXPECT_EQ(found.socket, 129);
    const auto lookups = service_.TraceOf("nbp.lookup");
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0]["in"]["object"], "Marketing Color LW");

    const _NBPTuple gone = take(2);  // the list now: current, Marketing Color LW, Gone LW
    EXPECT_EQ(NBPSlotText(gone.object), "Gone LW");
    EXPECT_EQ(gone.network, 0);
    EXPECT_EQ(gone.node, 0);
    DestroyWindow(combo);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VESTREL\\VSXAU20");
}

}  // namespace
