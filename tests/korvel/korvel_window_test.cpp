// Korvel's window in process, through its real frame, form and list,
// against a real atnetd: the first start without a map, saving the built-in
// map and the change notification, Revert with the map gone, a map named on
// the command line, a failed save, the size limit and the Edit commands.
#include <string>
#include <vector>

#include "korvel/resource.h"
#include "korvel_fixture.h"
#include "fx/edit_commands.h"
#include "win_test_helpers.h"

namespace {

// The built-in map in its order, as the list shows it.
const std::vector<std::string> kBuiltIn = {
    "com|BINA|mdos|MS-DOS Executable",
    "doc|Text|MSWD|Microsoft Word",
    "exe|BINA|mdos|MS-DOS Executable",
    "eps|EPSF|8BIM|Photoshop",
    "fp|FMPR|FMPR|FileMaker Pro",
    "pcd|PCDI|PCDv|Kodak Photo CD",
    "pm|ALB4|ALD4|PageMaker 4.0",
    "pm3|ALB3|ALD3|PageMaker 3.0",
    "rtf|TEXT|MSWD|Rich Text Format -> Microsoft Word",
    "qxd|XDOC|XPRS|Quark Xpress",
    "tif|TIFF|????|Tagged Image File Format",
    "txt|TEXT|ttxt|SimpleText Document",
    "xls|XLS |XCEL|Microsoft Excel Spreadsheet",
    "xlc|XLC |XCEL|Microsoft Excel Chart",
    "xlm|XLM |XCEL|Microsoft Excel Macros",
    "xlw|XLW |XCEL|Microsoft Excel",
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class KorvelWindow : public KorvelTest {};

TEST_F(KorvelWindow, FirstStartWithoutAMapShowsTheBuiltInMapModified)
{
    Start();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Failed to open document " + MapPath() + ".");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(Shown(), kBuiltIn);
    EXPECT_EQ(PaneText(ID_INDICATOR_ITEM_COUNT), "16 Items");
    EXPECT_EQ(PaneText(ID_INDICATOR_MOD), "MOD");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(view->m_strTablePath, MapPath());
    EXPECT_EQ(frame->GetWindowText(), "Korvel.AFPMap - Extension Mapper");
    char cls[64] = "";
    GetClassNameA(frame->m_hWnd, cls, sizeof cls);
    EXPECT_STREQ(cls, "VestrelKorvelMainWnd");
    // Save and Revert work whether or not the map changed.
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_SAVE).enabled);
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_OPEN).enabled);
}

TEST_F(KorvelWindow, TheWindowKeepsTheSizeFittedToTheForm)
{
    WriteMap("");
    Start();
    RECT outer, pane, form{0, 0, 344, 225};
    frame->GetWindowRect(&outer);
    EXPECT_EQ(frame->m_nMaxWidth, outer.right - outer.left);
    EXPECT_EQ(frame->m_nMaxHeight, outer.bottom - outer.top);
    view->GetClientRect(&pane);
    MapDialogRect(view->m_hWnd, &form);
    EXPECT_EQ(pane.right, form.right);
    EXPECT_EQ(pane.bottom, form.bottom);
    // Maximizing keeps the window where it is, at that size.
    MINMAXINFO info{};
    frame->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxPosition.x, outer.left);
    EXPECT_EQ(info.ptMaxPosition.y, outer.top);
    EXPECT_EQ(info.ptMaxSize.x, frame->m_nMaxWidth);
    EXPECT_EQ(info.ptMaxTrackSize.y, frame->m_nMaxHeight);
}

TEST_F(KorvelWindow, SavingTheBuiltInMapWritesItsLinesAndTellsTheStack)
{
    Start();
    const size_t before = Notifications();
    Command(ID_FILE_SAVE);
    const std::vector<std::string> lines = Lines(ReadMap());
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "com=\"BINA\" \"mdos\" ;MS-DOS Executable");
    EXPECT_EQ(lines[12], "xls=\"XLS \" \"XCEL\" ;Microsoft Excel Spreadsheet");
    const auto notes = service.AwaitTraceOf("tarpin.notify", before + 1);
    ASSERT_EQ(notes.size(), before + 1);
    EXPECT_EQ(notes.back()["in"]["what"], "korvel");
    EXPECT_EQ(notes.back()["in"]["reserved"], 0);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(PaneText(ID_INDICATOR_MOD), "");
    EXPECT_EQ(boxes.size(), 1u) << "only the first start's message";
}

TEST_F(KorvelWindow, RevertWithTheMapGonePutsTheBuiltInMapAboveTheRows)
{
    WriteMap("com=\"ZIPC\" \"zipc\" ;mine\r\nzip=\"ZIP \" \"ZIP \" ;archive\r\n");
    Start();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"com|ZIPC|zipc|mine", "zip|ZIP |ZIP |archive"}));
    EXPECT_FALSE(Doc()->IsModified());

    DeleteFileA(MapPath().c_str());
    Command(ID_FILE_OPEN);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Failed to open document " + MapPath() + ".");
    std::vector<std::string> expected = kBuiltIn;
    expected.push_back("com|ZIPC|zipc|mine");
    expected.push_back("zip|ZIP |ZIP |archive");
    EXPECT_EQ(Shown(), expected) << "com twice";
    EXPECT_EQ(PaneText(ID_INDICATOR_ITEM_COUNT), "18 Items");
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(KorvelWindow, AMapNamedOnTheCommandLineIsTheOneOpened)
{
    WriteMap("com=\"BINA\" \"mdos\" ;installed\r\n");
    const std::string other = service.Dir() + "other map.afpmap";
    attest::WriteFile(other, "arc=\"ARC \" \"arc \" ;named\r\n");
    Start(("\"" + other + "\"").c_str());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"arc|ARC |arc |named"}));
    EXPECT_EQ(view->m_strTablePath, other);
    EXPECT_EQ(frame->GetWindowText(), "other map.afpmap - Extension Mapper");
}

TEST_F(KorvelWindow, AFailedSaveIsReportedAndTellsTheStackNothing)
{
    WriteMap("com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\n");
    Start();
    // Read-only, and held open without sharing by another program: the
    // attribute alone does not stop a test run as root.
    SetFileAttributesA(MapPath().c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE held = CreateFileA(MapPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const size_t before = Notifications();
    Command(ID_FILE_SAVE);
    CloseHandle(held);
    SetFileAttributesA(MapPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Failed to save document " + MapPath() + ".");
    // A later notification would show up by now: a save that succeeds is
    // traced within milliseconds.
    Sleep(300);
    EXPECT_EQ(Notifications(), before);
}

bool Enabled(CFrameWnd* frame, UINT id)
{
    return QueryCommandState(frame, id).enabled;
}

TEST_F(KorvelWindow, EditCommandsGoToTheFocusedField)
{
    WriteMap("com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\n");
    Start();
    vtest::SetClipboardText(frame->m_hWnd, nullptr);
    SetFocus(view->m_listCtrl.m_hWnd);
    for (UINT id : {ID_EDIT_UNDO, ID_EDIT_CLEAR, ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE})
        EXPECT_FALSE(Enabled(frame, id)) << id;
    vtest::SetClipboardText(frame->m_hWnd, "pasted");
    EXPECT_TRUE(Enabled(frame, ID_EDIT_PASTE)) << "Paste follows the clipboard";

    Command(ID_KORVEL_NEW_ENTRY);
    HWND key = view->GetDlgItem(IDC_KORVEL_EXTENSION);
    ASSERT_EQ(GetFocus(), key);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(view->GetDlgItemText(IDC_KORVEL_EXTENSION), "pasted");
    EXPECT_FALSE(Enabled(frame, ID_EDIT_COPY)) << "no selection";
    SendMessageA(key, EM_SETSEL, 0, 3);
    for (UINT id : {ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_CLEAR, ID_EDIT_UNDO})
        EXPECT_TRUE(Enabled(frame, id)) << id;
    Command(ID_EDIT_CUT);
    EXPECT_EQ(view->GetDlgItemText(IDC_KORVEL_EXTENSION), "ted");
    SendMessageA(key, EM_SETSEL, 0, -1);
    Command(ID_EDIT_CLEAR);
    EXPECT_EQ(view->GetDlgItemText(IDC_KORVEL_EXTENSION), "");
    Command(ID_EDIT_UNDO);
    const std::string restored = view->GetDlgItemText(IDC_KORVEL_EXTENSION);
    EXPECT_NE(restored.find("ted"), std::string::npos) << restored;
    SendMessageA(key, EM_SETSEL, 0, -1);
    vtest::SetClipboardText(frame->m_hWnd, nullptr);
    Command(ID_EDIT_COPY);
    EXPECT_EQ(FxClipboardText(frame->m_hWnd), restored);
}

}  // namespace
