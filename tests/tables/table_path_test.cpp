// Where the table files are looked for.
#include <gtest/gtest.h>

#include "table_path.h"

TEST(TablePath, InstallationFolderWinsWhenKnown)
{
    EXPECT_EQ(GetTablePath(std::string("C:\\Quarnet\\"), "D:\\Apps\\VestrelUtil.exe", kDevTypeTableFileName),
              "C:\\Quarnet\\Printers.PAPTypes");
    EXPECT_EQ(GetTablePath(std::string("C:\\Quarnet"), "D:\\Apps\\Korvel.exe", kKorvelTableFileName),
              "C:\\Quarnet\\Korvel.AFPMap");
}

TEST(TablePath, ProgramFolderWhenTheInstallationFolderIsNotKnown)
{
    EXPECT_EQ(GetTablePath(std::nullopt, "D:\\Apps\\Vestrel\\VestrelUtil.exe", kDevTypeTableFileName),
              "D:\\Apps\\Vestrel\\Printers.PAPTypes");
    // An empty folder is not known either: it must not become the root of
    // the current drive.
    EXPECT_EQ(GetTablePath(std::string(), "D:\\Apps\\Korvel.exe", kKorvelTableFileName),
              "D:\\Apps\\Korvel.AFPMap");
}

TEST(TablePath, ProgramFolderIsCutAfterTheLastSeparator)
{
    EXPECT_EQ(ProgramFolder("C:\\a\\b.dir\\prog.exe"), "C:\\a\\b.dir\\");
    EXPECT_EQ(ProgramFolder("Z:/unix/side/prog.exe"), "Z:/unix/side/");
    EXPECT_EQ(ProgramFolder("\\\\server\\share\\prog.exe"), "\\\\server\\share\\");
    EXPECT_EQ(ProgramFolder("prog.exe"), "");
    EXPECT_EQ(GetTablePath(std::nullopt, "prog.exe", kKorvelTableFileName), "Korvel.AFPMap");
}
