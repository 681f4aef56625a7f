// The real Korvel.exe as the OLE server of a container of our own
// (tests/korvel/container): an object made by its class id and embedded in
// a compound file, activated in place (the server's window inside the
// container's, its toolbar on the container's frame, a menu command the
// container forwards), a row added through the real form, Esc, the
// storage saved and read again by a second container process; the object
// opened in its own window and saved back with Update; its extent and its
// picture. What Wine does not carry across processes (merged menus, the
// border passed back on resize) is tested in process (korvel_inplace_test).
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "container/test_container.h"
#include "fx/fx_ids.h"
#include "korvel/resource.h"
#include "program_runner.h"
#include "win_test_helpers.h"

namespace {

using vtest::TestContainer;

const CLSID kKorvel = {0x5C7BCAC0, 0x9158, 0x11CF, {0xB6, 0xFC, 0x00, 0x00, 0xC0, 0x37, 0x3B, 0xD0}};
const char kInstalledMap[] = "com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\ntxt=\"TEXT\" \"ttxt\" ;SimpleText\r\n";

using vtest::ProcessOf;

// A window of class `cls` of another process (`notProcess`) or of one
// process (`process`), visible when asked.
struct WindowSearch {
    const char* cls;
    DWORD process;     // 0: any
    DWORD notProcess;  // 0: none
    bool visible;
    HWND found;
};

BOOL CALLBACK FindWindowOfSearch(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    const DWORD pid = ProcessOf(window);
    if (strcmp(cls, search->cls) == 0 && (search->process == 0 || pid == search->process) &&
        pid != search->notProcess && (!search->visible || IsWindowVisible(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The toolbar another process put on `frame`.
HWND ServerToolbar(HWND frame)
{
    WindowSearch search{"ToolbarWindow32", 0, GetCurrentProcessId(), false, nullptr};
    EnumChildWindows(frame, &FindWindowOfSearch, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A message box or dialog of process `process`, once it is shown.
HWND DialogOf(DWORD process)
{
    WindowSearch search{"#32770", process, 0, true, nullptr};
    EnumWindows(&FindWindowOfSearch, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The process of the (hidden) main window of Korvel serving this test.
DWORD ServerProcess()
{
    for (HWND h : vtest::KorvelMainWindows())
        if (ProcessOf(h) != GetCurrentProcessId())
            return ProcessOf(h);
    return 0;
}

std::string WindowText(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Adds a row through the map's form (a window of another process): New,
// the four fields, Accept.
void AddRow(HWND form, const char* extension, const char* type, const char* creator, const char* remark)
{
    auto press = [form](int id) {
        SendMessageA(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(form, id)));
    };
    press(IDC_KORVEL_NEW);
    SetDlgItemTextA(form, IDC_KORVEL_EXTENSION, extension);
    SetDlgItemTextA(form, IDC_KORVEL_TYPE, type);
    SetDlgItemTextA(form, IDC_KORVEL_CREATOR, creator);
    SetDlgItemTextA(form, IDC_KORVEL_REMARK, remark);
    press(IDC_KORVEL_ACCEPT);
}

int RowCount(HWND form)
{
    return static_cast<int>(SendMessageA(GetDlgItem(form, IDC_KORVEL_LIST), LVM_GETITEMCOUNT, 0, 0));
}

class KorvelContainer : public testing::Test {
protected:
    std::string folder;
    std::unique_ptr<vtest::InstallFolderOverride> installFolder;

    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        folder = std::string(tmp) + "korvel-container-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        std::ofstream(folder + "Korvel.AFPMap", std::ios::binary) << kInstalledMap;
        installFolder = std::make_unique<vtest::InstallFolderOverride>(folder);
        // A start by the user writes the server's registration (once).
        static bool registered = false;
        if (!registered) {
            vtest::KorvelProcess program;
            ASSERT_TRUE(program.Start(""));
            HWND main = program.WaitForMainWindow(true);
            ASSERT_NE(main, nullptr);
            ASSERT_TRUE(program.End(main));
            registered = true;
        }
    }

    void TearDown() override
    {
        installFolder.reset();
        DeleteFileA((folder + "Korvel.AFPMap").c_str());
        DeleteFileA(StoragePath().c_str());
        DeleteFileA((folder + "probe.txt").c_str());
        RemoveDirectoryA(folder.c_str());
        OleUninitialize();
    }

    std::string StoragePath() const { return folder + "container.stg"; }
    std::wstring WideStoragePath() const
    {
        const std::string path = StoragePath();
        return std::wstring(path.begin(), path.end());
    }

    // The text of the object stored in the container file, as a second
    // container process finds it.
    std::string ProbeStorage() const
    {
        const std::string out = folder + "probe.txt";
        DeleteFileA(out.c_str());
        std::string cmd = "\"" + vtest::TestProgramFolder() + "korvel_container_probe.exe\" \"" + StoragePath() +
                          "\" \"" + out + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return "<probe did not start>";
        DWORD code = 1;
        if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 1);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        std::ifstream in(out, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return code == 0 ? text.str() : "<probe failed>";
    }

    // Closes the object and waits for its server process to end.
    static void CloseAndAwaitServer(TestContainer& container, DWORD serverPid)
    {
        HANDLE server = OpenProcess(SYNCHRONIZE, FALSE, serverPid);
        EXPECT_EQ(container.Close(), S_OK);
        ASSERT_NE(server, nullptr);
        EXPECT_EQ(WaitForSingleObject(server, 15000), WAIT_OBJECT_0) << "the server ends with its object";
        CloseHandle(server);
    }
};

TEST_F(KorvelContainer, ARowAddedInPlaceIsSavedAndReadBackByAnotherContainer)
{
    TestContainer container;
    ASSERT_EQ(container.Create(kKorvel, WideStoragePath()), S_OK);
    EXPECT_EQ(container.Text(), kInstalledMap) << "a new object holds the installed map";

    ASSERT_EQ(container.DoVerb(OLEIVERB_PRIMARY), S_OK);
    ASSERT_TRUE(container.PumpUntil([&] { return container.m_uiActive && container.m_objectWindow != nullptr; }));
    const HWND frame = container.m_objectWindow;
    const DWORD server = ProcessOf(frame);
    EXPECT_NE(server, GetCurrentProcessId());
    EXPECT_TRUE(IsChild(container.m_site, frame)) << "the server's window is inside the container's";
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_EQ(container.m_activeObjectName, L"Extension Table");
    EXPECT_NE(container.m_sharedMenu, nullptr);

    // The in-place toolbar, on the container's frame, in the border space
    // the server asked for.
    const HWND toolbar = ServerToolbar(container.m_frame);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(GetParent(toolbar), container.m_frame);
    EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 5);
    for (UINT id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_APP_ABOUT})
        EXPECT_GE(SendMessageA(toolbar, TB_COMMANDTOINDEX, id, 0), 0) << id;
    RECT bar;
    GetWindowRect(toolbar, &bar);
    EXPECT_GT(container.m_border.top, 0);
    EXPECT_EQ(container.m_border.top, bar.bottom - bar.top);

    // View > Toolbar from the container's menu bar, forwarded to the object.
    container.MenuCommand(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(container.PumpUntil([&] { return !IsWindowVisible(toolbar); }));
    EXPECT_EQ(container.m_forwardedCommands, std::vector<UINT>{ID_VIEW_TOOLBAR});
    EXPECT_TRUE(container.PumpUntil([&] { return container.m_border.top == 0; })) << "the border space is given back";
    container.MenuCommand(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(container.PumpUntil([&] { return IsWindowVisible(toolbar); }));

    const HWND form = GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(RowCount(form), 2);
    AddRow(form, "zip", "ZIP ", "pkzp", "added in place");
    EXPECT_EQ(RowCount(form), 3);

    // Esc in the map ends the activation.
    PostMessageA(GetDlgItem(form, IDC_KORVEL_LIST), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ASSERT_TRUE(container.PumpUntil([&] { return !container.m_inPlaceActive; }));
    EXPECT_EQ(container.m_uiDeactivations, 1);
    EXPECT_TRUE(container.PumpUntil([&] { return !IsWindow(frame) && !IsWindow(toolbar); }));
    EXPECT_EQ(GetMenu(container.m_frame), container.m_ownMenu);

    ASSERT_EQ(container.Save(), S_OK);
    CloseAndAwaitServer(container, server);
    container.ReleaseFile();
    EXPECT_EQ(ProbeStorage(), std::string(kInstalledMap) + "zip=\"ZIP \" \"pkzp\" ;added in place\r\n");
}

TEST_F(KorvelContainer, OpenedInItsOwnWindowUpdateSavesIntoTheContainer)
{
    TestContainer container;
    ASSERT_EQ(container.Create(kKorvel, WideStoragePath()), S_OK);
    ASSERT_EQ(container.Save(), S_OK);
    ASSERT_EQ(container.DoVerb(OLEIVERB_OPEN), S_OK);
    ASSERT_TRUE(container.PumpUntil([&] { return container.m_showWindow == 1; }));
    EXPECT_FALSE(container.m_inPlaceActive);
    HWND main = nullptr;
    for (HWND h : vtest::KorvelMainWindows())
        if (IsWindowVisible(h) && ProcessOf(h) != GetCurrentProcessId())
            main = h;
    ASSERT_NE(main, nullptr);
    const DWORD server = ProcessOf(main);
    EXPECT_EQ(WindowText(main), "Extension Table in Sample - Extension Mapper");

    const HWND form = GetDlgItem(main, AFX_IDW_PANE_FIRST);
    ASSERT_NE(form, nullptr);
    AddRow(form, "sit", "SIT!", "SIT!", "opened");
    EXPECT_EQ(container.StoredBytes(), kInstalledMap) << "not in the container's file before Update";

    // File > Update (Ctrl+S) of the window's embedded menu.
    PostMessageA(main, WM_COMMAND, ID_FILE_UPDATE, 0);
    ASSERT_TRUE(container.PumpUntil([&] { return container.m_saveObjectCalls == 1 && container.m_onSave >= 1; }));
    EXPECT_EQ(container.StoredBytes(), std::string(kInstalledMap) + "sit=\"SIT!\" \"SIT!\" ;opened\r\n");

    // Changed again and closed: the server asks whether to update the
    // container first; Yes saves into it, and the object closes.
    AddRow(form, "hqx", "TEXT", "BnHq", "binhex");
    PostMessageA(main, WM_CLOSE, 0, 0);
    HWND ask = nullptr;
    container.PumpUntil([&] { return (ask = DialogOf(server)) != nullptr; });
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(ask, 0xFFFF)), "Update Sample before closing?");
    PostMessageA(ask, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    ASSERT_TRUE(container.PumpUntil([&] { return container.m_onClose == 1; }));
    EXPECT_EQ(container.m_saveObjectCalls, 2);
    CloseAndAwaitServer(container, server);
    container.ReleaseFile();
    EXPECT_EQ(ProbeStorage(), std::string(kInstalledMap) + "sit=\"SIT!\" \"SIT!\" ;opened\r\n" +
                                  "hqx=\"TEXT\" \"BnHq\" ;binhex\r\n");
}

// The records of a metafile: function number and parameters.
struct MetaRecords {
    std::vector<std::pair<WORD, std::vector<short>>> list;
};

int CALLBACK CollectMetaRecord(HDC, HANDLETABLE*, METARECORD* record, int, LPARAM param)
{
    auto* records = reinterpret_cast<MetaRecords*>(param);
    std::vector<short> params;
    for (DWORD i = 0; i + 3 < record->rdSize; ++i)
        params.push_back(static_cast<short>(record->rdParm[i]));
    if (record->rdFunction != 0)  // the end record
        records->list.emplace_back(record->rdFunction, params);
    return 1;
}

TEST_F(KorvelContainer, TheObjectIsAnEmptySquareOfThirtyMillimetres)
{
    TestContainer container;
    ASSERT_EQ(container.Create(kKorvel, WideStoragePath()), S_OK);
    SIZEL size{};
    ASSERT_EQ(container.m_object->GetExtent(DVASPECT_CONTENT, &size), S_OK);
    EXPECT_EQ(size.cx, 3000);
    EXPECT_EQ(size.cy, 3000);

    STGMEDIUM medium{};
    ASSERT_EQ(container.GetData(CF_METAFILEPICT, TYMED_MFPICT, medium), S_OK);
    auto* picture = static_cast<METAFILEPICT*>(GlobalLock(medium.hMetaFilePict));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->mm, MM_ANISOTROPIC);
    EXPECT_EQ(picture->xExt, 3000);
    EXPECT_EQ(picture->yExt, 3000);
    MetaRecords records;
    HDC screen = GetDC(nullptr);
    EnumMetaFile(screen, picture->hMF, &CollectMetaRecord, reinterpret_cast<LPARAM>(&records));
    ReleaseDC(nullptr, screen);
    GlobalUnlock(medium.hMetaFilePict);
    ReleaseStgMedium(&medium);
    // Mapping mode, window origin and extent, and nothing drawn.
    const std::vector<std::pair<WORD, std::vector<short>>> expected = {
        {META_SETMAPMODE, {MM_ANISOTROPIC}}, {META_SETWINDOWORG, {0, 0}}, {META_SETWINDOWEXT, {3000, 3000}}};
    EXPECT_EQ(records.list, expected);

    ASSERT_EQ(container.GetData(CF_ENHMETAFILE, TYMED_ENHMF, medium), S_OK);
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(medium.hEnhMetaFile, sizeof header, &header);
    EXPECT_EQ(header.rclFrame.right - header.rclFrame.left, 3000);
    EXPECT_EQ(header.rclFrame.bottom - header.rclFrame.top, 3000);
    ReleaseStgMedium(&medium);

    CloseAndAwaitServer(container, ServerProcess());
}

TEST_F(KorvelContainer, ThroughTheDefaultHandlerTheCacheHasTheExtentAndTheDrawing)
{
    // OleCreate puts the system's default handler (InprocHandler32
    // "ole32.dll") between container and server; its cache asks the server
    // for the picture (a metafile, as asked: Wine's cache given no format
    // asks for none the server can give), and its IViewObject answers from
    // there.
    IStorage* storage = nullptr;
    ASSERT_EQ(StgCreateDocfile(nullptr, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE,
                               0, &storage),
              S_OK);
    TestContainer site;
    IOleObject* object = nullptr;
    FORMATETC picture{CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
    ASSERT_EQ(OleCreate(kKorvel, IID_IOleObject, OLERENDER_DRAW, &picture, &site, storage,
                        reinterpret_cast<void**>(&object)),
              S_OK);
    IViewObject2* view = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(&view)), S_OK);
    SIZEL size{};
    EXPECT_EQ(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &size), S_OK);
    EXPECT_EQ(size.cx, 3000);
    EXPECT_EQ(size.cy, 3000);
    HDC screen = GetDC(nullptr);
    HDC metafile = CreateEnhMetaFileA(screen, nullptr, nullptr, nullptr);
    RECT bounds{0, 0, 113, 113};
    EXPECT_EQ(OleDraw(object, DVASPECT_CONTENT, metafile, &bounds), S_OK);
    DeleteEnhMetaFile(CloseEnhMetaFile(metafile));
    ReleaseDC(nullptr, screen);
    view->Release();
    const DWORD server = ServerProcess();
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, server);
    EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
    object->Release();
    storage->Release();
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
    CloseHandle(process);
}

}  // namespace
