// Wine's own shell loads property-sheet handlers through a shell item's
// context menu ("properties"): VSXFileExt, registered for every file, must
// put its page into Wine's sheet beside the General page for a file on the
// mapped AppleShare drive, and the sheet must close cleanly.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "dialog_driver.h"
#include "resource.h"
#include "setup_tool.h"
#include "sheet_host.h"

namespace shelltest {
namespace {


// What the timer saw of Wine's sheet while it was open.
struct SheetSeen {
    std::vector<std::string> tabs;
    std::string fileName, dataFork, creator;
    bool closed = false;
};
SheetSeen* g_seen = nullptr;

HWND FindPageWith(HWND sheet, int controlId)
{
    for (HWND child = GetWindow(sheet, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgItem(child, controlId) != nullptr)
            return child;
    return nullptr;
}

void CALLBACK LookAtSheet(HWND, UINT, UINT_PTR, DWORD)
{
    HWND sheet = FindWindowA(nullptr, "Properties for Read Me");
    if (sheet == nullptr || g_seen == nullptr || g_seen->closed)
        return;
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    g_seen->tabs.clear();
    for (int i = 0; i < count; ++i) {
        g_seen->tabs.push_back(SheetTabTitle(sheet, i));
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);  // creates each page
    }
    dtest::SaveScreenshot(sheet, "wine_sheet");
    if (HWND page = FindPageWith(sheet, IDC_FILE_NAME)) {
        g_seen->fileName = ItemText(page, IDC_FILE_NAME);
        g_seen->dataFork = ItemText(page, IDC_DATA_FORK_LENGTH);
        g_seen->creator = ItemText(page, IDC_FILE_CREATOR);
    }
    g_seen->closed = true;
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
}

class WineShell : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        ASSERT_TRUE(service_.StartWorldFile(SAMPLE_WORLD));
        ASSERT_EQ(RunSetup(), 0u);
        // The file as the mapped drive shows it (the drive's folder lives in
        // the test prefix).
        CreateDirectoryA("N:\\Vestrel 2.5", nullptr);
        std::ofstream("N:\\Vestrel 2.5\\Read Me") << "Read me first.\n";
    }
    void TearDown() override
    {
        RunSetup(true);
        CoUninitialize();
    }
    attest::AtnetdProcess service_;
};

TEST_F(WineShell, ThePropertiesVerbShowsTheMacintoshPageBesideGeneral)
{
    PIDLIST_ABSOLUTE item = ILCreateFromPathW(L"N:\\Vestrel 2.5\\Read Me");
    ASSERT_NE(item, nullptr);
    IShellFolder* folder = nullptr;
    PCUITEMID_CHILD child = nullptr;
    ASSERT_EQ(SHBindToParent(item, IID_IShellFolder, reinterpret_cast<void**>(&folder), &child), S_OK);
    IContextMenu* menu = nullptr;
    ASSERT_EQ(folder->GetUIObjectOf(nullptr, 1, &child, IID_IContextMenu, nullptr, reinterpret_cast<void**>(&menu)),
              S_OK);

    SheetSeen seen;
    g_seen = &seen;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, &LookAtSheet);
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.lpVerb = "properties";
    invoke.nShow = SW_SHOWNORMAL;
    menu->InvokeCommand(&invoke);  // returns when the sheet has closed
    KillTimer(nullptr, timer);
    g_seen = nullptr;
    menu->Release();
    folder->Release();
    ILFree(item);

    ASSERT_TRUE(seen.closed) << "no sheet appeared";
    ASSERT_EQ(seen.tabs.size(), 2u);
    EXPECT_EQ(seen.tabs[0], "General");
    EXPECT_EQ(seen.tabs[1], "Macintosh");
    EXPECT_EQ(seen.fileName, "Read Me");
    EXPECT_EQ(seen.dataFork, "1,000");
    EXPECT_EQ(seen.creator, "ttxt");
    EXPECT_EQ(FindWindowA(nullptr, "Properties for Read Me"), nullptr);
}

}  // namespace
}  // namespace shelltest
