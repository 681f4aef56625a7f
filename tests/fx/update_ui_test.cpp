// One update query per command id serves the menu, the toolbar, the
// status-bar panes and the accelerator gate.
#include <gtest/gtest.h>

#include "route_fixture.h"
#include "tests/fx/fx_test_ids.h"

namespace {

class UpdateUI : public testing::Test {
protected:
    CRouteApp app;
    CRouteMainFrame* frame = nullptr;

    void SetUp() override
    {
        CRouteMainFrame::s_gateOpen = false;
        frame = StartRouteProgram(app);
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override { EndRouteProgram(app); }

    // The state of `id` in the frame's first popup after WM_INITMENUPOPUP.
    UINT MenuState(UINT id)
    {
        HMENU popup = GetSubMenu(GetMenu(frame->m_hWnd), 0);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        return GetMenuState(popup, id, MF_BYCOMMAND);
    }
};

TEST_F(UpdateUI, AClosedGateDisablesMenuItemToolbarButtonAndPane)
{
    app.OnIdle(0);
    EXPECT_TRUE(MenuState(ID_GATED) & MF_GRAYED);
    EXPECT_FALSE(frame->m_wndToolBar.IsButtonEnabled(ID_GATED));
    int pane = frame->m_wndStatusBar.CommandToIndex(ID_INDICATOR_GATE);
    EXPECT_TRUE(frame->m_wndStatusBar.GetPaneStyle(pane) & SBPS_DISABLED);
    EXPECT_FALSE(QueryCommandState(frame, ID_GATED).enabled);

    CRouteMainFrame::s_gateOpen = true;
    app.OnIdle(0);
    EXPECT_FALSE(MenuState(ID_GATED) & MF_GRAYED);
    EXPECT_TRUE(frame->m_wndToolBar.IsButtonEnabled(ID_GATED));
    EXPECT_FALSE(frame->m_wndStatusBar.GetPaneStyle(pane) & SBPS_DISABLED);
    EXPECT_EQ(frame->m_wndStatusBar.GetPaneText(pane), "GATE");
}

TEST_F(UpdateUI, CommandsWithoutHandlerAreDisabledAndThoseWithOneEnabled)
{
    app.OnIdle(0);
    EXPECT_TRUE(MenuState(ID_ROUTE_NOBODY) & MF_GRAYED);
    EXPECT_FALSE(MenuState(ID_ROUTE_APP) & MF_GRAYED);
    EXPECT_FALSE(frame->m_wndToolBar.IsButtonEnabled(ID_ROUTE_NOBODY));
    EXPECT_TRUE(frame->m_wndToolBar.IsButtonEnabled(ID_ROUTE_APP));
    CommandState nobody = QueryCommandState(frame, ID_ROUTE_NOBODY);
    EXPECT_FALSE(nobody.hasHandler);
    EXPECT_FALSE(nobody.enabled);
}

TEST_F(UpdateUI, AcceleratorOfADisabledCommandDoesNothing)
{
    // Ctrl+K through the frame's accelerator table, as the message loop
    // would translate it. Its command has no menu item, so only the
    // framework's gate can stop it.
    auto pressCtrlK = [&] {
        RouteLog().clear();
        MSG msg{frame->m_hWnd, WM_KEYDOWN, 'K', 0, 0, {0, 0}};
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        BOOL taken = app.PreTranslateMessage(&msg);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        return taken;
    };
    EXPECT_TRUE(pressCtrlK());
    EXPECT_TRUE(RouteLog().empty());

    CRouteMainFrame::s_gateOpen = true;
    EXPECT_TRUE(pressCtrlK());
    EXPECT_EQ(RouteLog(), std::vector<std::string>{"main 40109"});
}

TEST_F(UpdateUI, ToolbarButtonsFollowTheResourceAndTipsComeAfterTheNewline)
{
    ASSERT_EQ(frame->m_wndToolBar.GetCount(), 4);
    EXPECT_EQ(frame->m_wndToolBar.GetItemID(0), static_cast<UINT>(ID_ROUTE_APP));
    EXPECT_EQ(frame->m_wndToolBar.GetItemID(1), 0u);
    EXPECT_EQ(frame->m_wndToolBar.GetItemID(2), static_cast<UINT>(ID_GATED));

    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = frame->m_wndToolBar.m_hWnd;
    info.hdr.idFrom = ID_GATED;
    info.hdr.code = TTN_GETDISPINFOA;
    frame->SendMessage(WM_NOTIFY, ID_GATED, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, "Gated");
}

TEST_F(UpdateUI, MenuSelectionShowsThePromptAndClosingTheMenuShowsReady)
{
    HMENU popup = GetSubMenu(GetMenu(frame->m_hWnd), 0);
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_GATED, MF_STRING), reinterpret_cast<LPARAM>(popup));
    EXPECT_EQ(frame->m_wndStatusBar.GetPaneText(0), "Run the gated command");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(frame->m_wndStatusBar.GetPaneText(0), "Ready");
}

TEST_F(UpdateUI, CapsPaneFollowsTheCapsLockState)
{
    int pane = frame->m_wndStatusBar.CommandToIndex(ID_INDICATOR_CAPS);
    auto shown = [&] {
        app.OnIdle(0);
        char text[32] = "";
        frame->m_wndStatusBar.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CAPITAL] = 0x01;  // toggled on
    SetKeyboardState(keys);
    EXPECT_EQ(shown(), "CAP");
    keys[VK_CAPITAL] = 0x00;
    SetKeyboardState(keys);
    EXPECT_EQ(shown(), "");
}

TEST_F(UpdateUI, ViewMenuTogglesTheBarsAndChecksThem)
{
    ASSERT_TRUE(frame->m_wndToolBar.IsWindowVisible());
    EXPECT_EQ(QueryCommandState(frame, ID_VIEW_TOOLBAR).check, 1);
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    EXPECT_FALSE(frame->m_wndToolBar.IsWindowVisible());
    EXPECT_EQ(QueryCommandState(frame, ID_VIEW_TOOLBAR).check, 0);
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    EXPECT_TRUE(frame->m_wndToolBar.IsWindowVisible());
}

}  // namespace
