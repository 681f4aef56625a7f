// The printed table as text: the line of a row in each table, the header of
// a page, and which rows a page holds.
#include <gtest/gtest.h>

#include <string>

#include "dev_type_entry.h"
#include "korvel_entry.h"
#include "listing_page.h"
#include "table_print.h"

using namespace listing;

TEST(TablePrint, PrinterTypeLinesShowTheFlagAsALabelAndLeaveItAlone)
{
    CDevTypeEntry laser("LaserWriter", "y", "office printer");
    CDevTypeEntry dot("Dot", "N", std::string(40, 'r'));
    const std::string line = TablePrintLine(laser, 11);
    EXPECT_EQ(line, "LaserWriter  PostScript      office printer" + std::string(63 - 11 - 14, ' '));
    EXPECT_EQ(line.size(), 81u);
    EXPECT_EQ(laser.m_strPostScript, "y");
    // The key column is as wide as the longest key; a remark longer than
    // what is left is cut.
    EXPECT_EQ(TablePrintLine(dot, 32), "Dot" + std::string(29, ' ') + "  NON-PostScript  " + std::string(31, 'r'));
    EXPECT_EQ(TablePrintLine(dot, 32).size(), 81u);
}

TEST(TablePrint, ExtensionMapLinesQuoteTheCodesAndPadThemInTheTable)
{
    CKorvelEntry xls("xls", "XLS", "XCEL", "Microsoft Excel Spreadsheet");
    const std::string line = TablePrintLine(xls, 3);
    EXPECT_EQ(line, "xls  \"XLS \"  \"XCEL\"  Microsoft Excel Spreadsheet" + std::string(60 - 27, ' '));
    EXPECT_EQ(line.size(), 81u);
    EXPECT_EQ(xls.m_strMacType, "XLS ") << "normalized in the table, as a save does";
}

TEST(TablePrint, TheHeaderShowsThePathUpTo68CharactersElseTheTitle)
{
    const std::string path68 = "C:\\" + std::string(51, 'd') + "\\Korvel.AFPMap";
    ASSERT_EQ(path68.size(), 68u);
    EXPECT_EQ(TablePageHeader(path68, "Korvel.AFPMap", "Page 1"), path68 + std::string(7, ' ') + "Page 1");
    const std::string path69 = "C:\\" + std::string(52, 'd') + "\\Korvel.AFPMap";
    const std::string header = TablePageHeader(path69, "Korvel.AFPMap", "Page 12");
    EXPECT_EQ(header, "Korvel.AFPMap" + std::string(81 - 13 - 7, ' ') + "Page 12");
    EXPECT_EQ(header.size(), 81u);
}

TEST(TablePrint, SixtyOneRowsAtThirtyLinesMakeThreePages)
{
    EXPECT_EQ(PageCount(61, 30), 3);
    EXPECT_EQ(ItemsOfPage(1, 30, 61).first, 0);
    EXPECT_EQ(ItemsOfPage(1, 30, 61).last, 29);
    EXPECT_EQ(ItemsOfPage(2, 30, 61).first, 30);
    EXPECT_EQ(ItemsOfPage(2, 30, 61).last, 59);
    EXPECT_EQ(ItemsOfPage(3, 30, 61).first, 60);
    EXPECT_EQ(ItemsOfPage(3, 30, 61).last, 60);
    // An empty table prints one page, without rows; a page too short for
    // any row below the header still holds one.
    EXPECT_EQ(PageCount(0, 30), 1);
    EXPECT_LT(ItemsOfPage(1, 30, 0).last, ItemsOfPage(1, 30, 0).first);
    EXPECT_EQ(LinesPerPage(37 * 50, 50), 30);
    EXPECT_EQ(LinesPerPage(6 * 50, 50), 1);
}
