// A form view: its template laid into a child frame, data exchange with the
// document, its button's command reached by click and by the frame route,
// and a bound list control.
#include <gtest/gtest.h>

#include "fx/controls.h"
#include "fx/form_view.h"
#include "route_fixture.h"
#include "tests/fx/fx_test_ids.h"

namespace {

class CFormDoc : public CDocument {
    DECLARE_DYNCREATE(CFormDoc)
public:
    CString m_name = "from the document";
};
IMPLEMENT_DYNCREATE(CFormDoc, CDocument)

class CTestFormView : public CFormView {
    DECLARE_DYNCREATE(CTestFormView)
    DECLARE_MESSAGE_MAP()
public:
    CTestFormView() : CFormView(IDD_TEST_FORM_VIEW) {}
    CListCtrl m_list;
    int accepted = 0;
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_FORM_LIST, m_list);
        DDX_Text(dx, IDC_FORM_NAME, static_cast<CFormDoc*>(GetDocument())->m_name);
    }
    void OnAccept() { ++accepted; }
};
IMPLEMENT_DYNCREATE(CTestFormView, CFormView)
BEGIN_MESSAGE_MAP(CTestFormView, CFormView)
    ON_BN_CLICKED(IDC_FORM_ACCEPT, OnAccept)
END_MESSAGE_MAP()

class FormView : public testing::Test {
protected:
    CRouteApp app;
    CRouteMainFrame* frame = nullptr;
    CTestFormView* view = nullptr;
    void SetUp() override
    {
        frame = StartRouteProgram(app);
        ASSERT_NE(frame, nullptr);
        auto* tmpl = new CMultiDocTemplate(IDR_FORM_DOC, RUNTIME_CLASS(CFormDoc), RUNTIME_CLASS(CMDIChildWnd),
                                           RUNTIME_CLASS(CTestFormView));
        app.AddDocTemplate(tmpl);
        ASSERT_NE(tmpl->OpenDocumentFile(nullptr), nullptr);
        PumpWaitingMessages();
        view = dynamic_cast<CTestFormView*>(frame->MDIGetActive()->GetActiveView());
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { EndRouteProgram(app); }
};

TEST_F(FormView, TheTemplateFillsThePaneAndShowsTheDocumentsData)
{
    EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_TRUE(view->GetStyle() & WS_CHILD);
    EXPECT_EQ(view->GetDlgItemText(IDC_FORM_NAME), "from the document");
    view->SetDlgItemText(IDC_FORM_NAME, "typed");
    ASSERT_TRUE(view->UpdateData(TRUE));
    EXPECT_EQ(static_cast<CFormDoc*>(view->GetDocument())->m_name, "typed");
}

TEST_F(FormView, TheButtonAndTheSameCommandThroughTheFrameReachOneHandler)
{
    HWND button = view->GetDlgItem(IDC_FORM_ACCEPT);
    ::SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(view->accepted, 1);
    // An accelerator with the button's id arrives at the main frame.
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FORM_ACCEPT, 1), 0);
    EXPECT_EQ(view->accepted, 2);
}

TEST_F(FormView, BoundListControlHoldsRowsAndTheirData)
{
    ASSERT_NE(view->m_list.m_hWnd, nullptr);
    view->m_list.InsertColumn(0, "Type", LVCFMT_LEFT, 80);
    view->m_list.InsertColumn(1, "Remark", LVCFMT_LEFT, 100);
    int row = view->m_list.InsertItem(0, "LaserWriter", 42);
    ASSERT_EQ(row, 0);
    view->m_list.SetItemText(row, 1, "PostScript");
    EXPECT_EQ(view->m_list.GetItemCount(), 1);
    EXPECT_EQ(view->m_list.GetItemText(0, 0), "LaserWriter");
    EXPECT_EQ(view->m_list.GetItemText(0, 1), "PostScript");
    EXPECT_EQ(view->m_list.GetItemData(0), 42);
    view->m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(view->m_list.GetNextItem(-1, LVNI_SELECTED), 0);
}

}  // namespace
