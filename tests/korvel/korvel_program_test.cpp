// The real Korvel.exe from outside: one instance, a start for a container
// (no window, the class factory served), and the registration a normal
// start writes.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "program_runner.h"
#include "win_test_helpers.h"

namespace {

using vtest::KorvelProcess;

// An installation folder with a map in it, so that the program starts
// without a message and ends without asking to save.
class KorvelProgram : public testing::Test {
protected:
    std::string folder;
    std::unique_ptr<vtest::InstallFolderOverride> installFolder;

    void SetUp() override
    {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        folder = std::string(tmp) + "korvel-program-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        std::ofstream(folder + "Korvel.AFPMap", std::ios::binary) << "com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\n";
        installFolder = std::make_unique<vtest::InstallFolderOverride>(folder);
    }
    void TearDown() override
    {
        installFolder.reset();
        DeleteFileA((folder + "Korvel.AFPMap").c_str());
        RemoveDirectoryA(folder.c_str());
    }
};

TEST_F(KorvelProgram, ASecondStartBringsTheFirstBackAndEnds)
{
    KorvelProcess first;
    ASSERT_TRUE(first.Start(""));
    HWND main = first.WaitForMainWindow(true);
    ASSERT_NE(main, nullptr);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main));

    KorvelProcess second;
    ASSERT_TRUE(second.Start(""));
    EXPECT_TRUE(second.WaitForExit(15000));
    const std::vector<HWND> windows = vtest::KorvelMainWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0], main);
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(first.End(main));
}

TEST_F(KorvelProgram, ANormalStartRegistersTheInPlaceServer)
{
    KorvelProcess program;
    ASSERT_TRUE(program.Start(""));
    HWND main = program.WaitForMainWindow(true);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(program.End(main)) << "closing the window ends the program cleanly";
    char value[MAX_PATH] = "";
    LONG size = sizeof value;
    ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, "CLSID\\{5C7BCAC0-9158-11CF-B6FC-0000C0373BD0}\\LocalServer32",
                             value, &size),
              ERROR_SUCCESS);
    EXPECT_NE(std::string(value).find("Korvel.exe"), std::string::npos) << value;
}

TEST_F(KorvelProgram, StartedForAContainerItShowsNothingAndServesItsClassFactory)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    KorvelProcess server;
    ASSERT_TRUE(server.Start("/Embedding"));
    // The factory is registered by the end of start-up.
    ASSERT_TRUE(server.WaitUntilIdle());
    IClassFactory* factory = nullptr;
    const CLSID korvel = {0x5C7BCAC0, 0x9158, 0x11CF, {0xB6, 0xFC, 0x00, 0x00, 0xC0, 0x37, 0x3B, 0xD0}};
    ASSERT_EQ(CoGetClassObject(korvel, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->Release();
    for (HWND h : vtest::KorvelMainWindows())
        EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_TRUE(server.Quit());
    CoUninitialize();
}

}  // namespace
