// The table operations a document performs through its row list: adding
// and freeing records, the key search, loading lines and storing rows.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dev_type_entry.h"
#include "korvel_entry.h"
#include "table_contents.h"

namespace {

// A record that counts how many of its kind are alive, to see who frees.
struct CountedEntry {
    static inline int alive = 0;
    explicit CountedEntry(std::string key) : m_strKey(std::move(key)) { ++alive; }
    ~CountedEntry() { --alive; }
    const std::string& GetKey() const { return m_strKey; }
    std::string m_strKey;
};

// A row list that refuses every insertion, like a list control that cannot
// take another row.
template <class Entry>
class RefusingRows final : public CTableRows<Entry> {
public:
    int GetItemCount() const override { return 0; }
    int InsertItem(int, Entry*) override { return -1; }
    Entry* GetItemEntry(int) const override { return nullptr; }
    bool DeleteItem(int) override { return false; }
    void DeleteAllItems() override {}
    void RedrawItems(int, int) override {}
};

template <class Entry>
struct Table {
    Table() { contents.m_pListCtrl = &rows; }
    ~Table() { contents.DeleteAllEntries(); }
    CTableRowVector<Entry> rows;
    CTableContents<Entry> contents;
};

class CountedTable : public ::testing::Test {
protected:
    void SetUp() override { CountedEntry::alive = 0; }
    void TearDown() override { EXPECT_EQ(CountedEntry::alive, 0) << "records leaked"; }
};

std::unique_ptr<CountedEntry> Counted(const char* key)
{
    return std::make_unique<CountedEntry>(key);
}

std::string Keys(const CTableContents<CKorvelEntry>& table)
{
    std::string keys;
    for (int i = 0; i < table.GetEntryCount(); ++i)
        keys += table.GetEntry(i)->GetKey() + ",";
    return keys;
}

}  // namespace

TEST_F(CountedTable, AddItemToListAppendsOnNegativeIndexAndInsertsAtAGivenOne)
{
    Table<CountedEntry> table;
    EXPECT_EQ(table.contents.AddItemToList(-1, Counted("b")), 0);
    EXPECT_EQ(table.contents.AddItemToList(-5, Counted("c")), 1);
    EXPECT_EQ(table.contents.AddItemToList(0, Counted("a")), 0);
    EXPECT_EQ(table.contents.AddItemToList(9, Counted("d")), 3);  // past the end: appended
    ASSERT_EQ(table.contents.GetEntryCount(), 4);
    EXPECT_EQ(table.contents.GetEntry(0)->GetKey(), "a");
    EXPECT_EQ(table.contents.GetEntry(1)->GetKey(), "b");
    EXPECT_EQ(table.contents.GetEntry(2)->GetKey(), "c");
    EXPECT_EQ(table.contents.GetEntry(3)->GetKey(), "d");
    EXPECT_EQ(CountedEntry::alive, 4);
}

TEST_F(CountedTable, AddItemToListFreesWhatItCannotInsert)
{
    Table<CountedEntry> table;
    EXPECT_EQ(table.contents.AddItemToList(0, nullptr), -1);
    EXPECT_EQ(table.contents.GetEntryCount(), 0);
    EXPECT_EQ(CountedEntry::alive, 0);

    RefusingRows<CountedEntry> refusing;
    CTableContents<CountedEntry> refused;
    refused.m_pListCtrl = &refusing;
    EXPECT_EQ(refused.AddItemToList(-1, Counted("refused")), -1);
    EXPECT_EQ(CountedEntry::alive, 0);
}

TEST_F(CountedTable, WithoutAListNothingHappensAndRecordsAreFreed)
{
    CTableContents<CountedEntry> table;
    EXPECT_EQ(table.AddItemToList(-1, Counted("a")), -1);
    EXPECT_EQ(CountedEntry::alive, 0);
    table.DeleteAllEntries();
    EXPECT_FALSE(table.DeleteEntry(0));
    EXPECT_EQ(table.GetEntryCount(), 0);
    EXPECT_EQ(table.GetEntry(0), nullptr);
    EXPECT_EQ(table.FindEntry("a"), -1);
}

TEST_F(CountedTable, DeleteAllEntriesFreesEveryRecordAndEmptiesTheList)
{
    Table<CountedEntry> table;
    for (const char* key : {"a", "b", "c"})
        table.contents.AddItemToList(-1, Counted(key));
    table.contents.DeleteAllEntries();
    EXPECT_EQ(table.rows.GetItemCount(), 0);
    EXPECT_EQ(CountedEntry::alive, 0);
}

TEST_F(CountedTable, DeleteEntryFreesOnlyThatRow)
{
    Table<CountedEntry> table;
    for (const char* key : {"a", "b", "c"})
        table.contents.AddItemToList(-1, Counted(key));
    EXPECT_TRUE(table.contents.DeleteEntry(1));
    EXPECT_FALSE(table.contents.DeleteEntry(2));
    EXPECT_FALSE(table.contents.DeleteEntry(-1));
    ASSERT_EQ(table.contents.GetEntryCount(), 2);
    EXPECT_EQ(table.contents.GetEntry(1)->GetKey(), "c");
    EXPECT_EQ(CountedEntry::alive, 2);
}

TEST(TableKeySearch, FirstWholeKeyMatchIgnoringCaseWins)
{
    Table<CKorvelEntry> table;
    table.contents.LoadText("txt=\"TEXT\" \"ttxt\" ;first\n"
                            "TXT=\"TEXT\" \"R*ch\" ;second\n"
                            "text=\"TEXT\" \"ttxt\" ;\n"
                            "\xC9t\xE9=\"TEXT\" \"ttxt\" ;\n");
    EXPECT_EQ(table.contents.FindEntry("TXT"), 0);
    EXPECT_EQ(table.contents.FindEntry("Txt"), 0);
    EXPECT_EQ(table.contents.FindEntry("tx"), -1);
    EXPECT_EQ(table.contents.FindEntry("txt "), -1);
    EXPECT_EQ(table.contents.FindEntry("TEXT"), 2);
    EXPECT_EQ(table.contents.FindEntry("\xE9T\xC9"), 3);  // accented letters fold too
    EXPECT_EQ(table.contents.FindEntry("doc"), -1);
}

TEST(TableLoad, EmptyFileAndAllMalformedFileLoadEmpty)
{
    Table<CDevTypeEntry> table;
    TableLoadResult empty = table.contents.LoadText("");
    EXPECT_EQ(empty.added + empty.malformed + empty.refused, 0);

    TableLoadResult junk = table.contents.LoadText("no quotes\r\n\r\n\"open only\r\n\"A\" ;x\r\n");
    EXPECT_EQ(junk.added, 0);
    EXPECT_EQ(junk.malformed, 4);
    EXPECT_EQ(table.contents.GetEntryCount(), 0);
}

TEST(TableLoad, DuplicateKeysLoadAsSeparateRowsInFileOrder)
{
    Table<CKorvelEntry> table;
    TableLoadResult result = table.contents.LoadText("com=\"BINA\" \"mdos\" ;a\r\n"
                                                     "COM=\"APPL\" \"mdos\" ;b\r\n"
                                                     "com=\"BINA\" \"mdos\" ;a\r\n");
    EXPECT_EQ(result.added, 3);
    EXPECT_EQ(Keys(table.contents), "com,COM,com,");
}

TEST(TableLoad, MalformedLinesAreSkippedAndTheRestLoads)
{
    Table<CDevTypeEntry> table;
    TableLoadResult result = table.contents.LoadText("\"A\" Y ;1\r\ngarbage\r\n\"B\" N ;2");
    EXPECT_EQ(result.added, 2);
    EXPECT_EQ(result.malformed, 1);
    EXPECT_EQ(table.contents.GetEntry(1)->m_strRemark, "2");
}

TEST(TableLoad, LinesEndAtLfOrCrLf)
{
    Table<CKorvelEntry> table;
    // LF, CR LF, CR CR LF (the first CR stays in the line, and the remark's
    // clean-up drops it), and a last line without an end.
    table.contents.LoadText("a=\"TEXT\" \"ttxt\" ;one\n"
                            "b=\"TEXT\" \"ttxt\" ;two\r\n"
                            "c=\"TEXT\" \"ttxt\" ;three\r\r\n"
                            "d=\"TEXT\" \"ttxt\" ;four");
    ASSERT_EQ(table.contents.GetEntryCount(), 4);
    EXPECT_EQ(Keys(table.contents), "a,b,c,d,");
    EXPECT_EQ(table.contents.GetEntry(1)->m_strRemark, "two");
    EXPECT_EQ(table.contents.GetEntry(2)->m_strRemark, "three");
    EXPECT_EQ(table.contents.GetEntry(3)->m_strRemark, "four");
}

TEST(TableLoad, LoadingAppendsAfterRowsAlreadyThere)
{
    Table<CDevTypeEntry> table;
    table.contents.AddItemToList(-1, std::make_unique<CDevTypeEntry>("First", "Y", ""));
    table.contents.LoadText("\"Second\" N ;");
    ASSERT_EQ(table.contents.GetEntryCount(), 2);
    EXPECT_EQ(table.contents.GetEntry(1)->m_strPrinterType, "Second");
}

TEST(TableLoad, WithoutAListEveryRecordIsRefused)
{
    CTableContents<CDevTypeEntry> table;
    TableLoadResult result = table.LoadText("\"A\" Y ;\r\nbad\r\n");
    EXPECT_EQ(result.added, 0);
    EXPECT_EQ(result.refused, 1);
    EXPECT_EQ(result.malformed, 1);
}

TEST(TableStore, WritesEveryRowInTheCurrentOrder)
{
    Table<CDevTypeEntry> table;
    table.contents.LoadText("\"B\" Y ;second\r\n");
    table.contents.AddItemToList(0, std::make_unique<CDevTypeEntry>("A", "N", "first"));
    std::string text;
    ASSERT_TRUE(table.contents.StoreText(text));
    EXPECT_EQ(text, "\"A\" N ;first\r\n\"B\" Y ;second\r\n");
}

TEST(TableStore, ACanonicalFileIsWrittenBackByteForByte)
{
    const std::string file = "com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\n"
                             "xls=\"XLS \" \"XCEL\" ;Microsoft Excel Spreadsheet\r\n"
                             "tif=\"TIFF\" \"????\" ;Tagged Image File Format\r\n";
    Table<CKorvelEntry> table;
    table.contents.LoadText(file);
    std::string text;
    table.contents.StoreText(text);
    EXPECT_EQ(text, file);
}

TEST(TableStore, WritingNormalizesTheRecordsInMemory)
{
    Table<CKorvelEntry> table;
    table.contents.LoadText("xls=\"XLS\" \"XCEL\" ;\n");
    EXPECT_EQ(table.contents.GetEntry(0)->m_strMacType, "XLS");
    std::string text;
    table.contents.StoreText(text);
    EXPECT_EQ(text, "xls=\"XLS \" \"XCEL\" ;\r\n");
    EXPECT_EQ(table.contents.GetEntry(0)->m_strMacType, "XLS ");
}

TEST(TableStore, EmptyTableWritesNothingAndNoListFails)
{
    Table<CDevTypeEntry> table;
    std::string text;
    EXPECT_TRUE(table.contents.StoreText(text));
    EXPECT_EQ(text, "");

    CTableContents<CDevTypeEntry> noList;
    EXPECT_FALSE(noList.StoreText(text));
}

TEST(TableStore, FormatLineOfAMissingRowIsEmptyAndFails)
{
    Table<CDevTypeEntry> table;
    table.contents.LoadText("\"A\" y ;r");
    std::string line = "left over";
    EXPECT_FALSE(table.contents.FormatLine(1, line));
    EXPECT_EQ(line, "");
    EXPECT_TRUE(table.contents.FormatLine(0, line));
    EXPECT_EQ(line, "\"A\" y ;r\r\n");
}
