// VSXPROPS.dll as the shell meets it: registered by vsxsetup (or regsvr32),
// loaded by COM from its registration, showing its pages in our sheets on
// one thread and on two at once, unloaded when nothing of it is in use; and
// loaded by Wine's own shell for a file on the mapped AppleShare drive.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "atnetd_process.h"
#include "class_ids.h"
#include "resource.h"
#include "selection_data.h"
#include "setup_tool.h"
#include "sheet_host.h"

namespace shelltest {
namespace {

const char kDll[] = "VSXPROPS.dll";


std::string ClassIdText(REFCLSID clsid)
{
    LPOLESTR wide = nullptr;
    StringFromCLSID(clsid, &wide);
    char text[64] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    CoTaskMemFree(wide);
    return text;
}

// A default value as written: its type and its bytes, the NUL included.
struct Value {
    DWORD type = 0;
    std::string bytes;
    bool present = false;
};
Value ReadValue(HKEY root, const std::string& key, const char* name = nullptr)
{
    Value v;
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
        return v;
    char data[1024];
    DWORD size = sizeof data;
    if (RegQueryValueExA(h, name, nullptr, &v.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
        v.present = true;
        v.bytes.assign(data, size);
    }
    RegCloseKey(h);
    return v;
}
bool KeyExists(HKEY root, const std::string& key)
{
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}
std::string Text(const std::string& s)
{
    return s + std::string(1, '\0');
}

struct ClassRow {
    const char* progId;
    CLSID clsid;
};
const ClassRow kClasses[] = {{"VSXFileExt", CLSID_VSXFileExt}, {"VSXNetExt", CLSID_VSXNetExt},
                             {"VSXPrintExt", CLSID_VSXPrintExt}};

bool Loaded()
{
    return GetModuleHandleA(kDll) != nullptr;
}
// What the shell does from time to time: unload what may be unloaded.
void FreeUnused()
{
    CoFreeUnusedLibrariesEx(0, 0);
}

class ComHost : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        InitCommonControls();
        ASSERT_EQ(RunSetup(), 0u);
    }
    static void TearDownTestSuite()
    {
        RunSetup(true);
        CoUninitialize();
    }
    void SetUp() override { ASSERT_TRUE(service_.StartWorldFile(SAMPLE_WORLD)); }
    void TearDown() override
    {
        FreeUnused();
        EXPECT_FALSE(Loaded()) << "VSXPROPS.dll stayed loaded";
    }

    attest::AtnetdProcess service_;
};

TEST_F(ComHost, RegsvrWritesTheClassesOnlyAndVsxsetupTheHandlersTooAndTakesAllAway)
{
    const std::string dll = attest::ExeFolder() + kDll;
    ASSERT_EQ(RunSetup(true), 0u);
    ASSERT_EQ(RunProgram("regsvr32.exe /s \"" + dll + "\""), 0u);
    for (const ClassRow& c : kClasses) {
        const std::string clsid = ClassIdText(c.clsid);
        const std::string key = "CLSID\\" + clsid;
        const std::pair<std::string, std::string> expected[] = {
            {c.progId, c.progId}, {std::string(c.progId) + "\\CLSID", clsid}, {key, c.progId},
            {key + "\\ProgID", c.progId}, {key + "\\InProcServer32", dll}};
        for (const auto& [path, text] : expected) {
            const Value v = ReadValue(HKEY_CLASSES_ROOT, path);
            EXPECT_TRUE(v.present) << path;
            EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ)) << path;
            EXPECT_EQ(v.bytes, Text(text)) << path;
        }
        EXPECT_FALSE(ReadValue(HKEY_CLASSES_ROOT, key + "\\InProcServer32", "ThreadingModel").present);
    }
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "*\\shellex\\PropertySheetHandlers\\VSXFileExt"));

    ASSERT_EQ(RunSetup(), 0u);
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "*\\shellex\\PropertySheetHandlers\\VSXFileExt").bytes,
              Text(ClassIdText(CLSID_VSXFileExt)));
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "Folder\\shellex\\PropertySheetHandlers\\VSXNetExt").bytes,
              Text(ClassIdText(CLSID_VSXNetExt)));
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "Printers\\shellex\\PropertySheetHandlers\\VSXPrintExt").bytes,
              Text(ClassIdText(CLSID_VSXPrintExt)));
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "NetServer\\shellex\\ContextMenuHandlers\\VSXNetExt").bytes,
              Text(ClassIdText(CLSID_VSXNetExt)));

    ASSERT_EQ(RunSetup(true), 0u);
    for (const ClassRow& c : kClasses) {
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, c.progId));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + ClassIdText(c.clsid)));
    }
    for (const char* key : {"*\\shellex\\PropertySheetHandlers\\VSXFileExt",
                            "Directory\\shellex\\PropertySheetHandlers\\VSXNetExt",
                            "Printers\\shellex\\PropertySheetHandlers\\VSXPrintExt",
                            "NetServer\\shellex\\ContextMenuHandlers\\VSXNetExt"})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
    ASSERT_EQ(RunSetup(), 0u);
}

TEST_F(ComHost, ComLoadsTheDllForASheetAndUnloadsItWhenTheSheetIsGone)
{
    IShellExtInit* init = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_VSXFileExt, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                               reinterpret_cast<void**>(&init)),
              S_OK);
    EXPECT_TRUE(Loaded());
    DataObject* data = DroppedFiles({"\\\\Engineering Server\\Projects\\Vestrel 2.5\\Read Me"}, true);
    EXPECT_EQ(init->Initialize(nullptr, data, nullptr), S_OK);
    data->Release();
    IShellPropSheetExt* ext = nullptr;
    ASSERT_EQ(init->QueryInterface(IID_IShellPropSheetExt, reinterpret_cast<void**>(&ext)), S_OK);
    SheetHost host;
    EXPECT_EQ(host.AddPagesOf(ext), S_OK);
    ext->Release();
    init->Release();

    ASSERT_TRUE(host.Show("Properties for Read Me"));
    EXPECT_EQ(ItemText(host.Page(0), IDC_FILE_NAME), "Read Me");
    EXPECT_EQ(ItemText(host.Page(0), IDC_DATA_FORK_LENGTH), "1,000");
    FreeUnused();
    EXPECT_TRUE(Loaded()) << "unloaded under an open sheet";
    host.Close();
}

TEST_F(ComHost, AServersContextMenuHandlerOffersChangeServerPassword)
{
    // What the shell does for a server's menu: the handler its key names,
    // created by COM, given the selection, asked for its items.
    const Value handler = ReadValue(HKEY_CLASSES_ROOT, "NetServer\\shellex\\ContextMenuHandlers\\VSXNetExt");
    ASSERT_TRUE(handler.present);
    std::wstring wide(handler.bytes.begin(), handler.bytes.end() - 1);
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromString(wide.c_str(), &clsid), S_OK);
    IShellExtInit* init = nullptr;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                               reinterpret_cast<void**>(&init)),
              S_OK);
    DataObject* data = NetResources({{"\\\\Engineering Server", "AppleTalk Network"}});
    EXPECT_EQ(init->Initialize(nullptr, data, nullptr), S_OK);
    data->Release();
    IContextMenu* menu = nullptr;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    HMENU popup = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 100, 200, CMF_NORMAL), 1);
    char text[64] = "";
    GetMenuStringA(popup, 100, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "Change Server Password");
    DestroyMenu(popup);
    menu->Release();
    init->Release();
}

TEST_F(ComHost, AClassIdOfTheDllThatItDoesNotServeIsNotAvailable)
{
    const std::string key = "CLSID\\{B1D3A4C0-55AA-4E11-9C3B-0123456789AB}\\InProcServer32";
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, (attest::ExeFolder() + kDll).c_str(), 0),
              ERROR_SUCCESS);
    const CLSID other = {0xB1D3A4C0, 0x55AA, 0x4E11, {0x9C, 0x3B, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB}};
    IClassFactory* factory = nullptr;
    EXPECT_EQ(CoGetClassObject(other, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              CLASS_E_CLASSNOTAVAILABLE);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID\\{B1D3A4C0-55AA-4E11-9C3B-0123456789AB}");
}

// One sheet on a thread of its own, as the shell shows each properties
// window: made from the shared class factory, shown until `close` is set.
void SheetThread(IClassFactory* factory, const char* folder, HANDLE shown, HANDLE close, std::string* name)
{
    CoInitialize(nullptr);
    IShellExtInit* init = nullptr;
    factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init));
    IShellPropSheetExt* ext = nullptr;
    init->QueryInterface(IID_IShellPropSheetExt, reinterpret_cast<void**>(&ext));
    init->Initialize(nullptr, DroppedFiles({folder}), nullptr);
    SheetHost host;
    host.AddPagesOf(ext);
    ext->Release();
    init->Release();
    if (host.Show())
        *name = ItemText(host.Page(0), IDC_DIRECTORY_NAME);
    SetEvent(shown);
    while (MsgWaitForMultipleObjects(1, &close, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        PumpMessages();
    host.Close();
    CoUninitialize();
}

TEST_F(ComHost, SheetsOnTwoThreadsAtOnceAndAThreadThatOutlivesTheDll)
{
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(CLSID_VSXNetExt, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    HANDLE shown[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE close = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE exit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::string names[2];
    std::thread first([&] {
        SheetThread(factory, "\\\\Engineering Server\\Projects\\Vestrel 2.5", shown[0], close, &names[0]);
        WaitForSingleObject(exit, 10000);  // lives on after the DLL is gone
    });
    std::thread second([&] {
        SheetThread(factory, "\\\\Engineering Server\\Public\\Drop Box", shown[1], close, &names[1]);
    });
    EXPECT_EQ(WaitForMultipleObjects(2, shown, TRUE, 20000), WAIT_OBJECT_0);
    FreeUnused();
    EXPECT_TRUE(Loaded());
    SetEvent(close);
    second.join();
    factory->Release();
    EXPECT_EQ(names[0], "Vestrel 2.5");
    EXPECT_EQ(names[1], "Drop Box");
    for (int i = 0; i < 100 && Loaded(); ++i) {
        FreeUnused();
        Sleep(20);
    }
    EXPECT_FALSE(Loaded());
    SetEvent(exit);
    first.join();
    for (HANDLE h : {shown[0], shown[1], close, exit})
        CloseHandle(h);
}

}  // namespace
}  // namespace shelltest
