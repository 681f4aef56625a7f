// Whole table files: reading, writing, and what a failure leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

#include "dev_type_entry.h"
#include "korvel_entry.h"
#include "table_file.h"

namespace fs = std::filesystem;

namespace {

class TableFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::temp_directory_path() / (std::string("vestrel_tables_") + info->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_rows.Reserve(4);
        m_table.m_pListCtrl = &m_rows;
    }
    void TearDown() override
    {
        m_table.DeleteAllEntries();
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    std::string PathOf(const char* name) const { return (m_folder / name).string(); }

    static void WriteRaw(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadRaw(const std::string& path)
    {
        std::string text;
        EXPECT_TRUE(ReadTableFile(path, text));
        return text;
    }

    fs::path m_folder;
    CTableRowVector<CDevTypeEntry> m_rows;
    CTableContents<CDevTypeEntry> m_table;
};

}  // namespace

TEST_F(TableFile, SavedTableLoadsBackRowForRow)
{
    m_table.AddItemToList(-1, std::make_unique<CDevTypeEntry>("LaserWriter", "Y", "office printer"));
    m_table.AddItemToList(-1, std::make_unique<CDevTypeEntry>("ImageWriter", "N", ""));
    const std::string path = PathOf("Printers.PAPTypes");
    ASSERT_TRUE(SaveTableFile(m_table, path));
    EXPECT_EQ(ReadRaw(path), "\"LaserWriter\" Y ;office printer\r\n\"ImageWriter\" N ;\r\n");

    CTableRowVector<CDevTypeEntry> rows;
    CTableContents<CDevTypeEntry> loaded;
    loaded.m_pListCtrl = &rows;
    auto result = LoadTableFile(loaded, path);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->added, 2);
    EXPECT_EQ(*loaded.GetEntry(0), *m_table.GetEntry(0));
    EXPECT_EQ(*loaded.GetEntry(1), *m_table.GetEntry(1));
    loaded.DeleteAllEntries();
}

TEST_F(TableFile, SavingReplacesALongerFileCompletely)
{
    const std::string path = PathOf("Printers.PAPTypes");
    WriteRaw(path, std::string(1000, 'x'));
    m_table.AddItemToList(-1, std::make_unique<CDevTypeEntry>("A", "Y", ""));
    ASSERT_TRUE(SaveTableFile(m_table, path));
    EXPECT_EQ(ReadRaw(path), "\"A\" Y ;\r\n");
}

TEST_F(TableFile, EmptyAndAllMalformedFilesLoadAsEmptyTables)
{
    WriteRaw(PathOf("empty"), "");
    WriteRaw(PathOf("junk"), "nothing\r\nhere\r\n\r\n");
    auto empty = LoadTableFile(m_table, PathOf("empty"));
    auto junk = LoadTableFile(m_table, PathOf("junk"));
    ASSERT_TRUE(empty && junk);
    EXPECT_EQ(empty->added, 0);
    EXPECT_EQ(junk->added, 0);
    EXPECT_EQ(junk->malformed, 3);
    EXPECT_EQ(m_table.GetEntryCount(), 0);
}

TEST_F(TableFile, MissingFileFailsAndLeavesTheTableAsItWas)
{
    m_table.AddItemToList(-1, std::make_unique<CDevTypeEntry>("Kept", "Y", ""));
    EXPECT_FALSE(LoadTableFile(m_table, PathOf("missing")).has_value());
    ASSERT_EQ(m_table.GetEntryCount(), 1);
    EXPECT_EQ(m_table.GetEntry(0)->m_strPrinterType, "Kept");
}

TEST_F(TableFile, SaveThatCannotOpenItsFileFails)
{
    m_table.AddItemToList(-1, std::make_unique<CDevTypeEntry>("A", "Y", ""));
    EXPECT_FALSE(SaveTableFile(m_table, PathOf("no such folder/Printers.PAPTypes")));
    fs::create_directory(m_folder / "a folder");
    EXPECT_FALSE(SaveTableFile(m_table, PathOf("a folder")));
}

TEST_F(TableFile, SaveWithoutAListLeavesTheFileUntouched)
{
    const std::string path = PathOf("Printers.PAPTypes");
    WriteRaw(path, "\"Old\" Y ;\r\n");
    CTableContents<CDevTypeEntry> noList;
    EXPECT_FALSE(SaveTableFile(noList, path));
    EXPECT_EQ(ReadRaw(path), "\"Old\" Y ;\r\n");
}

TEST_F(TableFile, SaveThatFailsMidwayLeavesTheOldTableWhole)
{
#ifdef _WIN32
    GTEST_SKIP() << "the file size limit that cuts a write short is a POSIX one";
#else
    const std::string path = PathOf("Printers.PAPTypes");
    WriteRaw(path, "\"Old\" Y ;\r\n");
    for (int i = 0; i < 500; ++i)
        m_table.AddItemToList(-1, std::make_unique<CDevTypeEntry>("LaserWriter " + std::to_string(i), "Y", ""));

    // The process may write no file beyond 4 KiB: the save fails part way.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool saved = SaveTableFile(m_table, path);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadRaw(path), "\"Old\" Y ;\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 1)
        << "the failed copy is removed";
#endif
}
