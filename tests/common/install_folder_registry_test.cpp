// The installation-folder lookup against the real registry (under Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "install_folder.h"

namespace {

const REGSAM kView = KEY_WOW64_32KEY;

class InstallFolderRegistry : public testing::Test {
protected:
    void SetUp() override { RemoveKey(); }
    void TearDown() override { RemoveKey(); }

    static void RemoveKey()
    {
        LONG rc = RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kInstallFolderKey, kView, 0);
        ASSERT_TRUE(rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) << rc;
        rc = RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kInstallFolderKey, KEY_WOW64_64KEY, 0);
        ASSERT_TRUE(rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) << rc;
    }

    static HKEY CreateKey(REGSAM view = kView)
    {
        HKEY key = nullptr;
        LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kInstallFolderKey, 0, nullptr, 0,
                                  KEY_SET_VALUE | view, nullptr, &key, nullptr);
        EXPECT_EQ(rc, ERROR_SUCCESS);
        return key;
    }

    static void SetRaw(DWORD type, const void* data, DWORD size, REGSAM view = kView)
    {
        HKEY key = CreateKey(view);
        ASSERT_EQ(RegSetValueExA(key, kInstallFolderValue, 0, type,
                                 static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static void SetPath(const std::string& text, REGSAM view = kView)
    {
        SetRaw(REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1), view);
    }
};

TEST_F(InstallFolderRegistry, ValueWithoutBackslashGetsOne)
{
    SetPath("C:\\Program Files\\QUARNET");
    EXPECT_EQ(FindInstallFolder(), "C:\\Program Files\\QUARNET\\");
}

TEST_F(InstallFolderRegistry, ValueWithBackslashIsKept)
{
    SetPath("D:\\QN\\");
    EXPECT_EQ(FindInstallFolder(), "D:\\QN\\");
}

TEST_F(InstallFolderRegistry, MissingKeyIsNotFound)
{
    EXPECT_FALSE(FindInstallFolder().has_value());
}

TEST_F(InstallFolderRegistry, KeyWithoutPathValueIsNotFound)
{
    RegCloseKey(CreateKey());
    EXPECT_FALSE(FindInstallFolder().has_value()) << "must not give the root of the current drive";
}

TEST_F(InstallFolderRegistry, UnreadableValuesAreNotFound)
{
    SetPath("");
    EXPECT_FALSE(FindInstallFolder().has_value()) << "empty text";
    DWORD number = 5;
    SetRaw(REG_DWORD, &number, sizeof number);
    EXPECT_FALSE(FindInstallFolder().has_value()) << "a number is not a folder";
}

TEST_F(InstallFolderRegistry, TextStoredWithoutItsNulIsRead)
{
    const std::string text = "C:\\QN";
    SetRaw(REG_SZ, text.data(), static_cast<DWORD>(text.size()));
    EXPECT_EQ(FindInstallFolder(), "C:\\QN\\");
}

TEST_F(InstallFolderRegistry, ExpandableTextIsExpanded)
{
    const std::string text = "%SystemRoot%\\QN";
    SetRaw(REG_EXPAND_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    char root[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA("SystemRoot", root, sizeof root), 0u);
    EXPECT_EQ(FindInstallFolder(), std::string(root) + "\\QN\\");
}

TEST_F(InstallFolderRegistry, ReadsTheThirtyTwoBitView)
{
    SetPath("C:\\Only64", KEY_WOW64_64KEY);
    EXPECT_FALSE(FindInstallFolder().has_value()) << "a key in the 64-bit view only is not the product's";
    SetPath("C:\\Only32", KEY_WOW64_32KEY);
    EXPECT_EQ(FindInstallFolder(), "C:\\Only32\\");
}

}  // namespace
