// The printer type line:  "printer type" F ;remark
#include <gtest/gtest.h>

#include <string>

#include "dev_type_entry.h"

namespace {

CDevTypeEntry Parse(const std::string& line)
{
    auto entry = CDevTypeEntry::ParseLine(line);
    if (!entry) {
        ADD_FAILURE() << "malformed: " << line;
        return {};
    }
    return *entry;
}

bool IsMalformed(const std::string& line)
{
    return CDevTypeEntry::ParseLine(line) == nullptr;
}

std::string Format(CDevTypeEntry& entry)
{
    std::string line;
    entry.WriteLine(line);
    return line;
}

}  // namespace

TEST(DevTypeLineRoundTrip, ReadsAndWritesTheExampleLine)
{
    CDevTypeEntry entry = Parse("\"LaserWriter\" Y ;office printer");
    EXPECT_EQ(entry, CDevTypeEntry("LaserWriter", "Y", "office printer"));
    EXPECT_EQ(Format(entry), "\"LaserWriter\" Y ;office printer\r\n");
}

TEST(DevTypeLineRoundTrip, LowerCaseFlagIsKeptAndWrittenBack)
{
    CDevTypeEntry yes = Parse("\"ImageWriter\" y ;dot matrix");
    EXPECT_EQ(yes.m_strPostScript, "y");
    EXPECT_TRUE(yes.IsPostScript());
    EXPECT_EQ(Format(yes), "\"ImageWriter\" y ;dot matrix\r\n");

    CDevTypeEntry no = Parse("\"StyleWriter\" n ;");
    EXPECT_EQ(no.m_strPostScript, "n");
    EXPECT_FALSE(no.IsPostScript());
    EXPECT_EQ(Format(no), "\"StyleWriter\" n ;\r\n");
}

TEST(DevTypeLineRoundTrip, MissingSemicolonGivesEmptyRemarkWrittenWithSemicolon)
{
    CDevTypeEntry entry = Parse("\"LaserWriter\" N");
    EXPECT_EQ(entry, CDevTypeEntry("LaserWriter", "N", ""));
    EXPECT_EQ(Format(entry), "\"LaserWriter\" N ;\r\n");
}

TEST(DevTypeLineRoundTrip, EmptyTypeIsAccepted)
{
    EXPECT_EQ(Parse("\"\" Y ;no name"), CDevTypeEntry("", "Y", "no name"));
}

TEST(DevTypeLineRoundTrip, TextBetweenPartsIsIgnored)
{
    EXPECT_EQ(Parse("junk \"LaserWriter\" , NO;  ok  "), CDevTypeEntry("LaserWriter", "N", "ok"));
    EXPECT_EQ(Parse("\"A\"Y;x"), CDevTypeEntry("A", "Y", "x"));
}

TEST(DevTypeLineRoundTrip, RemarkKeepsQuotesSemicolonsAndFlagLetters)
{
    CDevTypeEntry entry = Parse("\"A\" Y ;say \"yes\"; or no");
    EXPECT_EQ(entry.m_strRemark, "say \"yes\"; or no");
    EXPECT_EQ(Parse(Format(entry).substr(0, Format(entry).size() - 2)), entry);
}

TEST(DevTypeLineRoundTrip, NormalizingTheFlagStaysInTheRecord)
{
    CDevTypeEntry longFlag("LaserWriter", "Yes", "r");
    EXPECT_EQ(Format(longFlag), "\"LaserWriter\" Y ;r\r\n");
    EXPECT_EQ(longFlag.m_strPostScript, "Y");

    CDevTypeEntry noFlag("LaserWriter", "", "r");
    EXPECT_EQ(Format(noFlag), "\"LaserWriter\"   ;r\r\n");
    EXPECT_EQ(noFlag.m_strPostScript, " ");
}

TEST(DevTypeLineRoundTrip, BytesAbove127AreOrdinaryText)
{
    CDevTypeEntry entry = Parse("\"Imprimante \xE9tage\" Y ;\xA0salle\xA0");
    EXPECT_EQ(entry.m_strPrinterType, "Imprimante \xE9tage");
    EXPECT_EQ(entry.m_strRemark, "\xA0salle\xA0");  // no-break space is not white space
}

TEST(DevTypeLineMalformed, LinesWithoutTheNeededParts)
{
    EXPECT_TRUE(IsMalformed(""));
    EXPECT_TRUE(IsMalformed("   \t"));
    EXPECT_TRUE(IsMalformed("LaserWriter Y ;no quotes"));
    EXPECT_TRUE(IsMalformed("\"LaserWriter Y ;no closing quote"));
    EXPECT_TRUE(IsMalformed("\"LaserWriter\""));
    EXPECT_TRUE(IsMalformed("\"LaserWriter\" X ;laser"));
}

TEST(DevTypeLineMalformed, FlagLettersInsideTheQuotesDoNotCount)
{
    EXPECT_TRUE(IsMalformed("\"Yn yN\" ;"));
    EXPECT_TRUE(IsMalformed("Y N \"LaserWriter\""));
}

TEST(DevTypeLineCuts, TypeIsTrimmedThenCutTo32)
{
    const std::string type40(40, 'T');
    EXPECT_EQ(Parse("\"  \t" + type40 + "\" Y ;").m_strPrinterType, std::string(32, 'T'));
    // The cut comes after the leading white space goes...
    EXPECT_EQ(Parse("\"" + std::string(10, ' ') + std::string(32, 'a') + "b\" Y").m_strPrinterType,
              std::string(32, 'a'));
    // ...and white space the cut leaves at the end goes too.
    EXPECT_EQ(Parse("\"" + std::string(30, 'a') + "   bbb\" Y").m_strPrinterType,
              std::string(30, 'a'));
}

TEST(DevTypeLineCuts, EveryWhiteSpaceCharacterIsTrimmed)
{
    EXPECT_EQ(Parse("\" \t\v\f\r\nLaser Writer \t\v\f\r\n\" N ; \t\v\fremark \t\v\f\r").m_strPrinterType,
              "Laser Writer");
    EXPECT_EQ(Parse("\"A\" N ; \t\v\fremark text \t\v\f\r").m_strRemark, "remark text");
}

TEST(DevTypeLineCuts, RemarkIsTrimmedThenCutTo40)
{
    const std::string remark50(50, 'r');
    EXPECT_EQ(Parse("\"A\" Y ;   " + remark50).m_strRemark, std::string(40, 'r'));
    EXPECT_EQ(Parse("\"A\" Y ;" + std::string(38, 'r') + "  xyz").m_strRemark, std::string(38, 'r'));
}

TEST(DevTypeLineQuoteInKey, WrittenUnchangedReadBackEndingAtTheQuote)
{
    CDevTypeEntry entry("Laser\"Writer", "Y", "r");
    const std::string line = Format(entry);
    EXPECT_EQ(line, "\"Laser\"Writer\" Y ;r\r\n");
    EXPECT_EQ(Parse(line.substr(0, line.size() - 2)), CDevTypeEntry("Laser", "Y", "r"));
}

TEST(DevTypeLineQuoteInKey, TextAfterTheQuoteCanSupplyTheFlag)
{
    // The rest of the type is searched for the flag like any other text.
    CDevTypeEntry entry("Old\"Laser yellow", "N", "r");
    const std::string line = Format(entry);
    EXPECT_EQ(Parse(line.substr(0, line.size() - 2)), CDevTypeEntry("Old", "y", "r"));
}

TEST(DevTypeLineFlagInRemark, LetterInRemarkBecomesFlagAndRemarkFollowsNextSemicolon)
{
    EXPECT_EQ(Parse("\"HP\" ;Yellow toner; spare"), CDevTypeEntry("HP", "Y", "spare"));
    EXPECT_EQ(Parse("\"HP\" ;a quiet printer"), CDevTypeEntry("HP", "n", ""));
}

TEST(DevTypeLineFlagInRemark, RemarkWithoutFlagLettersIsMalformed)
{
    EXPECT_TRUE(IsMalformed("\"HP\" ;laser"));
}
