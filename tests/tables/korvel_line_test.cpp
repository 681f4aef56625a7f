// The extension map line:  extension="TYPE" "CRTR" ;remark
#include <gtest/gtest.h>

#include <string>

#include "korvel_entry.h"

namespace {

CKorvelEntry Parse(const std::string& line)
{
    auto entry = CKorvelEntry::ParseLine(line);
    if (!entry) {
        ADD_FAILURE() << "malformed: " << line;
        return {};
    }
    return *entry;
}

bool IsMalformed(const std::string& line)
{
    return CKorvelEntry::ParseLine(line) == nullptr;
}

std::string Format(CKorvelEntry& entry)
{
    std::string line;
    entry.WriteLine(line);
    return line;
}

// The line without its CR LF, as a table file hands it back.
std::string Unterminated(const std::string& line)
{
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    return line.substr(0, line.size() - 2);
}

}  // namespace

TEST(KorvelLineRoundTrip, ReadsAndWritesTheExampleLine)
{
    CKorvelEntry entry = Parse("com=\"BINA\" \"mdos\" ;MS-DOS Executable");
    EXPECT_EQ(entry, CKorvelEntry("com", "BINA", "mdos", "MS-DOS Executable"));
    EXPECT_EQ(Format(entry), "com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\n");
}

TEST(KorvelLineRoundTrip, TrailingSpaceOfATypeIsPartOfIt)
{
    CKorvelEntry entry = Parse("xls=\"XLS \" \"XCEL\" ;Microsoft Excel Spreadsheet");
    EXPECT_EQ(entry.m_strMacType, "XLS ");
    EXPECT_EQ(Format(entry), "xls=\"XLS \" \"XCEL\" ;Microsoft Excel Spreadsheet\r\n");
}

TEST(KorvelLineRoundTrip, MissingSemicolonGivesEmptyRemark)
{
    CKorvelEntry entry = Parse("txt=\"TEXT\" \"ttxt\"");
    EXPECT_EQ(entry, CKorvelEntry("txt", "TEXT", "ttxt", ""));
    EXPECT_EQ(Format(entry), "txt=\"TEXT\" \"ttxt\" ;\r\n");
}

TEST(KorvelLineRoundTrip, EmptyExtensionIsAccepted)
{
    EXPECT_EQ(Parse("=\"TEXT\" \"ttxt\" ;no extension"), CKorvelEntry("", "TEXT", "ttxt", "no extension"));
}

TEST(KorvelLineRoundTrip, TextBetweenPartsIsIgnored)
{
    EXPECT_EQ(Parse("  doc =  \"Text\"    \"MSWD\"   ;   Word   "), CKorvelEntry("doc", "Text", "MSWD", "Word"));
    EXPECT_EQ(Parse("pcd=x\"PCDI\"y\"PCDv\"z;Photo CD"), CKorvelEntry("pcd", "PCDI", "PCDv", "Photo CD"));
}

TEST(KorvelLineRoundTrip, CodesAreCaseSensitiveAndKeptAsFound)
{
    EXPECT_EQ(Parse("doc=\"Text\" \"MSWD\" ;").m_strMacType, "Text");
    EXPECT_EQ(Parse("rtf=\"TEXT\" \"MSWD\" ;").m_strMacType, "TEXT");
}

TEST(KorvelLineRoundTrip, RemarkKeepsQuotesAndSemicolons)
{
    CKorvelEntry entry = Parse("rtf=\"TEXT\" \"MSWD\" ;Rich Text; \"Word\" -> =");
    EXPECT_EQ(entry.m_strRemark, "Rich Text; \"Word\" -> =");
    EXPECT_EQ(Parse(Unterminated(Format(entry))), entry);
}

TEST(KorvelLineMalformed, NoEqualsSign)
{
    EXPECT_TRUE(IsMalformed(""));
    EXPECT_TRUE(IsMalformed("com \"BINA\" \"mdos\" ;MS-DOS Executable"));
}

TEST(KorvelLineMalformed, FewerThanFourQuotesAfterTheEqualsSign)
{
    EXPECT_TRUE(IsMalformed("com="));
    EXPECT_TRUE(IsMalformed("com=\"BINA ;x"));
    EXPECT_TRUE(IsMalformed("com=\"BINA\" mdos ;x"));
    EXPECT_TRUE(IsMalformed("com=\"BINA\" \"mdos ;x"));
    // Quotes before the equals sign do not count.
    EXPECT_TRUE(IsMalformed("\"com\"\"x\"=\"BINA\" ;"));
}

TEST(KorvelLineCuts, ShortCodesArePaddedWhenWrittenAndHeldPadded)
{
    CKorvelEntry entry("xl", "XL", "X", "r");
    EXPECT_EQ(Format(entry), "xl=\"XL  \" \"X   \" ;r\r\n");
    EXPECT_EQ(entry.m_strMacType, "XL  ");
    EXPECT_EQ(entry.m_strMacCreator, "X   ");
}

TEST(KorvelLineCuts, LongCodesAreCutWhenWrittenAndHeldCut)
{
    CKorvelEntry entry("x", "ABCDEF", "GHIJKL", "");
    EXPECT_EQ(Format(entry), "x=\"ABCD\" \"GHIJ\" ;\r\n");
    EXPECT_EQ(entry.m_strMacType, "ABCD");
    EXPECT_EQ(entry.m_strMacCreator, "GHIJ");
}

TEST(KorvelLineCuts, TypeReadWithFiveCharactersKeepsFourAndItsWhiteSpace)
{
    EXPECT_EQ(Parse("x=\"ABCDE\" \"mdos\"").m_strMacType, "ABCD");
    EXPECT_EQ(Parse("x=\" a\tb \" \"mdos\"").m_strMacType, " a\tb");
    EXPECT_EQ(Parse("x=\"ab\" \"mdos\"").m_strMacType, "ab");  // padded only when written
}

TEST(KorvelLineCuts, CreatorLosesLeadingWhiteSpaceOnly)
{
    EXPECT_EQ(Parse("x=\"TEXT\" \"  \tab\"").m_strMacCreator, "ab");
    EXPECT_EQ(Parse("x=\"TEXT\" \"ab  \"").m_strMacCreator, "ab  ");
    EXPECT_EQ(Parse("x=\"TEXT\" \" abcdef\"").m_strMacCreator, "abcd");
}

TEST(KorvelLineCuts, ExtensionAndRemarkAreTrimmedThenCut)
{
    const std::string ext40(40, 'e');
    EXPECT_EQ(Parse(" \t" + ext40 + "=\"TEXT\" \"ttxt\"").m_strExtension, std::string(32, 'e'));
    EXPECT_EQ(Parse(std::string(31, 'e') + "  e=\"TEXT\" \"ttxt\"").m_strExtension, std::string(31, 'e'));
    EXPECT_EQ(Parse("x=\"TEXT\" \"ttxt\" ;\t\v " + std::string(45, 'r')).m_strRemark, std::string(40, 'r'));
    EXPECT_EQ(Parse("x=\"TEXT\" \"ttxt\" ;" + std::string(39, 'r') + " tail").m_strRemark,
              std::string(39, 'r'));
}

TEST(KorvelLineEqualsAndQuoteInKey, ExtensionWithEqualsSignIsWrittenUnchangedAndReadBackCut)
{
    CKorvelEntry entry("tar=gz", "TARF", "SITx", "archive");
    const std::string line = Format(entry);
    EXPECT_EQ(line, "tar=gz=\"TARF\" \"SITx\" ;archive\r\n");
    EXPECT_EQ(Parse(Unterminated(line)), CKorvelEntry("tar", "TARF", "SITx", "archive"));
}

TEST(KorvelLineEqualsAndQuoteInKey, ExtensionWithDoubleQuoteRoundTrips)
{
    // Quotes are only looked for after the equals sign.
    CKorvelEntry entry("a\"b", "TEXT", "ttxt", "quoted");
    EXPECT_EQ(Parse(Unterminated(Format(entry))), entry);
}
