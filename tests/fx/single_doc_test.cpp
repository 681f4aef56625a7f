// Single-document programs: the first document makes the main frame, and
// every later New or Open reuses that document and frame after asking to
// save changes.
#include <gtest/gtest.h>

#include <fstream>

#include "fx/message_box.h"
#include "route_fixture.h"
#include "tests/fx/fx_test_ids.h"

namespace {

class CSdiDoc : public CDocument {
    DECLARE_DYNCREATE(CSdiDoc)
};
IMPLEMENT_DYNCREATE(CSdiDoc, CDocument)

class CSdiView : public CView {
    DECLARE_DYNCREATE(CSdiView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CSdiView, CView)

class SingleDocument : public testing::Test {
protected:
    CRouteApp app;
    CSingleDocTemplate* tmpl = nullptr;
    std::string path;
    void SetUp() override
    {
        app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
        tmpl = new CSingleDocTemplate(IDR_TEST_DOC, RUNTIME_CLASS(CSdiDoc), RUNTIME_CLASS(CFrameWnd),
                                      RUNTIME_CLASS(CSdiView));
        app.AddDocTemplate(tmpl);
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        path = std::string(temp) + "single.rte";
        std::ofstream(path) << "x";
    }
    void TearDown() override
    {
        if (app.m_pMainWnd != nullptr)
            app.m_pMainWnd->DestroyWindow();
        PumpWaitingMessages();
        DeleteFileA(path.c_str());
    }
};

TEST_F(SingleDocument, TheFirstDocumentMakesTheMainFrameAndLaterOnesReuseIt)
{
    CDocument* doc = tmpl->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(app.m_pMainWnd, nullptr);
    auto* frame = static_cast<CFrameWnd*>(app.m_pMainWnd);
    EXPECT_EQ(doc->GetTitle(), "Route");
    EXPECT_EQ(frame->GetActiveDocument(), doc);

    CDocument* again = tmpl->OpenDocumentFile(path.c_str());
    EXPECT_EQ(again, doc);
    EXPECT_EQ(app.m_pMainWnd, frame);
    EXPECT_EQ(doc->GetTitle(), "single.rte");
    EXPECT_EQ(tmpl->GetDocuments().size(), 1u);
}

TEST_F(SingleDocument, CancellingTheSavePromptKeepsTheModifiedDocument)
{
    CDocument* doc = tmpl->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(TRUE);
    std::vector<std::string> asked;
    MessageBoxHandler old = FxSetMessageBoxHandler([&](const MessageBoxRequest& r) {
        asked.push_back(r.text);
        return IDCANCEL;
    });
    EXPECT_EQ(tmpl->OpenDocumentFile(path.c_str()), nullptr);
    FxSetMessageBoxHandler(old);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Save changes to Route?");
    EXPECT_EQ(doc->GetTitle(), "Route");
    EXPECT_TRUE(doc->IsModified());
    doc->SetModifiedFlag(FALSE);
}

}  // namespace
