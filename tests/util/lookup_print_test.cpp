// The lookup window's printed pages: read back from the preview's metafiles
// and from a real print into a PostScript file.
#include <algorithm>
#include <optional>

#include "dialog_script.h"
#include "fx/print_preview.h"
#include "lookup_fixture.h"
#include "printed_pages.h"
#include "test_printer.h"

namespace {

using vtest::PageText;
using vtest::PostScriptPages;

std::vector<PageText> TextsOf(HENHMETAFILE page)
{
    return vtest::DrawingOf(page).texts;
}

class LookupPrinting : public LookupWindowTest {
protected:
    std::optional<vtest::TestPrinter> printer;
    std::string output;

    // A network without zones holding `names` devices, its window open
    // and its lookup done; nullptr when that failed.
    CVestrelLookupView* OpenListing(int names)
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        output = std::string(temp) + "lookup_listing.ps";
        DeleteFileA(output.c_str());
        printer.emplace("Lookup Test Printer", output.c_str());
        if (!printer->Installed())
            return nullptr;
        Start(CrowdedZoneWorld(names, 40, ""));
        if (HasFatalFailure())
            return nullptr;
        CVestrelLookupView* view = OpenWindow();
        if (view == nullptr || !WaitForLookup(view) || view->m_list.GetItemCount() != names)
            return nullptr;
        return view;
    }
    void TearDown() override
    {
        LookupWindowTest::TearDown();
        DeleteFileA(output.c_str());
    }
    // The line of list item `i` as printed.
    static std::string ItemLine(CVestrelLookupView* view, int i)
    {
        const LookupItem* item = view->ItemAt(i);
        return PrintItemLine(view->m_columns, item->m_strName, item->m_strType, item->m_strAddress);
    }
};

TEST_F(LookupPrinting, PreviewPagesHoldTheHeaderAndTheItemsOfEachPage)
{
    CVestrelLookupView* view = OpenListing(120);
    ASSERT_NE(view, nullptr);
    ClickHeader(view, 0);

    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    PumpWaitingMessages();
    CPreviewWnd* preview = view->GetPreviewWnd();
    ASSERT_NE(preview, nullptr);
    const int lines = view->m_printer.m_nLinesPerPage;
    ASSERT_GT(lines, 10);
    const int pages = (120 + lines - 1) / lines;
    ASSERT_GE(pages, 2);
    ASSERT_EQ(preview->GetPageCount(), pages);

    for (int page = 1; page <= pages; ++page) {
        SCOPED_TRACE(page);
        const auto texts = TextsOf(preview->GetPage(page));
        const int first = (page - 1) * lines, last = std::min(first + lines, 120) - 1;
        ASSERT_EQ(static_cast<int>(texts.size()), 1 + last - first + 1);
        const std::string pageText = "Page " + std::to_string(page);
        EXPECT_EQ(texts[0].text, "Isolated AppleTalk Network Device Listing:" + std::string(33, ' ') + pageText);
        EXPECT_EQ(texts[0].text.size(), 81u);
        EXPECT_EQ(texts[0].at.y, 2 * view->m_printer.m_nLineHeight);
        // A fixed-pitch font: every character of the header is as wide, and
        // the 81 of them are the width the page is centred on.
        ASSERT_EQ(texts[0].advances.size(), 81u);
        EXPECT_EQ(std::count(texts[0].advances.begin(), texts[0].advances.end(), texts[0].advances[0]), 81);
        EXPECT_EQ(texts[0].advances[0] * 81, view->m_printer.m_nTextWidth);
        for (int i = first; i <= last; ++i) {
            EXPECT_EQ(texts[1 + i - first].text, ItemLine(view, i));
            EXPECT_EQ(texts[1 + i - first].at.y, (i - first + 5) * view->m_printer.m_nLineHeight);
            EXPECT_EQ(texts[1 + i - first].at.x, view->m_printer.m_nLeftMargin);
        }
    }
    EXPECT_GT(view->m_printer.m_nLeftMargin, 0) << "the text is centred";

    // The preview goes with its window.
    HWND previewWindow = preview->m_hWnd;
    view->GetParentFrame()->SendMessage(WM_CLOSE);
    PumpWaitingMessages();
    EXPECT_FALSE(IsWindow(previewWindow));
}

TEST_F(LookupPrinting, OneDeviceMakesOnePage)
{
    CVestrelLookupView* view = OpenListing(1);
    ASSERT_NE(view, nullptr);
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    PumpWaitingMessages();
    ASSERT_NE(view->GetPreviewWnd(), nullptr);
    EXPECT_EQ(view->GetPreviewWnd()->GetPageCount(), 1);
    const auto texts = TextsOf(view->GetPreviewWnd()->GetPage(1));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, ItemLine(view, 0));
}

}  // namespace

namespace {

TEST_F(LookupPrinting, ThePrintoutHoldsThePreviewsPagesInAFixedPitchFont)
{
    CVestrelLookupView* view = OpenListing(120);
    ASSERT_NE(view, nullptr);
    ClickHeader(view, 1);
    {
        vtest::DialogScript script;
        script.Then([](HWND dialog) { vtest::DialogScript::Press(dialog, IDOK); });  // the print dialog
        frame->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
        EXPECT_EQ(script.Pending(), 0u);
    }
    const auto printed = PostScriptPages(attest::ReadFile(output));

    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    PumpWaitingMessages();
    CPreviewWnd* preview = view->GetPreviewWnd();
    ASSERT_NE(preview, nullptr);
    ASSERT_GE(preview->GetPageCount(), 2);
    ASSERT_EQ(static_cast<int>(printed.size()), preview->GetPageCount());
    for (int page = 1; page <= preview->GetPageCount(); ++page) {
        std::vector<std::string> shown;
        for (const PageText& t : TextsOf(preview->GetPage(page)))
            shown.push_back(t.text);
        EXPECT_EQ(printed[static_cast<size_t>(page - 1)], shown) << "page " << page;
    }
    EXPECT_EQ(printed[0][0], "Isolated AppleTalk Network Device Listing:" + std::string(33, ' ') + "Page 1");
    EXPECT_EQ(printed[1][1], ItemLine(view, view->m_printer.m_nLinesPerPage));
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
