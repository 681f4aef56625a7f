// A command goes to exactly one handler: the first on the route active view
// -> document -> template -> child frame -> main frame -> application.
#include <gtest/gtest.h>

#include "route_fixture.h"
#include "tests/fx/fx_test_ids.h"

namespace {

class CommandRoute : public testing::Test {
protected:
    CRouteApp app;
    CRouteMainFrame* frame = nullptr;

    void SetUp() override
    {
        frame = StartRouteProgram(app);
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override { EndRouteProgram(app); }

    std::vector<std::string> Send(UINT id)
    {
        RouteLog().clear();
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return RouteLog();
    }
    CDocument* OpenWindow()
    {
        CDocument* doc = app.GetDocTemplates().front()->OpenDocumentFile(nullptr);
        PumpWaitingMessages();
        return doc;
    }
};

using Log = std::vector<std::string>;

TEST_F(CommandRoute, EachCommandReachesTheFirstHandlerOnTheRouteOnly)
{
    ASSERT_NE(OpenWindow(), nullptr);
    EXPECT_EQ(Send(ID_ROUTE_VIEW), Log{"view 40100"});
    EXPECT_EQ(Send(ID_ROUTE_DOC), Log{"doc 40101"});
    EXPECT_EQ(Send(ID_ROUTE_TEMPLATE), Log{"template 40102"});
    EXPECT_EQ(Send(ID_ROUTE_CHILD), Log{"child 40103"});
    EXPECT_EQ(Send(ID_ROUTE_MAIN), Log{"main 40104"});
    EXPECT_EQ(Send(ID_ROUTE_APP), Log{"app 40105"});
    EXPECT_EQ(Send(ID_ROUTE_NOBODY), Log{});
}

TEST_F(CommandRoute, WithoutADocumentWindowTheMainFrameComesFirst)
{
    EXPECT_EQ(Send(ID_ROUTE_VIEW), Log{"main 40100"});
    EXPECT_EQ(Send(ID_ROUTE_CHILD), Log{"main 40103"});
    EXPECT_EQ(Send(ID_ROUTE_APP), Log{"app 40105"});
}

TEST_F(CommandRoute, TheActiveChildDecides)
{
    CDocument* first = OpenWindow();
    CDocument* second = OpenWindow();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first, second);
    // The newest window is active; closing it makes the first active again.
    EXPECT_EQ(frame->GetActiveDocument(), second);
    second->OnCloseDocument();
    PumpWaitingMessages();
    EXPECT_EQ(frame->GetActiveDocument(), first);
    EXPECT_EQ(Send(ID_ROUTE_DOC), Log{"doc 40101"});
    first->OnCloseDocument();
    PumpWaitingMessages();
    EXPECT_EQ(frame->GetActiveDocument(), nullptr);
    EXPECT_EQ(Send(ID_ROUTE_DOC), Log{"main 40101"});
}

TEST_F(CommandRoute, NewWindowsGetNumberedTitlesAndTheFrameShowsTheActiveOne)
{
    CDocument* a = OpenWindow();
    CDocument* b = OpenWindow();
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->GetTitle(), "Route1");
    EXPECT_EQ(b->GetTitle(), "Route2");
    app.OnIdle(0);
    EXPECT_EQ(frame->GetWindowText(), "Route Test - Route2");
}

TEST_F(CommandRoute, FileNewWithOneNewableTypeOpensItDirectly)
{
    size_t before = app.GetDocTemplates().front()->GetDocuments().size();
    Send(ID_FILE_NEW);
    PumpWaitingMessages();
    EXPECT_EQ(app.GetDocTemplates().front()->GetDocuments().size(), before + 1);
}

}  // namespace
