// A modeless property sheet: Apply commits the pages that were shown, OK
// ends it, and the system releases every page exactly once.
#include <gtest/gtest.h>

#include "dialog_script.h"
#include "fx/property_sheet.h"
#include "route_fixture.h"
#include "tests/fx/fx_test_ids.h"

namespace {

class CValuePage : public CPropertyPage {
public:
    CValuePage() : CPropertyPage(IDD_TEST_PAGE) {}
    CString m_value = "start";
    CString m_committed;
    int applies = 0;
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, IDC_PAGE_VALUE, m_value); }
    BOOL OnApply() override
    {
        ++applies;
        m_committed = m_value;
        return TRUE;
    }
};

TEST(PropertySheet, ApplyCommitsShownPagesAndEveryPageIsReleasedOnce)
{
    CRouteApp app;
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
    app.Enable3dControls();
    CValuePage first, second;
    {
        CPropertySheet sheet("Values");
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        ASSERT_TRUE(sheet.Create());
        PumpWaitingMessages();
        ASSERT_NE(first.m_hWnd, nullptr);
        EXPECT_EQ(second.m_hWnd, nullptr);  // not shown yet
        EXPECT_EQ(first.GetDlgItemText(IDC_PAGE_VALUE), "start");

        first.SetDlgItemText(IDC_PAGE_VALUE, "changed");
        first.SetModified();
        sheet.SendMessage(PSM_APPLY);
        PumpWaitingMessages();
        EXPECT_EQ(first.applies, 1);
        EXPECT_EQ(first.m_committed, "changed");
        EXPECT_EQ(second.applies, 0);

        sheet.SendMessage(PSM_PRESSBUTTON, PSBTN_OK);
        PumpWaitingMessages();
        EXPECT_TRUE(sheet.IsDone());
        EXPECT_EQ(first.applies, 2);
        sheet.DestroyWindow();
        PumpWaitingMessages();
    }
    EXPECT_EQ(first.m_nReleaseCount, 1);
    EXPECT_EQ(second.m_nReleaseCount, 1);
    EXPECT_EQ(first.m_hWnd, nullptr);
}

}  // namespace

namespace {

// A page whose help command counts the requests that reach it.
class CHelpPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()
public:
    CHelpPage() : CPropertyPage(IDD_TEST_PAGE) {}
    int helpRequests = 0;
    void OnHelp() { ++helpRequests; }
};

BEGIN_MESSAGE_MAP(CHelpPage, CPropertyPage)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CHelpPage* g_helpPage = nullptr;

// What the system posts to the focused window when F1 goes down; the
// window's default processing turns it into WM_HELP.
const UINT kKeyF1Message = 0x004D;

void CALLBACK CancelSheet(HWND sheet, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(sheet, timer);
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(sheet, IDCANCEL)));
}

TEST(PropertySheet, HelpReachesTheCurrentPageFromItsControlsTheHelpButtonAndTheSheet)
{
    CRouteApp app;
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
    app.Enable3dControls();
    CHelpPage page;
    g_helpPage = &page;
    vtest::DialogScript script;
    script.Then([](HWND sheet) {
        // F1 in a control of the page, then the Help button's notification,
        // then F1 on the sheet's own OK button.
        HWND edit = GetDlgItem(g_helpPage->m_hWnd, IDC_PAGE_VALUE);
        SendMessageA(edit, kKeyF1Message, 0, 0);
        NMHDR help{g_helpPage->m_hWnd, 0, static_cast<UINT>(PSN_HELP)};
        SendMessageA(g_helpPage->m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&help));
        SendMessageA(GetDlgItem(sheet, IDOK), kKeyF1Message, 0, 0);
        // And the key itself, pressed while the page's field has the focus.
        SetForegroundWindow(sheet);
        SetFocus(edit);
        keybd_event(VK_F1, 0, 0, 0);
        keybd_event(VK_F1, 0, KEYEVENTF_KEYUP, 0);
        SetTimer(sheet, 1, 300, &CancelSheet);
    });
    CPropertySheet sheet("Help");
    sheet.AddPage(&page);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(page.helpRequests, 4);
    g_helpPage = nullptr;
}

}  // namespace
