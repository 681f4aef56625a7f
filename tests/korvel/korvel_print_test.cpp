// Korvel's printed map, read back from the print preview's metafiles and
// from a printout into a PostScript file: the extension map's lines, its
// codes padded in the map itself, and the title in place of a long path.
#include <optional>
#include <string>
#include <vector>

#include "dialog_script.h"
#include "fx/print_preview.h"
#include "korvel/resource.h"
#include "korvel_fixture.h"
#include "printed_pages.h"
#include "test_printer.h"

namespace {

class KorvelPrint : public KorvelTest {
protected:
    std::optional<vtest::FilePrinter> printer;

    void SetUp() override
    {
        KorvelTest::SetUp();
        printer.emplace("Map Test Printer", "korvel_listing.ps");
        ASSERT_TRUE(printer->Installed());
    }
    void TearDown() override
    {
        KorvelTest::TearDown();
        printer.reset();
    }
    std::vector<std::vector<std::string>> PreviewTexts() { return vtest::PreviewTexts(view); }
};

TEST_F(KorvelPrint, TheMapPrintsItsLinesAndItsCodesArePaddedInTheMapToo)
{
    WriteMap("xls=\"XLS\" \"XCEL\" ;Microsoft Excel Spreadsheet\r\n"
             "com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\n");
    Start();
    ASSERT_EQ(Doc()->m_table.GetEntry(0)->m_strMacType, "XLS");
    const std::string path = Doc()->GetPathName();
    ASSERT_LE(path.size(), 68u);
    const auto preview = PreviewTexts();
    ASSERT_EQ(preview.size(), 1u);
    EXPECT_EQ(preview[0], (std::vector<std::string>{
                              path + std::string(81 - path.size() - 6, ' ') + "Page 1",
                              "xls  \"XLS \"  \"XCEL\"  Microsoft Excel Spreadsheet" + std::string(81 - 48, ' '),
                              "com  \"BINA\"  \"mdos\"  MS-DOS Executable" + std::string(81 - 38, ' ')}));
    // The type is held padded from now on; the list shows the same, and the
    // map is not marked modified.
    EXPECT_EQ(Doc()->m_table.GetEntry(0)->m_strMacType, "XLS ");
    EXPECT_EQ(Shown()[0], "xls|XLS |XCEL|Microsoft Excel Spreadsheet");
    EXPECT_FALSE(Doc()->IsModified());

    // Print Direct: no dialog, the previewed page on the printer.
    Command(ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(printer->Pages(), preview);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(KorvelPrint, AMapWhosePathIsTooLongForTheHeaderPrintsItsTitle)
{
    std::string folder = service.Dir();
    while (folder.size() + std::string("office.afpmap").size() < 69) {
        folder += "deeper\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string map = folder + "office.afpmap";
    attest::WriteFile(map, "txt=\"TEXT\" \"ttxt\" ;SimpleText Document\r\n");
    Start(("\"" + map + "\"").c_str());
    ASSERT_EQ(Doc()->GetPathName(), map);
    const auto preview = PreviewTexts();
    ASSERT_EQ(preview.size(), 1u);
    ASSERT_EQ(preview[0].size(), 2u);
    EXPECT_EQ(preview[0][0], "office.afpmap" + std::string(81 - 13 - 6, ' ') + "Page 1");
}

}  // namespace
