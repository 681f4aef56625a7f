// Where help comes from and how it is started: the default help file beside
// the program, else "Quarnet.hlp" in the installation folder of the
// registry; Help Topics starts "WinHlp32.exe" with that file.
#include <fstream>
#include <sstream>

#include "fx/ole.h"
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

// Puts the recorder in place of the prefix's help program for one test.
class HelpProgramRecorder {
public:
    HelpProgramRecorder()
    {
        char dir[MAX_PATH];
        GetSystemDirectoryA(dir, sizeof dir);
        program_ = std::string(dir) + "\\winhlp32.exe";
        backup_ = program_ + ".vestrel-test";
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        record_ = std::string(temp) + "help_record.txt";
        DeleteFileA(record_.c_str());
        installed_ = CopyFileA(program_.c_str(), backup_.c_str(), FALSE) &&
                     CopyFileA((TestProgramFolder() + "help_recorder.exe").c_str(), program_.c_str(), FALSE);
        // Wine runs its own help program unless told to load the file on
        // disk; each new process reads this setting.
        installed_ = installed_ && FxSetRegistryText(HKEY_CURRENT_USER, kOverrides, "winhlp32.exe", "native");
        SetEnvironmentVariableA("VESTREL_HELP_RECORD", record_.c_str());
    }
    ~HelpProgramRecorder()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kOverrides, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "winhlp32.exe");
            RegCloseKey(key);
        }
        SetEnvironmentVariableA("VESTREL_HELP_RECORD", nullptr);
        CopyFileA(backup_.c_str(), program_.c_str(), FALSE);
        DeleteFileA(backup_.c_str());
        DeleteFileA(record_.c_str());
    }
    bool Installed() const { return installed_; }
    // The command lines recorded so far, after waiting up to 15 s for `count`.
    std::vector<std::string> WaitForLines(size_t count) const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < 150; ++i) {
            lines.clear();
            std::ifstream in(record_);
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
            if (lines.size() >= count)
                break;
            Sleep(100);
        }
        return lines;
    }

private:
    static constexpr const char* kOverrides = "Software\\Wine\\DllOverrides";
    std::string program_, backup_, record_;
    bool installed_ = false;
};

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

// Stands in for a running help window: the system's WinHelp hands its
// request (command, data, file) to the window of class "MS_WINHELP".
class HelpWindow {
public:
    struct Request {
        UINT command;
        LONG data;
        std::string file;
    };
    HelpWindow()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MS_WINHELP";
        RegisterClassA(&wc);
        hwnd_ = CreateWindowExA(0, "MS_WINHELP", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
        s_requests.clear();
    }
    ~HelpWindow() { DestroyWindow(hwnd_); }
    static std::vector<Request> s_requests;

private:
    HWND hwnd_;
    // The request block: size, command, data, reserved, file offset.
#pragma pack(push, 1)
    struct Block {
        WORD size;
        WORD command;
        LONG data;
        LONG reserved;
        WORD ofsFilename;
        WORD ofsData;
    };
#pragma pack(pop)
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == WM_COPYDATA) {
            const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
            const auto* block = static_cast<const Block*>(cds->lpData);
            std::string file = block->ofsFilename ? reinterpret_cast<const char*>(block) + block->ofsFilename : "";
            s_requests.push_back({block->command, block->data, file});
            return TRUE;
        }
        return DefWindowProcA(h, m, w, l);
    }
};
std::vector<HelpWindow::Request> HelpWindow::s_requests;

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
