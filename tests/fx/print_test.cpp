// Printing a view: every page from 1 to the last goes through OnPrepareDC
// and OnPrint into one job; here the job is a PostScript file.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <fstream>
#include <sstream>

#include "route_fixture.h"
#include "test_printer.h"

namespace {

class CPagesView : public CView {
public:
    std::vector<UINT> printed;
    void OnDraw(CDC* dc) override { TextOutA(dc->m_hDC, 100, 100, "page", 4); }
    BOOL OnPreparePrinting(CPrintInfo* info) override
    {
        info->m_bDirect = TRUE;
        info->m_nMaxPage = 3;
        info->m_strOutput = output;
        return DoPreparePrinting(info);
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override
    {
        printed.push_back(info->m_nCurPage);
        EXPECT_TRUE(dc->IsPrinting());
        EXPECT_GT(info->m_rectDraw.right, 0);
        CView::OnPrint(dc, info);
    }
    std::string output;
};

// Takes the test printer out again and gives back the default printer that
// was there, so that other tests of the session see the prefix as it was.
TEST(Printing, EveryPageOfTheJobReachesOnPrintAndTheOutput)
{
    vtest::TestPrinter printer("Fx Test Printer", "FxTestPort");
    ASSERT_TRUE(printer.Installed()) << GetLastError();
    CRouteApp app;
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
    CPagesView view;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    view.output = std::string(temp) + "fx_print.ps";
    DeleteFileA(view.output.c_str());

    view.OnFilePrint();
    EXPECT_EQ(view.printed, (std::vector<UINT>{1, 2, 3}));
    std::ifstream in(view.output, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string ps = text.str();
    EXPECT_EQ(ps.rfind("%!PS", 0), 0u) << ps.substr(0, 40);
    size_t pages = 0;
    for (size_t at = ps.find("%%Page:"); at != std::string::npos; at = ps.find("%%Page:", at + 1))
        ++pages;
    EXPECT_EQ(pages, 3u);
    DeleteFileA(view.output.c_str());
}

}  // namespace
