// The printer type table window, run in process through its real frame,
// form and list, against a real atnetd whose folder is the installation
// folder: loading, the entry area's flows, sorting, saving, the change
// notification (seen in the service's trace) and the stack's answer from
// the saved table.
#include <deque>
#include <string>
#include <vector>

#include "devtype_fixture.h"
#include "fx/edit_commands.h"
#include "molven32.h"
#include "tables/extension_edit.h"
#include "util/child_frames.h"

namespace {

HHOOK g_hook = nullptr;
std::string g_saveAsName;
int g_dialogsAnswered = 0;

// Answers the common Save As dialog with g_saveAsName.
void CALLBACK AnswerSaveDialog(HWND dialog, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(dialog, timer);
    HWND name = GetDlgItem(dialog, 0x47C);
    if (name == nullptr)
        name = GetDlgItem(dialog, 0x480);
    SetWindowTextA(name, g_saveAsName.c_str());
    ++g_dialogsAnswered;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

LRESULT CALLBACK WatchForSaveDialog(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND h = reinterpret_cast<HWND>(wParam);
        char cls[32] = "";
        if (GetClassNameA(h, cls, sizeof cls) && lstrcmpA(cls, "#32770") == 0)
            SetTimer(h, 0x5A5A, 100, &AnswerSaveDialog);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_F(DevTypeWindow, MissingTableOpensEmptyQuietlyAndTheFirstSaveCreatesIt)
{
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(view->m_listCtrl.GetItemCount(), 0);
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_EQ(view->m_strTablePath, TablePath());
    EXPECT_EQ(EntryState(view), "idle");
    EXPECT_EQ(PaneText(ID_INDICATOR_TYPE_COUNT), "0 Types");
    // The frame was fitted to the form and keeps that size as its limit.
    auto* child = dynamic_cast<CDevTypeFrm*>(view->GetParentFrame());
    ASSERT_NE(child, nullptr);
    RECT outer, form{0, 0, 277, 186}, pane;
    child->GetWindowRect(&outer);
    EXPECT_EQ(child->m_nMaxWidth, outer.right - outer.left);
    EXPECT_EQ(child->m_nMaxHeight, outer.bottom - outer.top);
    MapDialogRect(view->m_hWnd, &form);
    view->GetClientRect(&pane);
    EXPECT_EQ(pane.right, form.right);
    EXPECT_EQ(pane.bottom, form.bottom);

    AddRow(view, "LaserWriter", true, "office printer");
    AddRow(view, "ImageWriter", false, "");
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"LaserWriter|Yes|office printer", "ImageWriter|No|"}));
    EXPECT_EQ(PaneText(ID_INDICATOR_TYPE_COUNT), "2 Types");

    const size_t before = Notifications();
    view->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
    EXPECT_EQ(ReadTable(), "\"LaserWriter\" Y ;office printer\r\n\"ImageWriter\" N ;\r\n");
    const auto notes = service.AwaitTraceOf("tarpin.notify", before + 1);
    ASSERT_EQ(notes.size(), before + 1);
    EXPECT_EQ(notes.back()["in"]["what"], "paptypes");
    EXPECT_EQ(notes.back()["in"]["reserved"], 0);
    EXPECT_FALSE(view->GetDocument()->IsModified());
    // The stack answers from the table just saved.
    EXPECT_EQ(IsPostScriptPrinterType("laserwriter"), 1);
    EXPECT_EQ(IsPostScriptPrinterType("ImageWriter"), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DevTypeWindow, EmptyAndAllMalformedFilesLoadEmptyWithoutAMessage)
{
    for (const char* text : {"", "no quotes here\r\n\"Unclosed Y ;x\r\n\"NoFlag\" ;x\r\n"}) {
        WriteTable(text);
        CDevTypeView* view = OpenWindow();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->m_listCtrl.GetItemCount(), 0) << text;
        EXPECT_FALSE(view->GetDocument()->IsModified());
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DevTypeWindow, FileRowsShowTheirFlagAndLoadIntoTheFields)
{
    WriteTable("\"Color Laser\" y ;colour\r\n\"Dot\" n ;\r\n\"Dot\" N ;again\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"Color Laser|Yes|colour", "Dot|No|", "Dot|No|again"}));
    Select(view, 0);
    EXPECT_EQ(EntryState(view), "loaded");
    EXPECT_EQ(view->GetDlgItemText(IDC_DEVTYPE_TYPE), "Color Laser");
    EXPECT_EQ(IsDlgButtonChecked(view->m_hWnd, IDC_DEVTYPE_POSTSCRIPT), BST_CHECKED);
    EXPECT_EQ(view->GetDlgItemText(IDC_DEVTYPE_REMARK), "colour");
    // The box stands for "Y": accepting the loaded row stores that case.
    Press(view, IDC_DEVTYPE_ACCEPT);
    EXPECT_EQ(EntryState(view), "idle");
    EXPECT_EQ(view->EntryAt(0)->m_strPostScript, "Y");
    EXPECT_EQ(view->EntryAt(0)->m_strRemark, "colour");
    // A cleared box stores "N".
    Select(view, 1);
    Select(view, 0);
    SetBox(view, false);
    EXPECT_TRUE(IsWindowEnabled(view->GetDlgItem(IDC_DEVTYPE_POSTSCRIPT)));
    Press(view, IDC_DEVTYPE_ACCEPT);
    EXPECT_EQ(view->EntryAt(0)->m_strPostScript, "N");
    EXPECT_TRUE(view->GetDocument()->IsModified());
}

TEST_F(DevTypeWindow, AcceptNeedsAPrinterType)
{
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    Press(view, IDC_DEVTYPE_NEW);
    EXPECT_EQ(EntryState(view), "new");
    Type(view, IDC_DEVTYPE_REMARK, "remark only");
    Press(view, IDC_DEVTYPE_ACCEPT);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Entry Required!");
    EXPECT_EQ(boxes[0].text, "Printer Type MUST be entered!");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(GetFocus(), view->GetDlgItem(IDC_DEVTYPE_TYPE));
    EXPECT_EQ(EntryState(view), "new");
    EXPECT_EQ(view->m_listCtrl.GetItemCount(), 0);
    EXPECT_FALSE(view->GetDocument()->IsModified());
}

TEST_F(DevTypeWindow, NewEntryWithAnExistingKeyAsksToOverwrite)
{
    WriteTable("\"LaserWriter\" Y ;old\r\n\"Other\" N ;\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);

    answers = {IDNO};
    AddRow(view, "laserwriter", false, "new");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "PC Extension already Exists!");
    EXPECT_EQ(boxes[0].text, "The PC Extension must be unique in the table:\n Do you wish to Overwrite/Modify?\n");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(EntryState(view), "new") << "No keeps the entry";
    EXPECT_EQ(view->GetDlgItemText(IDC_DEVTYPE_REMARK), "new");
    EXPECT_FALSE(view->GetDocument()->IsModified());

    answers = {IDYES};
    Press(view, IDC_DEVTYPE_ACCEPT);
    EXPECT_EQ(EntryState(view), "idle");
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"LaserWriter|No|new", "Other|No|"})) << "the key stays";
    EXPECT_TRUE(view->GetDocument()->IsModified());
}

TEST_F(DevTypeWindow, EditingALoadedRowsKey)
{
    WriteTable("\"Alpha\" Y ;a\r\n\"Beta\" N ;b\r\n\"Gamma\" N ;c\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);

    // A different case of its own key: the row itself is updated.
    Select(view, 0);
    Type(view, IDC_DEVTYPE_TYPE, "ALPHA");
    Press(view, IDC_DEVTYPE_ACCEPT);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(view->m_listCtrl.GetItemText(0, 0), "ALPHA");

    // Another row's key, answered Yes: that row takes the fields, the
    // loaded row goes.
    Select(view, 2);
    Type(view, IDC_DEVTYPE_TYPE, "beta");
    SetBox(view, true);
    Type(view, IDC_DEVTYPE_REMARK, "from gamma");
    answers = {IDYES};
    Press(view, IDC_DEVTYPE_ACCEPT);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"ALPHA|Yes|a", "Beta|Yes|from gamma"}));
    EXPECT_EQ(EntryState(view), "idle");
    EXPECT_EQ(PaneText(ID_INDICATOR_TYPE_COUNT), "2 Types");
}

TEST_F(DevTypeWindow, DeleteTakesTheRowWhoseKeyIsInTheField)
{
    WriteTable("\"Alpha\" Y ;a\r\n\"Beta\" N ;b\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    Select(view, 0);
    Type(view, IDC_DEVTYPE_TYPE, "BETA");
    Press(view, IDC_DEVTYPE_DELETE);
    EXPECT_TRUE(boxes.empty()) << "no confirmation";
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"Alpha|Yes|a"}));
    EXPECT_EQ(EntryState(view), "idle");
    EXPECT_TRUE(view->GetDocument()->IsModified());
}

TEST_F(DevTypeWindow, SortingStaysAscendingAndAcceptFollowsTheLoadedRow)
{
    WriteTable("\"delta\" N ;4\r\n\"Bravo\" y ;2\r\n\"alpha\" Y ;1\r\n\"Charlie\" N ;3\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    Select(view, 0);  // delta
    ClickHeader(view, 0);
    const std::vector<std::string> sorted{"alpha|Yes|1", "Bravo|Yes|2", "Charlie|No|3", "delta|No|4"};
    EXPECT_EQ(Shown(view), sorted);
    ClickHeader(view, 0);
    EXPECT_EQ(Shown(view), sorted) << "a second click sorts ascending again";
    EXPECT_FALSE(view->GetDocument()->IsModified()) << "sorting changes no row";

    Type(view, IDC_DEVTYPE_REMARK, "four");
    Press(view, IDC_DEVTYPE_ACCEPT);
    EXPECT_EQ(view->m_listCtrl.GetItemText(3, 2), "four") << "the row that was loaded";
    EXPECT_EQ(view->m_listCtrl.GetItemText(0, 2), "1");

    // The flag column compares case-sensitively, as lstrcmp does.
    ClickHeader(view, 1);
    for (int i = 0; i + 1 < view->m_listCtrl.GetItemCount(); ++i)
        EXPECT_LE(lstrcmpA(view->EntryAt(i)->m_strPostScript.c_str(), view->EntryAt(i + 1)->m_strPostScript.c_str()), 0);
    EXPECT_EQ(view->EntryAt(0)->m_strPostScript, "N");
    EXPECT_NE(view->EntryAt(2)->m_strPostScript, view->EntryAt(3)->m_strPostScript) << "y and Y differ";

    view->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
    EXPECT_EQ(ReadTable().substr(0, 12), "\"Charlie\" N ") << "saved in the sorted order";
}

TEST_F(DevTypeWindow, ModPaneSaveAndRevertFollowTheModifiedFlag)
{
    WriteTable("\"Alpha\" Y ;a\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(PaneText(ID_INDICATOR_MOD), "");
    EXPECT_FALSE(QueryCommandState(frame, ID_FILE_SAVE).enabled);
    EXPECT_FALSE(QueryCommandState(frame, ID_FILE_REVERT).enabled);
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_MERGE).enabled);
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_PRINT).enabled);
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_PRINT_PREVIEW).enabled);
    EXPECT_TRUE(QueryCommandState(frame, ID_EDIT_NEW_ENTRY).enabled);
    EXPECT_FALSE(QueryCommandState(frame, ID_EDIT_ACCEPT).enabled);
    EXPECT_FALSE(QueryCommandState(frame, ID_EDIT_DELETE).enabled);

    AddRow(view, "Beta", false, "b");
    EXPECT_EQ(PaneText(ID_INDICATOR_MOD), "MOD");
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_SAVE).enabled);
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_REVERT).enabled);

    // Revert reads the file again.
    Select(view, 1);
    EXPECT_TRUE(QueryCommandState(frame, ID_EDIT_DELETE).enabled);
    frame->SendMessage(WM_COMMAND, ID_FILE_REVERT, 0);
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"Alpha|Yes|a"}));
    EXPECT_EQ(EntryState(view), "idle");
    EXPECT_EQ(PaneText(ID_INDICATOR_MOD), "");
    EXPECT_FALSE(QueryCommandState(frame, ID_FILE_SAVE).enabled);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DevTypeWindow, RevertWithTheFileGoneReportsItAndKeepsTheRows)
{
    WriteTable("\"Alpha\" Y ;a\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    AddRow(view, "Beta", false, "b");
    DeleteFileA(TablePath().c_str());
    frame->SendMessage(WM_COMMAND, ID_FILE_REVERT, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("Failed to open document"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"Alpha|Yes|a", "Beta|No|b"}));
    EXPECT_TRUE(view->GetDocument()->IsModified());
}

// Hands `key` pressed with `modifier` held down (VK_MENU, VK_CONTROL or
// VK_SHIFT) to the window's message loop as it would see it; true when a
// key translation took it.
BOOL PressKey(CView* view, HWND target, UINT key, BYTE modifier)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE held = keys[modifier];
    keys[modifier] = 0x80;
    SetKeyboardState(keys);
    const bool alt = modifier == VK_MENU;
    MSG msg{target, alt ? UINT{WM_SYSKEYDOWN} : UINT{WM_KEYDOWN}, key, alt ? LPARAM{0x20000001} : LPARAM{1}, 0, {}};
    const BOOL taken = view->PreTranslateMessage(&msg);
    keys[modifier] = held;
    SetKeyboardState(keys);
    return taken;
}

TEST_F(DevTypeWindow, AltAAcceptsTheEntry)
{
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    Press(view, IDC_DEVTYPE_NEW);
    Type(view, IDC_DEVTYPE_TYPE, "Keyboard");
    EXPECT_TRUE(PressKey(view, view->GetDlgItem(IDC_DEVTYPE_TYPE), 'A', VK_MENU));
    PumpWaitingMessages();
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"Keyboard|No|"}));
}

TEST_F(DevTypeWindow, EditKeysWorkInTheFocusedField)
{
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    Press(view, IDC_DEVTYPE_NEW);
    HWND field = view->GetDlgItem(IDC_DEVTYPE_REMARK);
    SetFocus(field);
    vtest::SetClipboardText(view->m_hWnd, "office");
    EXPECT_TRUE(PressKey(view, field, 'V', VK_CONTROL));
    EXPECT_TRUE(PressKey(view, field, VK_INSERT, VK_SHIFT));
    EXPECT_EQ(view->GetDlgItemText(IDC_DEVTYPE_REMARK), "officeoffice");
    SendMessageA(field, EM_SETSEL, 0, 6);
    vtest::SetClipboardText(view->m_hWnd, nullptr);
    EXPECT_TRUE(PressKey(view, field, 'C', VK_CONTROL));
    EXPECT_EQ(FxClipboardText(view->m_hWnd), "office");
    EXPECT_TRUE(PressKey(view, field, 'X', VK_CONTROL));
    EXPECT_EQ(view->GetDlgItemText(IDC_DEVTYPE_REMARK), "office");
    EXPECT_TRUE(PressKey(view, field, 'Z', VK_CONTROL));
    EXPECT_EQ(view->GetDlgItemText(IDC_DEVTYPE_REMARK), "officeoffice");
    SendMessageA(field, EM_SETSEL, 6, 12);
    vtest::SetClipboardText(view->m_hWnd, nullptr);
    EXPECT_TRUE(PressKey(view, field, VK_INSERT, VK_CONTROL));
    EXPECT_TRUE(PressKey(view, field, VK_DELETE, VK_SHIFT));
    EXPECT_EQ(view->GetDlgItemText(IDC_DEVTYPE_REMARK), "office");
    EXPECT_EQ(FxClipboardText(view->m_hWnd), "office");
}

TEST_F(DevTypeWindow, EachCommandOpensAnotherWindowAndTheLastSaveWins)
{
    WriteTable("\"Shared\" Y ;\r\n");
    CDevTypeView* first = OpenWindow();
    CDevTypeView* second = OpenWindow();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first->GetDocument(), second->GetDocument());
    EXPECT_EQ(app->m_pTypesTemplate->GetDocuments().size(), 2u);

    AddRow(first, "From First", true, "");
    AddRow(second, "From Second", false, "");
    EXPECT_EQ(first->m_listCtrl.GetItemCount(), 2) << "each window has its own rows";
    first->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
    second->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
    EXPECT_EQ(ReadTable(), "\"Shared\" Y ;\r\n\"From Second\" N ;\r\n");
}

TEST_F(DevTypeWindow, AFailedSaveIsReportedAndNotNotified)
{
    WriteTable("\"Alpha\" Y ;a\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    AddRow(view, "Beta", false, "");
    // Read-only, and held open without sharing by another program: the
    // attribute alone does not stop a test run as root.
    SetFileAttributesA(TablePath().c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE held = CreateFileA(TablePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const size_t before = Notifications();
    view->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
    CloseHandle(held);
    SetFileAttributesA(TablePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("Failed to save document"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(ReadTable(), "\"Alpha\" Y ;a\r\n");
    EXPECT_TRUE(view->GetDocument()->IsModified());
    Sleep(200);  // a notification would reach the trace by now
    EXPECT_EQ(Notifications(), before);
}

TEST_F(DevTypeWindow, ClosingTheWindowFreesItsRowsAndLeavesTheDocument)
{
    WriteTable("\"Alpha\" Y ;a\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    auto* doc = dynamic_cast<CDevTypeDoc*>(view->GetDocument());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_table.GetEntryCount(), 1);
    view->GetParentFrame()->SendMessage(WM_CLOSE);
    PumpWaitingMessages();
    EXPECT_TRUE(app->m_pTypesTemplate->GetDocuments().empty());
}

TEST_F(DevTypeWindow, SaveAsWritesACopyAndTheWindowKeepsItsTable)
{
    WriteTable("\"Alpha\" Y ;a\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    CDocument* doc = view->GetDocument();
    const CString title = doc->GetTitle();
    EXPECT_EQ(title, "Printers.PAPTypes");
    AddRow(view, "Beta", false, "copy");
    const size_t before = Notifications();

    g_saveAsName = service.Dir() + "copy.paptype";
    g_dialogsAnswered = 0;
    g_hook = SetWindowsHookExA(WH_CBT, &WatchForSaveDialog, nullptr, GetCurrentThreadId());
    view->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS, 0);
    UnhookWindowsHookEx(g_hook);
    PumpWaitingMessages();

    EXPECT_EQ(g_dialogsAnswered, 1);
    EXPECT_EQ(attest::ReadFile(g_saveAsName), "\"Alpha\" Y ;a\r\n\"Beta\" N ;copy\r\n");
    EXPECT_EQ(ReadTable(), "\"Alpha\" Y ;a\r\n") << "the table file itself is untouched";
    EXPECT_EQ(lstrcmpiA(doc->GetPathName().c_str(), TablePath().c_str()), 0);
    EXPECT_EQ(doc->GetTitle(), title);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(service.AwaitTraceOf("tarpin.notify", before + 1).size(), before + 1);

    // A save the framework starts with no name (as after the save prompt)
    // goes to the table's own path without asking.
    AddRow(view, "Gamma", true, "");
    g_dialogsAnswered = 0;
    g_hook = SetWindowsHookExA(WH_CBT, &WatchForSaveDialog, nullptr, GetCurrentThreadId());
    EXPECT_TRUE(doc->DoSave(nullptr));
    UnhookWindowsHookEx(g_hook);
    EXPECT_EQ(g_dialogsAnswered, 0);
    EXPECT_EQ(ReadTable(), "\"Alpha\" Y ;a\r\n\"Beta\" N ;copy\r\n\"Gamma\" Y ;\r\n");
}

// A mouse click at `x` on the line of `row`, with the cursor there too.
void ClickRowLine(CDevTypeView* view, int row, int x, bool twice)
{
    RECT item{LVIR_BOUNDS, 0, 0, 0};
    view->m_listCtrl.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    POINT at{x, (item.top + item.bottom) / 2};
    POINT screen = at;
    ClientToScreen(view->m_listCtrl.m_hWnd, &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM where = MAKELPARAM(at.x, at.y);
    view->m_listCtrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, where);
    view->m_listCtrl.SendMessage(WM_LBUTTONUP, 0, where);
    if (twice) {
        view->m_listCtrl.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        view->m_listCtrl.SendMessage(WM_LBUTTONUP, 0, where);
    }
    PumpWaitingMessages();
}

TEST_F(DevTypeWindow, ClickingARowsLineLoadsIt)
{
    WriteTable("\"Alpha\" Y ;a\r\n\"Beta\" N ;b\r\n\"Gamma\" N ;c\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    RECT client;
    view->m_listCtrl.GetClientRect(&client);
    // Right of the last column's text.
    ClickRowLine(view, 1, client.right - 10, false);
    EXPECT_EQ(EntryState(view), "loaded");
    EXPECT_EQ(view->GetDlgItemText(IDC_DEVTYPE_TYPE), "Beta");

    Press(view, IDC_DEVTYPE_ACCEPT);
    EXPECT_EQ(EntryState(view), "idle");
    // A double click loads the row again, even while it stays selected.
    ClickRowLine(view, 1, client.right - 10, true);
    EXPECT_EQ(EntryState(view), "loaded");
    EXPECT_EQ(view->GetDlgItemText(IDC_DEVTYPE_REMARK), "b");
}

TEST_F(DevTypeWindow, ThePrinterTypeFieldRefusesTheDoubleQuote)
{
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    Press(view, IDC_DEVTYPE_NEW);
    for (char c : std::string("Old\"Laser"))
        SendMessageA(view->GetDlgItem(IDC_DEVTYPE_TYPE), WM_CHAR, static_cast<unsigned char>(c), 1);
    EXPECT_EQ(view->GetDlgItemText(IDC_DEVTYPE_TYPE), "OldLaser");
}

TEST_F(DevTypeWindow, ExtensionFieldDropsWhatAnExtensionCannotHold)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, frame->m_hWnd, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    CExtensionEdit field;
    ASSERT_TRUE(field.SubclassWindow(edit));
    for (char c : std::string("t.x\"t=*1?~ \xE9/"))
        field.SendMessage(WM_CHAR, static_cast<unsigned char>(c), 1);
    EXPECT_EQ(field.GetWindowText(), "txt=1~ \xE9");
    field.SendMessage(WM_CHAR, '\b', 1);
    EXPECT_EQ(field.GetWindowText(), "txt=1~ ");
    DestroyWindow(edit);
}

}  // namespace
