// Network > Information through the real sheet, its pages and the Select
// Current Zone dialog against atnetd: what the pages show, what reaches the
// stack on Apply, OK and Cancel (the service's trace), the failures, and
// help from either page.
#include <map>

#include "dialog_script.h"
#include "lookup_fixture.h"
#include "molven32.h"
#include "netinfo_block.h"

namespace {

using vtest::DialogScript;
using vtest::HelpWindow;

const int kApplyButton = 0x3021;  // the sheet's Apply button

HWND PageOf(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::string PageText(HWND sheet, int id)
{
    return DialogScript::ItemText(PageOf(sheet), id);
}

void PressSheet(HWND sheet, int button)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
}

class NetInfoSheet : public LookupWindowTest {
protected:
    DialogScript script;

    // Network > Information, run until the sheet closes.
    void RunSheet() { frame->SendMessage(WM_COMMAND, ID_NETWORK_INFORMATION, 0); }
    size_t ZoneChanges() const { return service.TraceOf("at.setzone").size(); }
    std::string MyZone() const
    {
        char zone[kATZoneNameSize] = "";
        return ZIPGetMyZone(zone) == 0 ? zone : "?";
    }
    // General page: Change..., then `pick` in the zone dialog and OK; then
    // `after` on the sheet.
    void PickZone(HWND sheet, const char* pick, DialogScript::Step after)
    {
        DialogScript::Press(PageOf(sheet), IDC_NET_CHANGE_ZONE);
        script.Then([pick, sheet, after](HWND zones) {
            SendMessageA(GetDlgItem(zones, IDC_SELECT_ZONE_LIST), LB_SELECTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(pick));
            DialogScript::Press(zones, IDOK);
            DialogScript::After(sheet, 150, after);
        });
    }
};

TEST_F(NetInfoSheet, PagesShowAddressRangeZoneAndAdapter)
{
    StartWorldFile(ONEZONE_WORLD);
    std::map<std::string, std::string> seen;
    script.Then([&seen](HWND sheet) {
        seen["caption"] = DialogScript::Text(sheet);
        seen["address"] = PageText(sheet, IDC_NET_ADDRESS);
        seen["range"] = PageText(sheet, IDC_NET_RANGE);
        seen["zone"] = PageText(sheet, IDC_NET_ZONE);
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        seen["adapter"] = PageText(sheet, IDC_ADAPTER_ADDRESS);
        PressSheet(sheet, PSBTN_CANCEL);
    });
    RunSheet();
    EXPECT_EQ(seen["caption"], "Quarnet Utility");
    EXPECT_EQ(seen["address"], "1234 56 (04D2 38)");
    EXPECT_EQ(seen["range"], "1200-1300");
    EXPECT_EQ(seen["zone"], "Lab");
    EXPECT_EQ(seen["adapter"], "00.A0.24.1B.2C.3D\n");
    EXPECT_EQ(service.TraceOf("at.netinfo").size(), 2u);  // one per page
    EXPECT_EQ(ZoneChanges(), 0u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(NetInfoSheet, ANetworkWithoutZonesLeavesTheZoneUnknown)
{
    StartWorldFile(NOZONES_WORLD);
    std::string zone, address;
    script.Then([&](HWND sheet) {
        zone = PageText(sheet, IDC_NET_ZONE);
        address = PageText(sheet, IDC_NET_ADDRESS);
        PressSheet(sheet, PSBTN_CANCEL);
    });
    RunSheet();
    EXPECT_EQ(zone, "Unknown");
    EXPECT_EQ(address, "65280 9 (FF00 09)");
}

TEST_F(NetInfoSheet, APickCancelledWithTheSheetSendsNothing)
{
    Start(SampleWorldTaking(40));
    std::string shown;
    bool applyLit = false;
    script.Then([&](HWND sheet) {
        PickZone(sheet, "Marketing", [&](HWND s) {
            shown = PageText(s, IDC_NET_ZONE);
            applyLit = IsWindowEnabled(GetDlgItem(s, kApplyButton)) != FALSE;
            PressSheet(s, PSBTN_CANCEL);
        });
    });
    RunSheet();
    EXPECT_EQ(shown, "Marketing");
    EXPECT_TRUE(applyLit);
    EXPECT_EQ(ZoneChanges(), 0u);
    EXPECT_EQ(MyZone(), "Engineering");
}

TEST_F(NetInfoSheet, ApplyThenOkSendsOneZoneChangeWhichTheStackThenReports)
{
    Start(SampleWorldTaking(40));
    bool applyLitAfter = true;
    script.Then([&](HWND sheet) {
        PickZone(sheet, "Front Office", [&](HWND s) {
            PressSheet(s, PSBTN_APPLYNOW);
            DialogScript::After(s, 150, [&](HWND s2) {
                applyLitAfter = IsWindowEnabled(GetDlgItem(s2, kApplyButton)) != FALSE;
                PressSheet(s2, PSBTN_OK);
            });
        });
    });
    RunSheet();
    EXPECT_FALSE(applyLitAfter);
    const auto changes = service.TraceOf("at.setzone");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0]["in"].value("zone", ""), "Front Office");
    EXPECT_EQ(changes[0]["in"].value("rangeFirst", 0), 3);
    EXPECT_EQ(MyZone(), "Front Office");

    // The service keeps it: a new start of the service still reports it.
    ASSERT_TRUE(service.Restart());
    EXPECT_EQ(MyZone(), "Front Office");
}

TEST_F(NetInfoSheet, AZoneChangeTheStackRefusesSaysSoAndKeepsApplyEnabled)
{
    Start(SampleWorldTaking(40));
    bool applyLit = false;
    script.Then([&](HWND sheet) {
        PickZone(sheet, "Marketing", [&](HWND s) {
            service.Kill();  // the zone change cannot reach the stack
            PressSheet(s, PSBTN_APPLYNOW);
            DialogScript::After(s, 200, [&](HWND s2) {
                applyLit = IsWindowEnabled(GetDlgItem(s2, kApplyButton)) != FALSE;
                PressSheet(s2, PSBTN_CANCEL);
            });
        });
    });
    RunSheet();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not change AppleTalk current zone");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(applyLit);
}

TEST_F(NetInfoSheet, WithoutTheStackThePageSaysSoAndTheSheetCloses)
{
    Start(SampleWorldTaking(40));
    service.Kill();
    script.Then([](HWND sheet) { DialogScript::After(sheet, 3000, [](HWND s) { PressSheet(s, PSBTN_OK); }); });
    const DWORD start = GetTickCount();
    RunSheet();
    EXPECT_LT(GetTickCount() - start, 2500u) << "the sheet closed by itself";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not access Kestra32.DLL");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(NetInfoSheet, TheZoneDialogOfOneZoneHasItChosenAndItsListDisabled)
{
    StartWorldFile(ONEZONE_WORLD);
    std::string chosen;
    bool listEnabled = true;
    script.Then([&](HWND sheet) {
        DialogScript::Press(PageOf(sheet), IDC_NET_CHANGE_ZONE);
        script.Then([&, sheet](HWND zones) {
            HWND list = GetDlgItem(zones, IDC_SELECT_ZONE_LIST);
            const int selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
            char text[64] = "";
            SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
            chosen = text;
            listEnabled = IsWindowEnabled(list) != FALSE;
            DialogScript::Press(zones, IDOK);
            DialogScript::After(sheet, 150, [](HWND s) { PressSheet(s, PSBTN_OK); });
        });
    });
    RunSheet();
    EXPECT_EQ(chosen, "Lab");
    EXPECT_FALSE(listEnabled);
    EXPECT_EQ(ZoneChanges(), 1u) << "OK takes the one zone, and the sheet's OK sends it";
}

TEST_F(NetInfoSheet, ADoubleClickTakesTheZoneAndOkWithoutOneKeepsTheDialogOpen)
{
    Start(SampleWorldTaking(40));
    bool stayedOpen = false;
    std::string shown;
    script.Then([&](HWND sheet) {
        DialogScript::Press(PageOf(sheet), IDC_NET_CHANGE_ZONE);
        script.Then([&, sheet](HWND zones) {
            HWND list = GetDlgItem(zones, IDC_SELECT_ZONE_LIST);
            SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            SendMessageA(zones, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(zones, IDOK)));
            stayedOpen = IsWindow(zones) && IsWindowVisible(zones);
            SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Marketing"));
            SendMessageA(zones, WM_COMMAND, MAKEWPARAM(IDC_SELECT_ZONE_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
            DialogScript::After(sheet, 150, [&](HWND s) {
                shown = PageText(s, IDC_NET_ZONE);
                PressSheet(s, PSBTN_CANCEL);
            });
        });
    });
    RunSheet();
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(shown, "Marketing");
    EXPECT_EQ(ZoneChanges(), 0u);
}

TEST_F(NetInfoSheet, WithoutZonesTheZoneDialogSaysSoAndOffersOnlyCancel)
{
    StartWorldFile(NOZONES_WORLD);
    bool okEnabled = true;
    script.Then([&](HWND sheet) {
        DialogScript::Press(PageOf(sheet), IDC_NET_CHANGE_ZONE);
        script.Then([&, sheet](HWND zones) {
            okEnabled = IsWindowEnabled(GetDlgItem(zones, IDOK)) != FALSE;
            DialogScript::Press(zones, IDCANCEL);
            DialogScript::After(sheet, 150, [](HWND s) { PressSheet(s, PSBTN_OK); });
        });
    });
    RunSheet();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "NBP Lookup:  No  Zones found!");
    EXPECT_EQ(boxes[0].caption, "Change Local  Zone Not Available");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(ZoneChanges(), 0u);
}

TEST_F(NetInfoSheet, F1OnEitherPageAsksForTheUtilitiesHelpTopic)
{
    Start(SampleWorldTaking(40));
    HelpWindow help;
    const UINT kKeyF1Message = 0x004D;  // what the system posts for the F1 key
    script.Then([kKeyF1Message](HWND sheet) {
        SendMessageA(GetDlgItem(PageOf(sheet), IDC_NET_CHANGE_ZONE), kKeyF1Message, 0, 0);
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        SendMessageA(GetDlgItem(sheet, IDOK), kKeyF1Message, 0, 0);
        PressSheet(sheet, PSBTN_CANCEL);
    });
    RunSheet();
    const auto& asked = HelpWindow::s_requests;
    ASSERT_EQ(asked.size(), 2u);
    for (const auto& request : asked) {
        EXPECT_EQ(request.command, static_cast<UINT>(HELP_CONTEXT));
        EXPECT_EQ(request.data, 1050);
    }
}

}  // namespace
