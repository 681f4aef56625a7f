// The lookup window through its real frame, form and list against atnetd:
// the zone list, the lookups it starts, what the list shows, sorting, Stop
// Lookup, closing, saving and the framework commands it enables.
#include <algorithm>

#include "dialog_script.h"
#include "lookup_fixture.h"
#include "util/child_frames.h"

namespace {

const char kIsolated[] = "Isolated AppleTalk Network";

TEST_F(LookupWindowTest, OpensOnTheWorkstationsZoneAndListsItsDevicesWithIconsAndAddresses)
{
    Start(SampleWorldTaking(60));
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    // Until the zone list is read nothing can be chosen.
    EXPECT_FALSE(IsWindowEnabled(view->m_zoneCombo.m_hWnd));
    EXPECT_FALSE(IsWindowEnabled(view->m_list.m_hWnd));
    ASSERT_TRUE(WaitForLookup(view));

    // Every zone but the TCP/IP servers' one, sorted; the workstation's chosen.
    EXPECT_EQ(Zones(view), (std::vector<std::string>{"Accounting", "Design Studio", "Engineering", "Front Office",
                                                      "Marketing", "Warehouse"}));
    EXPECT_EQ(SelectedZone(view), "Engineering");
    EXPECT_EQ(LookedUpZones(), (std::vector<std::string>{"Engineering"}));

    const auto rows = Rows(view);
    EXPECT_EQ(Status(view), " Found " + std::to_string(rows.size()) + " devices in Zone Engineering");
    auto has = [&rows](const std::string& row) { return std::find(rows.begin(), rows.end(), row) != rows.end(); };
    EXPECT_TRUE(has("Anna's PC|VestrelNode| 1004  17   4|0"));
    auto starts = [&rows](const std::string& prefix) {
        return std::any_of(rows.begin(), rows.end(), [&prefix](const std::string& r) { return r.rfind(prefix, 0) == 0; });
    };
    EXPECT_TRUE(starts("Engineering Server|AFPServer|"));
    EXPECT_TRUE(starts("LaserWriter Pro 630|LaserWriter|"));
    EXPECT_TRUE(starts("ImageWriter LQ|ImageWriter|"));
    EXPECT_TRUE(starts("Vestrel PC|VestrelNode|"));
    for (const std::string& row : rows) {
        const std::string type = row.substr(row.find('|') + 1, row.find('|', row.find('|') + 1) - row.find('|') - 1);
        const char image = row.back();
        if (type == "VestrelNode")
            EXPECT_EQ(image, '0') << row;
        else if (type == "AFPServer")
            EXPECT_EQ(image, '1') << row;
        else if (type == "LaserWriter")
            EXPECT_EQ(image, '2') << row;
        else
            EXPECT_EQ(image, '3') << row;
    }
    EXPECT_TRUE(has("Engineering Router|AppleRouter| 1000   1   8|3"));
    EXPECT_TRUE(IsWindowEnabled(view->m_zoneCombo.m_hWnd));
    EXPECT_TRUE(IsWindowEnabled(view->m_list.m_hWnd));

    // The caption is the type's window title; the frame keeps its fitted size.
    CFrameWnd* child = view->GetParentFrame();
    EXPECT_EQ(child->GetWindowText(), "Exploring - AppleTalk Network");
    auto* sized = dynamic_cast<CSizeLimitedChildFrame*>(child);
    ASSERT_NE(sized, nullptr);
    EXPECT_GT(sized->m_nMaxWidth, 0);
    for (UINT id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_SAVE, ID_FILE_SAVE_AS})
        EXPECT_TRUE(QueryCommandState(frame, id).enabled) << id;
}

TEST_F(LookupWindowTest, TheTypeDecidesTheImageInAnyLetterCase)
{
    Start(SampleWorldTaking(40));
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(CVestrelLookupView::ImageOfType("VestrelNode"), 0);
    EXPECT_EQ(CVestrelLookupView::ImageOfType("afpserver"), 1);
    EXPECT_EQ(CVestrelLookupView::ImageOfType("AFPSERVER"), 1);
    EXPECT_EQ(CVestrelLookupView::ImageOfType("LaserWriter"), 2);
    EXPECT_EQ(CVestrelLookupView::ImageOfType("ImageWriter"), 3);
    EXPECT_EQ(CVestrelLookupView::ImageOfType(""), 3);
    // Four images in each list, one per kind.
    EXPECT_EQ(ImageList_GetImageCount(view->m_pSmallImages), 4);
    EXPECT_EQ(ImageList_GetImageCount(view->m_pLargeImages), 4);
}

TEST_F(LookupWindowTest, ANetworkWithoutZonesIsTheIsolatedNetworkLookedUpInStar)
{
    StartWorldFile(NOZONES_WORLD);
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(WaitForLookup(view));
    EXPECT_EQ(Zones(view), (std::vector<std::string>{kIsolated}));
    EXPECT_EQ(SelectedZone(view), kIsolated);
    EXPECT_EQ(Status(view), " Found 3 devices in Zone *");
    const auto rows = Rows(view);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Bridge|AppleRouter|65280       4|3"), rows.end());
    EXPECT_EQ(LookedUpZones(), (std::vector<std::string>{"*"}));

    // Choosing it again looks up "*" again.
    ChooseZone(view, kIsolated);
    ASSERT_TRUE(WaitForLookup(view));
    EXPECT_EQ(LookedUpZones(), (std::vector<std::string>{"*", "*"}));
}

TEST_F(LookupWindowTest, ANetworkOfOneZoneListsItBeforeTheIsolatedNetworkAndLooksItUpByName)
{
    StartWorldFile(ONEZONE_WORLD);
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(WaitForLookup(view));
    EXPECT_EQ(Zones(view), (std::vector<std::string>{kIsolated, "Lab"}));
    EXPECT_EQ(SelectedZone(view), "Lab");
    EXPECT_EQ(Status(view), " Found 3 devices in Zone Lab");

    ChooseZone(view, kIsolated);
    ASSERT_TRUE(WaitForLookup(view));
    EXPECT_EQ(Status(view), " Found 3 devices in Zone *");
    EXPECT_EQ(LookedUpZones(), (std::vector<std::string>{"Lab", "*"}));
}

TEST_F(LookupWindowTest, WithoutTheServiceTheWindowOffersTheIsolatedNetworkAndNoMessage)
{
    Start(SampleWorldTaking(40));
    service.Kill();
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(WaitForLookup(view));
    EXPECT_EQ(Zones(view), (std::vector<std::string>{kIsolated}));
    EXPECT_EQ(SelectedZone(view), kIsolated);
    EXPECT_TRUE(IsWindowEnabled(view->m_zoneCombo.m_hWnd));
    EXPECT_EQ(Status(view), " Looking for devices in Zone *");
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(LookupWindowTest, EveryCloseUpLooksUpTheChosenZoneAndAnEmptyZoneSaysSo)
{
    Start(SampleWorldTaking(150));
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(WaitForLookup(view));

    ChooseZone(view, "Marketing");
    // While the lookup runs: the old rows are gone and the lists are disabled.
    EXPECT_EQ(Status(view), " Looking for devices in Zone Marketing");
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
    EXPECT_FALSE(IsWindowEnabled(view->m_zoneCombo.m_hWnd));
    EXPECT_FALSE(IsWindowEnabled(view->m_list.m_hWnd));
    ASSERT_TRUE(WaitForLookup(view));
    const auto marketing = Column(view, 0);
    EXPECT_NE(std::find(marketing.begin(), marketing.end(), "Sales Desk"), marketing.end());

    // Closing the list without changing the zone looks it up again.
    ChooseZone(view, "Marketing");
    ASSERT_TRUE(WaitForLookup(view));

    ChooseZone(view, "Warehouse");
    ASSERT_TRUE(WaitForLookup(view));
    EXPECT_EQ(Status(view), " No devices found in Zone Warehouse");
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
    EXPECT_FALSE(IsWindowEnabled(view->m_list.m_hWnd));
    for (UINT id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_SAVE, ID_FILE_SAVE_AS})
        EXPECT_FALSE(QueryCommandState(frame, id).enabled) << id;
    EXPECT_EQ(LookedUpZones(), (std::vector<std::string>{"Engineering", "Marketing", "Marketing", "Warehouse"}));
}

TEST_F(LookupWindowTest, StopLookupEndsTheLookupAndAnotherCloseUpStartsAgain)
{
    Start(SampleWorldTaking(1500));
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(PumpUntil([view] { return view->m_hZoneEnum == 0 && view->m_hLookup != 0; }));

    // Alt+L, as the message loop translates it, reaches the button through
    // the accelerator table.
    MSG altL{view->m_hWnd, WM_SYSKEYDOWN, 'L', 0x20000000, 0, {0, 0}};
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);
    const BOOL taken = app->PreTranslateMessage(&altL);
    keys[VK_MENU] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(taken);
    EXPECT_EQ(view->m_hLookup, 0u);
    EXPECT_EQ(Status(view), " Looking for devices in Zone Engineering");
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
    EXPECT_FALSE(IsWindowEnabled(view->m_list.m_hWnd));
    EXPECT_TRUE(IsWindowEnabled(view->m_zoneCombo.m_hWnd));
    EXPECT_EQ(service.AwaitTraceOf("enum.end", 2).size(), 2u);  // ZIPCloseEnum, NBPCloseEnum
    EXPECT_EQ(service.TraceOf("enum.end").back()["in"].value("call", ""), "NBPCloseEnum");

    ChooseZone(view, "Engineering");
    ASSERT_TRUE(WaitForLookup(view));
    EXPECT_NE(Status(view).find(" Found "), std::string::npos);
}

TEST_F(LookupWindowTest, ATickDuringATickDoesNothing)
{
    Start(SampleWorldTaking(100));
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(PumpUntil([view] { return view->m_hZoneEnum == 0 && view->m_hLookup != 0; }));
    // As if a tick were still being handled: the lookup's answer waits.
    view->m_nTimerDepth = 1;
    ASSERT_TRUE(PumpUntil([view] { return NBPEnumStatus(view->m_hLookup) != kATResultPending; }));
    PumpUntil([] { return false; }, 400);
    EXPECT_NE(view->m_hLookup, 0u);
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
    EXPECT_EQ(view->m_nTimerDepth, 1);

    view->m_nTimerDepth = 0;
    ASSERT_TRUE(WaitForLookup(view));
    EXPECT_GT(view->m_list.GetItemCount(), 0);
    EXPECT_EQ(view->m_nTimerDepth, 0);
}

TEST_F(LookupWindowTest, TheHourglassShowsAtOnceWhileALookupRuns)
{
    Start(SampleWorldTaking(300));
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(WaitForLookup(view));
    RECT client;
    view->GetClientRect(&client);
    MapWindowPoints(view->m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    auto cursorY = [] {
        POINT at{};
        GetCursorPos(&at);
        return at.y;
    };
    auto shown = [view] {
        view->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(view->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };

    // Inside the form the cursor moves a pixel up when the shape changes,
    // and back down when the lookup ends.
    const int middle = (client.top + client.bottom) / 2;
    ASSERT_TRUE(SetCursorPos((client.left + client.right) / 2, middle));
    ChooseZone(view, "Marketing");
    EXPECT_EQ(cursorY(), middle - 1);
    EXPECT_EQ(shown(), LoadCursor(nullptr, IDC_WAIT));
    ASSERT_TRUE(WaitForLookup(view));
    EXPECT_EQ(cursorY(), middle - 2);
    EXPECT_NE(shown(), LoadCursor(nullptr, IDC_WAIT));

    // On the top row it moves down instead; outside the form not at all.
    SetCursorPos(client.left + 5, client.top);
    ChooseZone(view, "Marketing");
    EXPECT_EQ(cursorY(), client.top + 1);
    ASSERT_TRUE(WaitForLookup(view));
    SetCursorPos(client.left + 5, client.top - 3);
    ChooseZone(view, "Marketing");
    EXPECT_EQ(cursorY(), client.top - 3);
    ASSERT_TRUE(WaitForLookup(view));
}

TEST_F(LookupWindowTest, ALookupTakesAtMost1024Names)
{
    Start(CrowdedZoneWorld(1100));
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(WaitForLookup(view, 20000));
    EXPECT_EQ(SelectedZone(view), "Crowd");
    EXPECT_EQ(view->m_list.GetItemCount(), 1024);
    EXPECT_EQ(Status(view), " Found 1024 devices in Zone Crowd");
}

TEST_F(LookupWindowTest, ClosingTheWindowOrCancelEndsAPendingLookupInTheStack)
{
    Start(SampleWorldTaking(3000));
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(PumpUntil([view] { return view->m_hZoneEnum == 0 && view->m_hLookup != 0; }));
    view->GetParentFrame()->SendMessage(WM_CLOSE);
    PumpWaitingMessages();
    EXPECT_TRUE(app->m_pLookupTemplate->GetDocuments().empty());
    auto notes = service.AwaitTraceOf("enum.end", 2);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1]["in"].value("call", ""), "NBPCloseEnum");
    // The service ended the lookup before it had its answer.
    const auto lookups = service.TraceOf("nbp.lookup");
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_TRUE(lookups[0]["out"].value("ended", false)) << lookups[0].dump();

    view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(PumpUntil([view] { return view->m_hZoneEnum == 0 && view->m_hLookup != 0; }));
    Press(view, IDC_LOOKUP_CANCEL);
    PumpWaitingMessages();
    EXPECT_TRUE(app->m_pLookupTemplate->GetDocuments().empty());
    EXPECT_EQ(service.AwaitTraceOf("enum.end", 4).size(), 4u);
    EXPECT_EQ(service.TraceOf("enum.end").back()["in"].value("call", ""), "NBPCloseEnum");
    ASSERT_EQ(service.TraceOf("nbp.lookup").size(), 2u);
    EXPECT_TRUE(service.TraceOf("nbp.lookup").back()["out"].value("ended", false));
}

TEST_F(LookupWindowTest, SortingByAColumnIsAscendingAndStaysSoWhenRepeated)
{
    Start(SampleWorldTaking(40));
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(WaitForLookup(view));
    ASSERT_GT(view->m_list.GetItemCount(), 5);
    auto ascending = [](const std::vector<std::string>& texts) {
        return std::is_sorted(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
            return lstrcmpiA(a.c_str(), b.c_str()) < 0;
        });
    };
    for (int column : {0, 2, 1}) {
        ClickHeader(view, column);
        EXPECT_TRUE(ascending(Column(view, column))) << column;
    }
    const auto once = Rows(view);
    ClickHeader(view, 1);
    EXPECT_EQ(Rows(view), once) << "a second click leaves the order as it was";
}

TEST_F(LookupWindowTest, SaveWritesOneCrLfLinePerDeviceInListOrderAndKeepsTheCaption)
{
    Start(SampleWorldTaking(40));
    CVestrelLookupView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(WaitForLookup(view));
    ClickHeader(view, 0);
    const std::string path = service.Dir() + "listing.txt";
    {
        vtest::DialogScript script;
        script.Then([&path](HWND dialog) {
            HWND name = GetDlgItem(dialog, 0x47C);
            SetWindowTextA(name ? name : GetDlgItem(dialog, 0x480), path.c_str());
            vtest::DialogScript::Press(dialog, IDOK);
        });
        // File > "&Save" is Save As: it always asks for a name.
        frame->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS, 0);
        EXPECT_EQ(script.Pending(), 0u);
    }
    std::string expected;
    for (int i = 0; i < view->m_list.GetItemCount(); ++i)
        expected += view->m_list.GetItemText(i, 0) + "  " + view->m_list.GetItemText(i, 1) + "  " +
                    view->m_list.GetItemText(i, 2) + "\r\n";
    const std::string written = attest::ReadFile(path);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(static_cast<int>(std::count(written.begin(), written.end(), '\n')), view->m_list.GetItemCount());
    EXPECT_EQ(view->GetParentFrame()->GetWindowText(), "Exploring - AppleTalk Network");
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_TRUE(boxes.empty());

    // Opening a listing gives a new, empty window that looks up anew.
    const size_t lookupsBefore = service.TraceOf("zip.zones").size();
    ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr);
    auto* opened = dynamic_cast<CVestrelLookupView*>(app->m_pLookupTemplate->GetDocuments().back()->GetViews().front());
    ASSERT_NE(opened, nullptr);
    ASSERT_NE(opened, view);
    EXPECT_EQ(opened->m_list.GetItemCount(), 0);
    ASSERT_TRUE(WaitForLookup(opened));
    EXPECT_EQ(service.TraceOf("zip.zones").size(), lookupsBefore + 1);
    EXPECT_EQ(opened->GetParentFrame()->GetWindowText(), "Exploring - AppleTalk Network");
}

TEST_F(LookupWindowTest, EachLookupCommandOpensOneMoreWindow)
{
    Start(SampleWorldTaking(40));
    ASSERT_NE(OpenWindow(), nullptr);
    ASSERT_NE(OpenWindow(), nullptr);
    EXPECT_EQ(app->m_pLookupTemplate->GetDocuments().size(), 2u);
}

}  // namespace
