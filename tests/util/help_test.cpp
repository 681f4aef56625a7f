// Where help comes from and how it is started: the default help file beside
// the program, else "Quarnet.hlp" in the installation folder of the
// registry; Help Topics starts "WinHlp32.exe" with that file.
#include <fstream>
#include <sstream>

#include "install_folder.h"
#include "shell_fixture.h"
#include "util/resource.h"

namespace {

void SetInstallPath(const char* value)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kInstallFolderKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, kInstallFolderValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
}

void RemoveInstallKey()
{
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kInstallFolderKey, KEY_WOW64_32KEY, 0);
}

class HelpLookup : public ShellTest {
protected:
    std::string defaultHelp;

    void SetUp() override
    {
        RemoveInstallKey();
        ShellTest::SetUp();
        defaultHelp = app->m_pszHelpFilePath;
    }
    void TearDown() override
    {
        DeleteFileA(defaultHelp.c_str());
        RemoveInstallKey();
        ShellTest::TearDown();
    }
    // Runs the lookup again from the framework's default, as at start-up.
    void LookUpAgain()
    {
        free(app->m_pszHelpFilePath);
        app->m_pszHelpFilePath = _strdup(defaultHelp.c_str());
        app->m_strHelpPath.clear();
        app->m_strProductDir.clear();
        app->LookUpHelp();
    }
};

TEST_F(HelpLookup, DefaultPathIsTheProgramsPathWithHlp)
{
    EXPECT_EQ(defaultHelp, TestProgramFolder() + "util_shell_test.HLP");
}

TEST_F(HelpLookup, ADefaultHelpFileIsUsedAndTheRegistryNotRead)
{
    std::ofstream(defaultHelp) << "help";
    SetInstallPath("C:\\Quarnet");
    LookUpAgain();
    EXPECT_EQ(app->GetProductDir(), "");
    EXPECT_EQ(app->m_strHelpPath, "");
    EXPECT_STREQ(app->m_pszHelpFilePath, defaultHelp.c_str());
    EXPECT_STREQ(app->HelpFileInUse(), defaultHelp.c_str());
}

TEST_F(HelpLookup, RegistryPathWithOrWithoutBackslashGivesTheSameHelpPath)
{
    SetInstallPath("C:\\Quarnet");
    LookUpAgain();
    EXPECT_EQ(app->GetProductDir(), "C:\\Quarnet\\");
    EXPECT_EQ(app->m_strHelpPath, "C:\\Quarnet\\Quarnet.hlp");
    EXPECT_STREQ(app->m_pszHelpFilePath, "C:\\Quarnet\\Quarnet.hlp");

    SetInstallPath("C:\\Quarnet\\");
    LookUpAgain();
    EXPECT_EQ(app->GetProductDir(), "C:\\Quarnet\\");
    EXPECT_EQ(app->m_strHelpPath, "C:\\Quarnet\\Quarnet.hlp");
}

TEST_F(HelpLookup, NoKeyLeavesTheDefaultAlthoughItIsMissing)
{
    LookUpAgain();
    EXPECT_EQ(app->GetProductDir(), "");
    EXPECT_STREQ(app->m_pszHelpFilePath, defaultHelp.c_str());
    EXPECT_STREQ(app->HelpFileInUse(), defaultHelp.c_str());
}

TEST_F(HelpLookup, AnEmptyPathValueCountsAsNoFolder)
{
    SetInstallPath("");
    LookUpAgain();
    EXPECT_EQ(app->GetProductDir(), "");
    EXPECT_STREQ(app->m_pszHelpFilePath, defaultHelp.c_str());
}

using vtest::HelpProgramRecorder;
using vtest::HelpWindow;

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST_F(HelpLookup, HelpTopicsAndShiftF1StartWinHlp32WithTheHelpFileInUse)
{
    SetInstallPath("C:\\Quarnet");
    LookUpAgain();
    HelpProgramRecorder recorder;
    ASSERT_TRUE(recorder.Installed());
    frame->SendMessage(WM_COMMAND, ID_HELP_INDEX, 0);
    std::vector<std::string> lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(Lower(lines[0]).find("winhlp32.exe"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("C:\\Quarnet\\Quarnet.hlp"), std::string::npos) << lines[0];

    frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP, 0);
    lines = recorder.WaitForLines(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("C:\\Quarnet\\Quarnet.hlp"), std::string::npos) << lines[1];
}

TEST_F(HelpLookup, WithoutRegistryHelpTopicsPassesTheDefaultHelpPath)
{
    LookUpAgain();
    HelpProgramRecorder recorder;
    ASSERT_TRUE(recorder.Installed());
    frame->SendMessage(WM_COMMAND, ID_HELP_INDEX, 0);
    std::vector<std::string> lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(Lower(lines[0]).find(Lower(defaultHelp)), std::string::npos) << lines[0];
}

TEST_F(HelpLookup, HelpMenuCommandsCallHelpWithTheirContexts)
{
    SetInstallPath("C:\\Quarnet");
    LookUpAgain();
    HelpWindow help;
    frame->SendMessage(WM_COMMAND, ID_HELP_UTILITIES, 0);
    frame->SendMessage(WM_COMMAND, ID_HELP_TROUBLESHOOTING, 0);
    frame->SendMessage(WM_COMMAND, ID_HELP_USING, 0);
    const auto& got = HelpWindow::s_requests;
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(got[0].data, 1050);
    EXPECT_EQ(got[0].file, "C:\\Quarnet\\Quarnet.hlp");
    EXPECT_EQ(got[1].command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(got[1].data, 1040);
    EXPECT_EQ(got[2].command, static_cast<UINT>(HELP_HELPONHELP));
}

}  // namespace
