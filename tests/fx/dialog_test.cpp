// Dialogs from resource templates: data exchange both ways, a refused value
// that keeps the dialog open, and dropped files that open documents.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <fstream>

#include "fx/dialog.h"
#include "fx/message_box.h"
#include "route_fixture.h"
#include "tests/fx/fx_test_ids.h"

namespace {

class CExchangeDlg : public CDialog {
public:
    explicit CExchangeDlg(CWnd* owner = nullptr) : CDialog(IDD_TEST_FORM, owner) {}
    CString m_name = "first";
    int m_count = 7;
    int m_flag = 1;
    int okCount = 0;
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_TEST_NAME, m_name);
        DDX_Text(dx, IDC_TEST_COUNT, m_count);
        DDX_Check(dx, IDC_TEST_FLAG, m_flag);
    }
    void OnOK() override
    {
        if (UpdateData(TRUE))
            ++okCount;
    }
};

TEST(Dialog, ModelessDialogExchangesDataBothWays)
{
    CRouteApp app;
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_FORM));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_TEST_NAME), "first");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_TEST_COUNT), "7");
    EXPECT_EQ(SendMessageA(dlg.GetDlgItem(IDC_TEST_FLAG), BM_GETCHECK, 0, 0), BST_CHECKED);

    dlg.SetDlgItemText(IDC_TEST_NAME, "second");
    dlg.SetDlgItemText(IDC_TEST_COUNT, " 12 ");
    SendMessageA(dlg.GetDlgItem(IDC_TEST_FLAG), BM_SETCHECK, BST_UNCHECKED, 0);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDOK)));
    EXPECT_EQ(dlg.okCount, 1);
    EXPECT_EQ(dlg.m_name, "second");
    EXPECT_EQ(dlg.m_count, 12);
    EXPECT_EQ(dlg.m_flag, 0);
    dlg.DestroyWindow();
}

TEST(Dialog, ARefusedNumberIsReportedOnceAndKeepsTheOldValue)
{
    CRouteApp app;
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_FORM));
    dlg.SetDlgItemText(IDC_TEST_NAME, "kept?");
    dlg.SetDlgItemText(IDC_TEST_COUNT, "12abc");
    std::vector<std::string> shown;
    MessageBoxHandler old = FxSetMessageBoxHandler([&](const MessageBoxRequest& r) {
        shown.push_back(r.text);
        return IDOK;
    });
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDOK)));
    FxSetMessageBoxHandler(old);
    EXPECT_EQ(dlg.okCount, 0);
    EXPECT_EQ(dlg.m_count, 7);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Please enter an integer.");
    EXPECT_EQ(GetFocus(), dlg.GetDlgItem(IDC_TEST_COUNT));
    dlg.DestroyWindow();
}

void CALLBACK CancelExchangeDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND d = FindWindowA("#32770", "Exchange");
    PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDCANCEL)));
}

TEST(Dialog, ModalDialogEndsWithTheButtonsResult)
{
    CRouteApp app;
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
    CExchangeDlg dlg;
    // Cancel as soon as the dialog runs its own message loop.
    SetTimer(nullptr, 0, 50, &CancelExchangeDialog);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

RECT g_shownAt{};

void CALLBACK MeasureAndCancelDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND d = FindWindowA("#32770", "Exchange");
    GetWindowRect(d, &g_shownAt);
    PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDCANCEL)));
}

TEST(Dialog, AModalDialogOpensCentredOverItsOwner)
{
    CRouteApp app;
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
    CWnd owner;
    ASSERT_TRUE(owner.Attach(CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 300, 200, 640, 420, nullptr,
                                             nullptr, GetModuleHandleA(nullptr), nullptr)));
    CExchangeDlg dlg(&owner);
    SetTimer(nullptr, 0, 50, &MeasureAndCancelDialog);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_NEAR((g_shownAt.left + g_shownAt.right) / 2, 300 + 640 / 2, 1);
    EXPECT_NEAR((g_shownAt.top + g_shownAt.bottom) / 2, 200 + 420 / 2, 1);
    ::DestroyWindow(owner.Detach());
}

TEST(DroppedFiles, EachDroppedFileOpensWithTheTypeOfItsExtension)
{
    CRouteApp app;
    CRouteMainFrame* frame = StartRouteProgram(app);
    ASSERT_NE(frame, nullptr);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string a = std::string(temp) + "dropped1.rte", b = std::string(temp) + "dropped2.RTE";
    std::ofstream(a) << "a";
    std::ofstream(b) << "b";

    std::string names = a + '\0' + b + '\0' + '\0';
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = FALSE;
    memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(drop);
    frame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
    PumpWaitingMessages();

    const auto& docs = app.GetDocTemplates().front()->GetDocuments();
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs[0]->GetTitle(), "dropped1.rte");
    EXPECT_EQ(docs[1]->GetTitle(), "dropped2.RTE");
    EndRouteProgram(app);
    DeleteFileA(a.c_str());
    DeleteFileA(b.c_str());
}

}  // namespace
