// The real Korvel.exe from outside: one instance, a start for a container
// (no window, the class factory served), and the registration a normal
// start writes.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

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

// One registry value as the program wrote it: its type and its bytes.
std::string RegistryText(const std::string& key, const char* value = nullptr)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
        return "<no key>";
    char data[MAX_PATH + 16] = "";
    DWORD type = 0, size = sizeof data;
    const LONG r = RegQueryValueExA(h, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(h);
    if (r != ERROR_SUCCESS)
        return "<no value>";
    if (type != REG_SZ || size != strlen(data) + 1)
        return "<not a string of its own length>";
    return data;
}

TEST_F(KorvelProgram, ANormalStartRegistersTheInPlaceServer)
{
    KorvelProcess program;
    ASSERT_TRUE(program.Start(""));
    HWND main = program.WaitForMainWindow(true);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(program.End(main)) << "closing the window ends the program cleanly";
    const std::string cls = "CLSID\\{5C7BCAC0-9158-11CF-B6FC-0000C0373BD0}";
    const std::string exe = vtest::TestProgramFolder() + "Korvel.exe";
    EXPECT_EQ(RegistryText(cls), "Korvel Document");
    EXPECT_EQ(RegistryText(cls + "\\ProgID"), "Korvel.afpmap");
    EXPECT_EQ(RegistryText(cls + "\\LocalServer32"), exe);
    EXPECT_EQ(RegistryText(cls + "\\InprocHandler32"), "ole32.dll");
    EXPECT_EQ(RegistryText(cls + "\\Verb\\0"), "&Edit,0,2");
    EXPECT_EQ(RegistryText(cls + "\\Verb\\1"), "&Open,0,2");
    EXPECT_EQ(RegistryText(cls + "\\MiscStatus"), "16");
    EXPECT_EQ(RegistryText(cls + "\\DefaultIcon"), exe + ",1");
    EXPECT_EQ(RegistryText(cls + "\\AuxUserType\\2"), "Korvel");
    EXPECT_EQ(RegistryText(cls + "\\AuxUserType\\3"), "Extension Mapper");
    EXPECT_EQ(RegistryText("Korvel.afpmap"), "Korvel Document");
    EXPECT_EQ(RegistryText("Korvel.afpmap\\CLSID"), "{5C7BCAC0-9158-11CF-B6FC-0000C0373BD0}");
    for (const std::string& key : {cls + "\\Insertable", std::string("Korvel.afpmap\\Insertable")}) {
        HKEY h;
        EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &h), ERROR_SUCCESS) << key;
        RegCloseKey(h);
    }
    // The icon containers show for the object is the document's.
    char path[MAX_PATH];
    lstrcpynA(path, exe.c_str(), MAX_PATH);
    EXPECT_NE(ExtractIconA(nullptr, path, 1), nullptr);
}

TEST_F(KorvelProgram, StartedForAContainerItShowsNothingAndEndsWithItsObject)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    KorvelProcess server;
    ASSERT_TRUE(server.Start("/Embedding"));
    // The factory is registered by the end of start-up.
    ASSERT_TRUE(server.WaitUntilIdle());
    for (HWND h : vtest::KorvelMainWindows())
        EXPECT_NE(vtest::ProcessOf(h), server.Id()) << "no window before an object is made";
    IClassFactory* factory = nullptr;
    const CLSID korvel = {0x5C7BCAC0, 0x9158, 0x11CF, {0xB6, 0xFC, 0x00, 0x00, 0xC0, 0x37, 0x3B, 0xD0}};
    ASSERT_EQ(CoGetClassObject(korvel, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    IOleObject* object = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
    factory->Release();
    ASSERT_NE(object, nullptr);
    HWND hidden = server.WaitForMainWindow(false);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));

    // A start by the user meanwhile is not handed over to the container's
    // server: it opens a window of its own.
    KorvelProcess user;
    ASSERT_TRUE(user.Start(""));
    HWND own = user.WaitForMainWindow(true);
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(user.End(own));

    object->Release();
    EXPECT_TRUE(server.WaitForExit(15000)) << "the last object gone, the server ends";
    CoUninitialize();
}

}  // namespace
