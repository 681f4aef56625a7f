// The printer type window's printed pages, read back from the print
// preview's metafiles and from real printouts (with the print dialog, and
// Print Direct without it) into a PostScript file.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "devtype_fixture.h"
#include "dialog_script.h"
#include "fx/print_preview.h"
#include "printed_pages.h"
#include "test_printer.h"

namespace {

using vtest::DialogScript;

class DevTypePrint : public DevTypeWindow {
protected:
    std::optional<vtest::FilePrinter> printer;

    void SetUp() override
    {
        DevTypeWindow::SetUp();
        printer.emplace("Table Test Printer", "devtype_listing.ps");
        ASSERT_TRUE(printer->Installed());
    }
    void TearDown() override
    {
        DevTypeWindow::TearDown();
        printer.reset();
    }
};

TEST_F(DevTypePrint, AnEmptyTablePrintsOnePageWithTheHeaderAndTheRule)
{
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_PRINT).enabled);
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_PRINT_DIRECT).enabled);
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_PRINT_PREVIEW).enabled);

    view->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    PumpWaitingMessages();
    CPreviewWnd* preview = view->GetPreviewWnd();
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->GetPageCount(), 1);
    const vtest::PageDrawing page = vtest::DrawingOf(preview->GetPage(1));
    const std::string path = view->GetDocument()->GetPathName();
    ASSERT_LE(path.size(), 68u);
    ASSERT_EQ(page.texts.size(), 1u);
    EXPECT_EQ(page.texts[0].text, path + std::string(81 - path.size() - 6, ' ') + "Page 1");
    // The header sits two lines down, centred, with the rule one and a half
    // lines under it, as wide as 81 characters of a fixed-pitch font.
    const CListingPrinter& p = view->m_printer;
    EXPECT_EQ(page.texts[0].at.y, 2 * p.m_nLineHeight);
    EXPECT_EQ(page.texts[0].at.x, p.m_nLeftMargin);
    EXPECT_GT(p.m_nLeftMargin, 0);
    ASSERT_EQ(page.texts[0].advances.size(), 81u);
    EXPECT_EQ(std::count(page.texts[0].advances.begin(), page.texts[0].advances.end(), page.texts[0].advances[0]), 81);
    EXPECT_EQ(page.texts[0].advances[0] * 81, p.m_nTextWidth);
    ASSERT_EQ(page.lines.size(), 1u);
    const int ruleY = 2 * p.m_nLineHeight + (3 * p.m_nLineHeight) / 2;
    EXPECT_EQ(page.lines[0].from.x, p.m_nLeftMargin);
    EXPECT_EQ(page.lines[0].from.y, ruleY);
    EXPECT_EQ(page.lines[0].to.x, p.m_nLeftMargin + p.m_nTextWidth);
    EXPECT_EQ(page.lines[0].to.y, ruleY);
    EXPECT_EQ(p.m_hFont, nullptr) << "the font goes at the end of the job";
}

TEST_F(DevTypePrint, RowsFillPageAfterPageInTheListsOrderAndPrintAsPreviewed)
{
    // Lines per page, measured on the printer by a first preview.
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    vtest::PreviewTexts(view);
    const int lines = view->m_printer.m_nLinesPerPage;
    ASSERT_GT(lines, 10);

    // Two full pages and one row more, sorted by type when printed.
    auto name = [](int i) {
        char text[16];
        wsprintfA(text, "Type %03d", i);
        return std::string(text);
    };
    std::string table;
    const int rows = 2 * lines + 1;
    for (int i = rows - 1; i >= 0; --i)
        table += "\"" + name(i) + "\" " + (i % 3 == 0 ? "y" : "N") + " ;remark " + std::to_string(i) + "\r\n";
    WriteTable(table);
    view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ClickHeader(view, 0);
    const auto preview = vtest::PreviewTexts(view);
    ASSERT_EQ(preview.size(), 3u);
    EXPECT_EQ(preview[0].size(), static_cast<size_t>(1 + lines));
    EXPECT_EQ(preview[1].size(), static_cast<size_t>(1 + lines));
    ASSERT_EQ(preview[2].size(), 2u);
    EXPECT_EQ(preview[2][0].substr(81 - 6), "Page 3");
    EXPECT_EQ(preview[0][1], "Type 000  PostScript      remark 0" + std::string(81 - 34, ' '));
    EXPECT_EQ(preview[0][2], "Type 001  NON-PostScript  remark 1" + std::string(81 - 34, ' '));
    EXPECT_EQ(preview[1][1].substr(0, 8), name(lines));
    EXPECT_EQ(preview[2][1].substr(0, 8), name(2 * lines));
    // The flags are as read: printing builds the label only.
    EXPECT_EQ(view->EntryAt(0)->m_strPostScript, "y");
    EXPECT_FALSE(view->GetDocument()->IsModified());

    // File > Print through the print dialog, then Print Direct without it:
    // both printouts hold the previewed pages.
    {
        DialogScript script;
        script.Then([](HWND dialog) { DialogScript::Press(dialog, IDOK); });
        view->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
        EXPECT_EQ(script.Pending(), 0u);
        EXPECT_EQ(script.Seen(), std::vector<std::string>{"Print"});
    }
    EXPECT_EQ(printer->Pages(), preview);
    printer->Clear();
    view->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
    EXPECT_EQ(printer->Pages(), preview);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DevTypePrint, APathOf69CharactersOrMoreGivesTheTitle)
{
    // An installation folder deep enough for a path of 69 characters.
    std::string folder = service.Dir();
    while (folder.size() + std::string("Printers.PAPTypes").size() < 69) {
        folder += "deeper\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    installFolder.reset();
    installFolder = std::make_unique<vtest::InstallFolderOverride>(folder);
    attest::WriteFile(folder + "Printers.PAPTypes", "\"LaserWriter\" Y ;office\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_GE(view->GetDocument()->GetPathName().size(), 69u);
    const auto preview = vtest::PreviewTexts(view);
    ASSERT_EQ(preview.size(), 1u);
    ASSERT_EQ(preview[0].size(), 2u);
    EXPECT_EQ(preview[0][0], "Printers.PAPTypes" + std::string(81 - 17 - 6, ' ') + "Page 1");
    EXPECT_EQ(preview[0][1], "LaserWriter  PostScript      office" + std::string(81 - 35, ' '));
}

TEST_F(DevTypePrint, PrintSetupsChoiceIsWherePreviewAndPrintGo)
{
    // A second printer, chosen in Print Setup and turned to landscape.
    vtest::FilePrinter other("Table Other Printer", "devtype_other.ps");
    ASSERT_TRUE(other.Installed());
    ASSERT_TRUE(SetDefaultPrinterA("Table Test Printer"));
    WriteTable("\"LaserWriter\" Y ;office\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    const auto portrait = vtest::PreviewTexts(view);
    const int portraitLines = view->m_printer.m_nLinesPerPage;
    {
        DialogScript script;
        script.Then([](HWND dialog) {
            const int kPrinterCombo = 0x470, kLandscape = 0x421;
            HWND combo = GetDlgItem(dialog, kPrinterCombo);
            SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>("Table Other Printer"));
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kPrinterCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
            SendMessageA(GetDlgItem(dialog, kLandscape), BM_CLICK, 0, 0);
            DialogScript::Press(dialog, IDOK);
        });
        frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_SETUP, 0);
        EXPECT_EQ(script.Pending(), 0u);
    }
    // The preview measures the landscape page: fewer lines, the same text.
    const auto landscape = vtest::PreviewTexts(view);
    EXPECT_LT(view->m_printer.m_nLinesPerPage, portraitLines);
    EXPECT_EQ(landscape, portrait);
    view->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
    EXPECT_EQ(other.Pages(), landscape);
    EXPECT_EQ(printer->Output(), "") << "nothing on the default printer";
}

}  // namespace
