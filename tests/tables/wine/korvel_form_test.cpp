// The extension map's form (template 130) in a small MDI program: its
// columns and field limits, the required fields in order, the PC Extension
// field's filter, the "%d Items" count, sorting by the case-sensitive code
// columns, and the codes held as typed until a save pads them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fx/doc_template.h"
#include "fx/message_box.h"
#include "fx/mdi.h"
#include "fx/win_app.h"
#include "tables/korvel_form_ids.h"
#include "tables/korvel_form_view.h"
#include "tables/table_document.h"
#include "tests/tables/wine/korvel_form_test_ids.h"
#include "win_test_helpers.h"

namespace {

std::string g_mapPath;  // the file the test document opens

class CMapTestDoc : public CTableDocumentT<CKorvelEntry> {
    DECLARE_DYNCREATE(CMapTestDoc)
public:
    int notifications = 0;
    void NotifyTableChanged() override { ++notifications; }
};
IMPLEMENT_DYNCREATE(CMapTestDoc, CDocument)

class CMapTestView : public CKorvelFormView {
    DECLARE_DYNCREATE(CMapTestView)
public:
    CMapTestDoc* Doc() const { return dynamic_cast<CMapTestDoc*>(GetDocument()); }

protected:
    CTableContents<CKorvelEntry>* GetTableContents() const override { return Doc() ? &Doc()->m_table : nullptr; }
    void LoadInitialTable() override
    {
        Doc()->SetPathName(g_mapPath.c_str(), FALSE);
        Doc()->OnOpenDocument(g_mapPath.c_str());
    }
};
IMPLEMENT_DYNCREATE(CMapTestView, CKorvelFormView)

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string TempFile(const char* name)
{
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    return std::string(tmp) + name;
}

class KorvelForm : public testing::Test {
protected:
    CWinApp app;
    CMDIFrameWnd* frame = nullptr;
    CMapTestView* view = nullptr;
    std::vector<MessageBoxRequest> boxes;
    MessageBoxHandler oldHandler;

    void SetUp() override
    {
        g_mapPath = TempFile("korvel-form-test.AFPMap");
        std::ofstream(g_mapPath, std::ios::binary)
            << "com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\ntxt=\"TEXT\" \"ttxt\" ;SimpleText\r\n"
               "doc=\"Text\" \"MSWD\" ;Word\r\n";
        oldHandler = FxSetMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return IDOK;
        });
        app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
        frame = new CMDIFrameWnd;
        ASSERT_TRUE(frame->LoadFrame(IDR_MAP_TEST_MAIN));
        app.m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOWNORMAL);
        auto* tmpl = new CMultiDocTemplate(IDR_MAP_TEST_DOC, RUNTIME_CLASS(CMapTestDoc), RUNTIME_CLASS(CMDIChildWnd),
                                           RUNTIME_CLASS(CMapTestView));
        app.AddDocTemplate(tmpl);
        ASSERT_NE(tmpl->OpenDocumentFile(nullptr), nullptr);
        Pump();
        view = dynamic_cast<CMapTestView*>(frame->MDIGetActive()->GetActiveView());
        ASSERT_NE(view, nullptr);
    }

    void TearDown() override
    {
        if (view != nullptr)
            view->GetDocument()->SetModifiedFlag(FALSE);
        app.CloseAllDocuments(TRUE);
        if (app.m_pMainWnd != nullptr)
            app.m_pMainWnd->DestroyWindow();
        Pump();
        FxSetMessageBoxHandler(oldHandler);
        DeleteFileA(g_mapPath.c_str());
    }

    void Press(int id)
    {
        view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(view->GetDlgItem(id)));
        Pump();
    }
    void Type(int id, const char* text) { view->SetDlgItemText(id, text); }
    std::string Column(int row, int column) { return view->m_listCtrl.GetItemText(row, column); }
};

TEST_F(KorvelForm, ColumnsFieldsAndCountFollowTheMapsLayout)
{
    EXPECT_EQ(view->m_listCtrl.GetItemCount(), 3);
    EXPECT_EQ(view->CountText(), "3 Items");
    HWND header = reinterpret_cast<HWND>(view->m_listCtrl.SendMessage(LVM_GETHEADER));
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 4);
    const char* headings[] = {"PC Extension", "MAC Type", "MAC Creator", "Remark"};
    RECT client;
    view->m_listCtrl.GetClientRect(&client);
    const int widths[] = {100, 76, 76, static_cast<int>(client.right) - 252};
    for (int i = 0; i < 4; ++i) {
        char text[64] = "";
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        view->m_listCtrl.SendMessage(LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        EXPECT_STREQ(text, headings[i]);
        EXPECT_EQ(column.cx, widths[i]) << i;
    }
    const std::pair<int, int> limits[] = {
        {IDC_KORVEL_EXTENSION, 32}, {IDC_KORVEL_TYPE, 4}, {IDC_KORVEL_CREATOR, 4}, {IDC_KORVEL_REMARK, 40}};
    for (auto [id, limit] : limits)
        EXPECT_EQ(SendMessageA(view->GetDlgItem(id), EM_GETLIMITTEXT, 0, 0), limit) << id;
    EXPECT_EQ(Column(2, 1), "Text");
    EXPECT_EQ(view->m_listCtrl.GetStyle() & (LVS_TYPEMASK | LVS_SINGLESEL), static_cast<DWORD>(LVS_REPORT | LVS_SINGLESEL));
}

TEST_F(KorvelForm, RequiredFieldsAreAskedForInOrder)
{
    Press(IDC_KORVEL_NEW);
    const char* expected[] = {"PC Extension MUST be entered!", "MAC Type MUST be entered!", "MAC Creator MUST be entered!"};
    const int fields[] = {IDC_KORVEL_EXTENSION, IDC_KORVEL_TYPE, IDC_KORVEL_CREATOR};
    for (int i = 0; i < 3; ++i) {
        boxes.clear();
        Press(IDC_KORVEL_ACCEPT);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, expected[i]);
        EXPECT_EQ(boxes[0].caption, "Entry Required!");
        EXPECT_EQ(GetFocus(), view->GetDlgItem(fields[i]));
        Type(fields[i], "x");
    }
    boxes.clear();
    Press(IDC_KORVEL_ACCEPT);
    EXPECT_TRUE(boxes.empty()) << "the remark is optional";
    EXPECT_EQ(view->m_listCtrl.GetItemCount(), 4);
}

TEST_F(KorvelForm, TheExtensionFieldFiltersTyping)
{
    Press(IDC_KORVEL_NEW);
    HWND field = view->GetDlgItem(IDC_KORVEL_EXTENSION);
    for (char c : std::string("p.m\"3="))
        SendMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1);
    char text[64] = "";
    GetWindowTextA(field, text, sizeof text);
    EXPECT_STREQ(text, "pm3=");
    // The other fields take anything.
    SendMessageA(view->GetDlgItem(IDC_KORVEL_REMARK), WM_CHAR, '.', 1);
    GetWindowTextA(view->GetDlgItem(IDC_KORVEL_REMARK), text, sizeof text);
    EXPECT_STREQ(text, ".");
}

TEST_F(KorvelForm, TheCodeFieldsRefuseTheDoubleQuoteTypedOrPasted)
{
    // The file writes the codes between double quotes, without escaping.
    Press(IDC_KORVEL_NEW);
    for (int id : {IDC_KORVEL_TYPE, IDC_KORVEL_CREATOR}) {
        HWND field = view->GetDlgItem(id);
        for (char c : std::string("T\"X"))
            SendMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1);
        vtest::SetClipboardText(field, "\"t\"\r\nmore");
        SendMessageA(field, WM_PASTE, 0, 0);
        EXPECT_EQ(view->GetDlgItemText(id), "TXt") << id;
    }
    // The remark is written unquoted and takes the quote.
    SendMessageA(view->GetDlgItem(IDC_KORVEL_REMARK), WM_CHAR, '"', 1);
    EXPECT_EQ(view->GetDlgItemText(IDC_KORVEL_REMARK), "\"");
}

TEST_F(KorvelForm, CodesAreHeldAsTypedUntilASavePadsThem)
{
    Press(IDC_KORVEL_NEW);
    Type(IDC_KORVEL_EXTENSION, "xls");
    Type(IDC_KORVEL_TYPE, "XLS");
    Type(IDC_KORVEL_CREATOR, "XCEL");
    Type(IDC_KORVEL_REMARK, "Excel");
    Press(IDC_KORVEL_ACCEPT);
    EXPECT_EQ(view->EntryAt(3)->m_strMacType, "XLS");
    EXPECT_TRUE(view->GetDocument()->IsModified());
    view->OnSave();
    EXPECT_EQ(view->Doc()->notifications, 1);
    EXPECT_EQ(view->EntryAt(3)->m_strMacType, "XLS ");
    std::ifstream in(g_mapPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("xls=\"XLS \" \"XCEL\" ;Excel\r\n"), std::string::npos) << text.str();
}

TEST_F(KorvelForm, CodeColumnsSortWithCase)
{
    NMLISTVIEW click{};
    click.hdr = {view->m_listCtrl.m_hWnd, IDC_KORVEL_LIST, static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iSubItem = 1;
    view->SendMessage(WM_NOTIFY, IDC_KORVEL_LIST, reinterpret_cast<LPARAM>(&click));
    for (int i = 0; i + 1 < 3; ++i)
        EXPECT_LE(lstrcmpA(Column(i, 1).c_str(), Column(i + 1, 1).c_str()), 0);
    EXPECT_NE(Column(1, 1), Column(2, 1)) << "Text and TEXT are different codes";
    click.iSubItem = 0;
    view->SendMessage(WM_NOTIFY, IDC_KORVEL_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(Column(0, 0) + Column(1, 0) + Column(2, 0), "comdoctxt");
}

}  // namespace
