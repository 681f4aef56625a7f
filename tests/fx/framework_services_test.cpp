// Services of the framework around the windows: the message-box seam,
// string formatting, the recent-file list and the profile.
#include <gtest/gtest.h>

#include "fx/message_box.h"
#include "fx/recent_files.h"
#include "route_fixture.h"

namespace {

TEST(MessageBoxSeam, TheHandlerSeesTextCaptionAndTypeAndAnswers)
{
    CRouteApp app;
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
    std::vector<MessageBoxRequest> seen;
    MessageBoxHandler old = FxSetMessageBoxHandler([&](const MessageBoxRequest& r) {
        seen.push_back(r);
        return IDNO;
    });
    EXPECT_EQ(AfxMessageBox("Save changes?", MB_YESNO | MB_ICONQUESTION), IDNO);
    FxSetMessageBoxHandler(old);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Save changes?");
    EXPECT_EQ(seen[0].caption, app.m_pszAppName);
    EXPECT_EQ(seen[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
}

TEST(Strings, PlaceholdersAndFieldsOfStringTableEntries)
{
    EXPECT_EQ(FxFormatStrings("Save changes to %1?", {"a.txt"}), "Save changes to a.txt?");
    EXPECT_EQ(FxFormatStrings("%2 then %1, %3", {"x", "y"}), "y then x, ");
    EXPECT_EQ(FxPromptPart("Show or hide the toolbar\nToggle ToolBar"), "Show or hide the toolbar");
    EXPECT_EQ(FxTipPart("Show or hide the toolbar\nToggle ToolBar"), "Toggle ToolBar");
    EXPECT_EQ(FxTipPart("Get status of the printer"), "");
    EXPECT_EQ(FxSubString("a\n\nc", 2), "c");
    EXPECT_EQ(FxSubString("a\n\nc", 5), "");
    EXPECT_EQ(FxLoadString(57345), "Ready");
}

TEST(RecentFiles, NewestFirstNoDuplicatesAtMostFourAndKeptInTheProfile)
{
    CRouteApp app;
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
    app.SetRegistryKey("VestrelTests");
    CRecentFileList list(57616, "Recent File List", "File", 4);
    for (const char* p : {"C:\\a.txt", "C:\\b.txt", "C:\\c.txt", "C:\\A.TXT", "C:\\d.txt", "C:\\e.txt"})
        list.Add(p);
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list[0], "C:\\e.txt");
    EXPECT_EQ(list[1], "C:\\d.txt");
    EXPECT_EQ(list[2], "C:\\A.TXT");
    EXPECT_EQ(list[3], "C:\\c.txt");
    list.WriteList();
    EXPECT_EQ(app.GetProfileString("Recent File List", "File1"), "C:\\e.txt");

    CRecentFileList again(57616, "Recent File List", "File", 4);
    again.ReadList();
    ASSERT_EQ(again.GetCount(), 4);
    EXPECT_EQ(again[3], "C:\\c.txt");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VestrelTests");
}

}  // namespace
