// The lookup window's printed pages: read back from the preview's metafiles
// and from a real print into a PostScript file.
#include <algorithm>
#include <map>
#include <optional>
#include <sstream>

#include "dialog_script.h"
#include "fx/print_preview.h"
#include "lookup_fixture.h"
#include "test_printer.h"

namespace {

// One text a page draws, with where it starts.
struct PageText {
    std::string text;
    POINT at;
    std::vector<int> advances;  // of each character, as the metafile keeps them
};

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM out)
{
    auto* texts = reinterpret_cast<std::vector<PageText>*>(out);
    if (rec->iType == EMR_EXTTEXTOUTW) {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
        const auto* bytes = reinterpret_cast<const BYTE*>(rec);
        const auto* chars = reinterpret_cast<const wchar_t*>(bytes + t->emrtext.offString);
        PageText page{{}, {t->emrtext.ptlReference.x, t->emrtext.ptlReference.y}, {}};
        for (DWORD i = 0; i < t->emrtext.nChars; ++i)
            page.text += static_cast<char>(chars[i]);
        if (t->emrtext.offDx != 0) {
            const auto* dx = reinterpret_cast<const INT*>(bytes + t->emrtext.offDx);
            page.advances.assign(dx, dx + t->emrtext.nChars);
        }
        texts->push_back(page);
    } else if (rec->iType == EMR_EXTTEXTOUTA) {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTA*>(rec);
        texts->push_back({std::string(reinterpret_cast<const char*>(rec) + t->emrtext.offString, t->emrtext.nChars),
                          {t->emrtext.ptlReference.x, t->emrtext.ptlReference.y},
                          {}});
    }
    return 1;
}

std::vector<PageText> TextsOf(HENHMETAFILE page)
{
    std::vector<PageText> texts;
    EnumEnhMetaFile(nullptr, page, &CollectText, &texts, nullptr);
    return texts;
}

// The characters of the glyph names the PostScript driver draws text with.
char GlyphChar(const std::string& name)
{
    static const std::map<std::string, char> named = {
        {"space", ' '}, {"exclam", '!'}, {"quotesingle", '\''}, {"parenleft", '('}, {"parenright", ')'},
        {"comma", ','}, {"hyphen", '-'}, {"period", '.'}, {"slash", '/'}, {"colon", ':'}, {"semicolon", ';'},
        {"zero", '0'}, {"one", '1'}, {"two", '2'}, {"three", '3'}, {"four", '4'}, {"five", '5'}, {"six", '6'},
        {"seven", '7'}, {"eight", '8'}, {"nine", '9'}, {"underscore", '_'}, {"ampersand", '&'}};
    if (name.size() == 1)
        return name[0];
    auto it = named.find(name);
    return it == named.end() ? '?' : it->second;
}

// The texts of each page of a PostScript job as the driver draws them: a
// "moveto" starts a text, each "/name glyphshow" adds a character.
std::vector<std::vector<std::string>> PostScriptPages(const std::string& ps)
{
    std::vector<std::vector<std::string>> pages;
    std::istringstream in(ps);
    std::string line, text;
    auto endText = [&] {
        if (!text.empty() && !pages.empty())
            pages.back().push_back(text);
        text.clear();
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("%%Page:", 0) == 0) {
            endText();
            pages.emplace_back();
        } else if (line.ends_with(" moveto")) {
            endText();
        } else if (line.starts_with("/") && line.ends_with(" glyphshow")) {
            text += GlyphChar(line.substr(1, line.size() - 1 - std::string_view(" glyphshow").size()));
        }
    }
    endText();
    return pages;
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
    const int lines = view->m_nLinesPerPage;
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
        EXPECT_EQ(texts[0].at.y, 2 * view->m_nLineHeight);
        // A fixed-pitch font: every character of the header is as wide, and
        // the 81 of them are the width the page is centred on.
        ASSERT_EQ(texts[0].advances.size(), 81u);
        EXPECT_EQ(std::count(texts[0].advances.begin(), texts[0].advances.end(), texts[0].advances[0]), 81);
        EXPECT_EQ(texts[0].advances[0] * 81, view->m_nTextWidth);
        for (int i = first; i <= last; ++i) {
            EXPECT_EQ(texts[1 + i - first].text, ItemLine(view, i));
            EXPECT_EQ(texts[1 + i - first].at.y, (i - first + 5) * view->m_nLineHeight);
            EXPECT_EQ(texts[1 + i - first].at.x, view->m_nLeftMargin);
        }
    }
    EXPECT_GT(view->m_nLeftMargin, 0) << "the text is centred";

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
    EXPECT_EQ(printed[1][1], ItemLine(view, view->m_nLinesPerPage));
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
