// The program's menus, accelerators, toolbar, status panes and prompts, read
// back from the real resources and the real main frame.
#include <string>
#include <utility>
#include <vector>

#include "shell_fixture.h"
#include "util/resource.h"

namespace {

struct MenuItem {
    UINT id;  // 0: separator
    std::string text;
    bool operator==(const MenuItem&) const = default;
};

std::vector<std::pair<std::string, std::vector<MenuItem>>> ReadMenu(HMENU menu)
{
    std::vector<std::pair<std::string, std::vector<MenuItem>>> popups;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu, i);
        std::vector<MenuItem> items;
        for (int j = 0; sub && j < GetMenuItemCount(sub); ++j) {
            char itemText[128] = "";
            GetMenuStringA(sub, static_cast<UINT>(j), itemText, sizeof itemText, MF_BYPOSITION);
            items.push_back({GetMenuItemID(sub, j), itemText});
        }
        popups.emplace_back(text, items);
    }
    return popups;
}

TEST_F(ShellTest, MainMenuHasItsPopupsAndCommandsInOrder)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    auto popups = ReadMenu(menu);
    DestroyMenu(menu);
    ASSERT_EQ(popups.size(), 5u);
    EXPECT_EQ(popups[0].first, "&File");
    EXPECT_EQ(popups[0].second, (std::vector<MenuItem>{{42006, "&Download..."}, {0, ""}, {57665, "E&xit"}}));
    EXPECT_EQ(popups[1].first, "&Printer");
    EXPECT_EQ(popups[1].second, (std::vector<MenuItem>{{42001, "Choose..."}, {42002, "Status"},
                                                       {42008, "Change name..."}, {0, ""},
                                                       {42036, "Printer Type Entry ..."}}));
    EXPECT_EQ(popups[2].first, "&Network");
    EXPECT_EQ(popups[2].second, (std::vector<MenuItem>{{42011, "Information"}, {42012, "Lookup..."}}));
    EXPECT_EQ(popups[3].first, "&View");
    EXPECT_EQ(popups[3].second, (std::vector<MenuItem>{{59392, "&Toolbar"}, {59393, "&Status Bar"}}));
    EXPECT_EQ(popups[4].first, "&Help");
    EXPECT_EQ(popups[4].second, (std::vector<MenuItem>{{57666, "&Help Topics"}, {42015, "Help On &Utilities ..."},
                                                       {42013, "&Troubleshooting..."}, {57668, "Using Help"},
                                                       {0, ""}, {57664, "&About Quarnet Utility..."}}));
    // The frame shows menu 112 while no document window is open.
    EXPECT_EQ(ReadMenu(GetMenu(frame->m_hWnd)), ReadMenu(frame->m_hMenuDefault));
}

TEST_F(ShellTest, AutomationMenuIsTheStandardMdiMenu)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_VESTRELTYPE));
    auto popups = ReadMenu(menu);
    DestroyMenu(menu);
    std::vector<std::string> names;
    for (auto& p : popups)
        names.push_back(p.first);
    EXPECT_EQ(names, (std::vector<std::string>{"&File", "&Edit", "&View", "&Window", "&Help"}));
    std::vector<UINT> fileIds;
    for (auto& item : popups[0].second)
        if (item.id != 0)
            fileIds.push_back(item.id);
    EXPECT_EQ(fileIds, (std::vector<UINT>{57600, 57601, 57602, 57603, 57604, 57607, 57609, 57606, 57616, 57665}));
    EXPECT_EQ(popups[4].second, (std::vector<MenuItem>{{57664, "&About VestrelUtil..."}}));
}

TEST_F(ShellTest, AcceleratorTableHoldsEveryKey)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> keys(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    CopyAcceleratorTableA(table, keys.data(), static_cast<int>(keys.size()));
    std::vector<std::tuple<int, int, int>> got;
    for (const ACCEL& a : keys)
        got.emplace_back(a.fVirt & (FCONTROL | FSHIFT | FALT), a.key, a.cmd);
    const std::vector<std::tuple<int, int, int>> expected = {
        {FCONTROL, 'N', 57600}, {FCONTROL, 'O', 57601}, {FCONTROL, 'S', 57603}, {FCONTROL, 'P', 57607},
        {FCONTROL, 'Z', 57643}, {FALT, VK_BACK, 57643}, {FCONTROL, 'X', 57635}, {FSHIFT, VK_DELETE, 57635},
        {FCONTROL, 'C', 57634}, {FCONTROL, VK_INSERT, 57634}, {FCONTROL, 'V', 57637}, {FSHIFT, VK_INSERT, 57637},
        {0, VK_F1, 57670}, {FSHIFT, VK_F1, 57669}, {0, VK_F6, 57680}, {FSHIFT, VK_F6, 57681},
        {FALT, 'A', 1033}, {FALT, 'E', 1034}, {FALT, 'L', 3016}, {FALT, 'C', 2}, {FALT, 'R', 1},
    };
    EXPECT_EQ(got, expected);
    // The frame uses this table whatever window is active.
    EXPECT_NE(frame->GetDefaultAccelerator(), nullptr);
}

TEST_F(ShellTest, ToolbarButtonsInOrderWithSixteenByFifteenImages)
{
    std::vector<UINT> ids;
    for (int i = 0; i < frame->m_wndToolBar.GetCount(); ++i)
        ids.push_back(frame->m_wndToolBar.GetItemID(i));
    EXPECT_EQ(ids, (std::vector<UINT>{42006, 57603, 0, 42001, 0, 57607, 57609, 0, 57666}));
    SIZE image = frame->m_wndToolBar.GetButtonImageSize();
    EXPECT_EQ(image.cx, 16);
    EXPECT_EQ(image.cy, 15);
    EXPECT_TRUE(frame->m_wndToolBar.GetBarStyle() & CBRS_TOOLTIPS);
    EXPECT_TRUE(frame->m_wndToolBar.GetBarStyle() & CBRS_FLYBY);
}

TEST_F(ShellTest, StatusPanesInOrderAndTheCountPaneSizedFromItsString)
{
    std::vector<UINT> ids;
    for (int i = 0; i < frame->m_wndStatusBar.GetCount(); ++i)
        ids.push_back(frame->m_wndStatusBar.GetItemID(i));
    EXPECT_EQ(ids, (std::vector<UINT>{0, 59144, 59143, 59137, 59138}));

    TEXTMETRICA tm{};
    HDC dc = GetDC(frame->m_hWnd);
    GetTextMetricsA(dc, &tm);
    ReleaseDC(frame->m_hWnd, dc);
    UINT id = 0, style = 0;
    int width = 0;
    frame->m_wndStatusBar.GetPaneInfo(1, id, style, width);
    EXPECT_EQ(id, 59144u);
    EXPECT_EQ(style, SBPS_NORMAL);
    EXPECT_EQ(width, (static_cast<int>(strlen("%d Types")) + 3) * tm.tmAveCharWidth);
    // The control's parts follow the pane widths: the message pane takes the rest.
    std::vector<int> edges = frame->m_wndStatusBar.GetPartEdges();
    ASSERT_EQ(edges.size(), 5u);
    RECT bar;
    frame->m_wndStatusBar.GetClientRect(&bar);
    EXPECT_GT(edges[0], bar.right / 2);
    EXPECT_GT(edges[2] - edges[1], edges[3] - edges[2] - 1);  // "%d Types" pane wider than "MOD"
}

TEST_F(ShellTest, PromptsAndToolTipsComeFromTheStringTable)
{
    const std::vector<std::pair<UINT, std::string>> prompts = {
        {42006, "Download a file to the printer\nDownload"},
        {42001, "Choose a printer on the AppleTalk network\nChooser"},
        {42002, "Get status of the printer"},
        {42008, "Change the printer's AppleTalk name"},
        {42036, "Enter Network Device/Printer Types"},
        {42011, "Provide information about the AppleTalk client network connection"},
        {42012, "View devices on the AppleTalk network"},
        {57666, "List Help topics\nHelp Index"},
        {42013, "Help on Quarnet Troubleshooting\nTroubleshooting"},
        {57668, "Display instructions about how to use help\nHelp"},
        {57600, "Create a new document\nNew"},
        {57601, "Revert the Printer Type table\nRevert"},
        {57606, "Change the printer and printing options\nPrint Setup"},
        {57665, "Quit the application; prompts to save documents\nExit"},
        {59392, "Show or hide the toolbar\nToggle ToolBar"},
        {59393, "Show or hide the status bar\nToggle StatusBar"},
        {135, "%d Types"},
        {155, "Version:"},
        {59143, "MOD"},
        {111, "OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
    };
    for (const auto& [id, text] : prompts)
        EXPECT_EQ(FxLoadString(id), text) << "string " << id;
    EXPECT_EQ(FxLoadString(42015), "");  // Help On Utilities has no prompt

    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(42006, MF_STRING), reinterpret_cast<LPARAM>(GetMenu(frame->m_hWnd)));
    EXPECT_EQ(frame->m_wndStatusBar.GetPaneText(0), "Download a file to the printer");
}

TEST_F(ShellTest, MainWindowClassTitleAndIcons)
{
    char cls[64] = "";
    GetClassNameA(frame->m_hWnd, cls, sizeof cls);
    EXPECT_STREQ(cls, "VestrelUtilMainWnd");
    EXPECT_EQ(frame->GetWindowText(), "Quarnet Utility");
    EXPECT_NE(frame->SendMessage(WM_GETICON, ICON_SMALL), 0);
    EXPECT_EQ(frame->GetStyle() & 0xCF8000u, 0xCF8000u);
    EXPECT_TRUE(GetWindowLongA(frame->m_hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

}  // namespace
