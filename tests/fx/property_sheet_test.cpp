// A modeless property sheet: Apply commits the pages that were shown, OK
// ends it, and the system releases every page exactly once.
#include <gtest/gtest.h>

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
