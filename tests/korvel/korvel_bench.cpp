// Not a test: times Korvel under Wine, or takes its pictures.
//   korvel_bench [ROWS]        cold start of Korvel.exe to its shown window;
//                              in-place activation in the test container;
//                              a map of ROWS rows (default 10,000) opened,
//                              sorted by each column and saved in the real
//                              window; a file of as many lines merged into
//                              it under each guideline that asks nothing;
//                              the map previewed for printing
//   korvel_bench --shots DIR   pictures of the main window with the
//                              built-in map, of Korvel active in place
//                              in the test container, of the merge's
//                              dialogs and of a preview page
// Run it from the win64 build (see docs/performance.md).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "dialog_script.h"
#include "fx/document.h"
#include "fx/message_box.h"
#include "fx/print_preview.h"
#include "korvel/app.h"
#include "korvel/korvel_doc.h"
#include "korvel/korvel_view.h"
#include "korvel/main_frame.h"
#include "korvel/resource.h"
#include "container/test_container.h"
#include "program_runner.h"
#include "table_merge_steps.h"
#include "test_printer.h"
#include "win_test_helpers.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Settle(HWND frame)
{
    vtest::PumpWaitingMessages();
    AfxGetApp()->OnIdle(0);  // the bars' states, as the message loop sets them
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    vtest::PumpWaitingMessages();
    Sleep(300);
    vtest::PumpWaitingMessages();
}

CKorvelView* StartInProcess(CKorvelApp*& app)
{
    app = new CKorvelApp;
    app->SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    if (!app->InitApplication() || !app->InitInstance())
        return nullptr;
    vtest::PumpWaitingMessages();
    auto* frame = dynamic_cast<CFrameWnd*>(app->m_pMainWnd);
    return frame != nullptr ? dynamic_cast<CKorvelView*>(frame->GetActiveView()) : nullptr;
}

const CLSID kKorvel = {0x5C7BCAC0, 0x9158, 0x11CF, {0xB6, 0xFC, 0x00, 0x00, 0xC0, 0x37, 0x3B, 0xD0}};

// Korvel.exe active in place in the test container; the seconds to embed a
// new object (the server starting) and to activate it.
bool ActivateInPlace(vtest::TestContainer& container, const std::string& folder, double& embed, double& activate)
{
    const std::string path = folder + "bench.stg";
    auto start = std::chrono::steady_clock::now();
    if (FAILED(container.Create(kKorvel, std::wstring(path.begin(), path.end()))))
        return false;
    embed = Seconds(start);
    start = std::chrono::steady_clock::now();
    if (FAILED(container.DoVerb(OLEIVERB_PRIMARY)) || !container.PumpUntil([&] { return container.m_uiActive; }))
        return false;
    activate = Seconds(start);
    return true;
}

// What the screen shows of `window`, once it has painted, as DIR\name.bmp.
void Picture(HWND window, const std::string& dir, const char* name)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    vtest::PumpWaitingMessages();
    Sleep(200);
    vtest::PumpWaitingMessages();
    vtest::SaveWindowPicture(window, dir + "\\" + name);
}

CPreviewWnd* FindPreview()
{
    HWND h = FindWindowA(nullptr, "Print Preview");
    return h != nullptr ? dynamic_cast<CPreviewWnd*>(CWnd::FromHandlePermanent(h)) : nullptr;
}

int Shots(const std::string& folder, const std::string& dir)
{
    std::ofstream(folder + "Korvel.AFPMap", std::ios::binary)
        << "com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\ntxt=\"TEXT\" \"ttxt\" ;SimpleText Document\r\n"
           "xls=\"XLS \" \"XCEL\" ;Microsoft Excel Spreadsheet\r\n";
    {
        // Korvel active in place in the test container. Wine draws no window
        // of one process inside another's, so the application object runs
        // in the container's process for the picture.
        auto* app = new CKorvelApp;
        app->SetupFromModule(GetModuleHandleA(nullptr), "/Embedding", SW_SHOWNORMAL);
        if (!app->InitApplication() || !app->InitInstance())
            return 4;
        vtest::TestContainer container;
        const std::string path = folder + "shot.stg";
        if (FAILED(container.Create(kKorvel, std::wstring(path.begin(), path.end()), app->m_server.GetClassFactory())) ||
            FAILED(container.DoVerb(OLEIVERB_PRIMARY)) || !container.PumpUntil([&] { return container.m_uiActive; }))
            return 4;
        app->OnIdle(0);
        container.PumpUntil([] { return false; }, 500);
        vtest::SaveWindowPicture(container.m_frame, dir + "\\korvel_inplace.bmp");
        container.Close();
        vtest::PumpWaitingMessages();
        app->ExitInstance();
        delete app;
    }
    DeleteFileA((folder + "Korvel.AFPMap").c_str());
    CKorvelApp* app = nullptr;
    CKorvelView* view = StartInProcess(app);
    if (view == nullptr)
        return 2;
    Settle(app->m_pMainWnd->m_hWnd);
    vtest::SaveWindowPicture(app->m_pMainWnd->m_hWnd, dir + "\\korvel_main.bmp");

    // The merge's dialogs, over a file that repeats a key of the map.
    const std::string merge = folder + "office.afpmap";
    std::ofstream(merge, std::ios::binary) << "TXT=\"TEXT\" \"R*ch\" ;BBEdit\r\n";
    {
        vtest::DialogScript script;
        script.Then(vtest::OpenMergeFile(merge));
        script.Then([&](HWND dialog) {
            Picture(dialog, dir, "korvel_merge_file.bmp");
            vtest::DialogScript::Press(dialog, IDOK);
        });
        script.Then([&](HWND dialog) {
            Picture(dialog, dir, "korvel_duplicate.bmp");
            vtest::DialogScript::Press(dialog, IDC_KORVEL_DUP_STOP);
        });
        FxSetMessageBoxHandler([](const MessageBoxRequest&) { return IDNO; });
        app->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_MERGE);
        FxSetMessageBoxHandler([](const MessageBoxRequest&) { return IDOK; });
    }

    // A preview page of the built-in map, on a printer as a user has one.
    vtest::TestPrinter printer("Korvel Bench Printer", (folder + "bench.ps").c_str());
    app->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    if (CPreviewWnd* preview = FindPreview()) {
        MoveWindow(preview->m_hWnd, 0, 0, 700, 820, TRUE);
        Picture(preview->m_hWnd, dir, "korvel_preview.bmp");
        preview->DestroyWindow();
    }
    view->GetDocument()->SetModifiedFlag(FALSE);
    return 0;
}

// A merge file of `rows` lines: every other one holds a key of the map of
// Timings (in upper case), the others new keys.
void WriteMergeFile(const std::string& path, int rows)
{
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < rows; ++i) {
        const unsigned mix = static_cast<unsigned>(i) * 2654435761u;
        if (i % 2 == 0)
            out << "E" << (mix % 1000000);
        else
            out << "n" << i;
        out << "=\"M" << (mix % 97 + 100) << "\" \"m" << (mix % 89 + 10) << "x\" ;merged " << i << "\r\n";
    }
}

// One merge into the open map, answered No: the time to the summary (the
// merge itself) and with the map read again.
void TimeMerge(CKorvelDoc* doc, const std::string& path, int guideline, const char* name)
{
    TableInputFile file(path);
    const auto start = std::chrono::steady_clock::now();
    double merged = -1;
    FxSetMessageBoxHandler([&](const MessageBoxRequest&) {
        merged = Seconds(start);
        return IDNO;
    });
    doc->MergeNewMap(guideline, file, "merge.afpmap");
    const double total = Seconds(start);
    FxSetMessageBoxHandler([](const MessageBoxRequest&) { return IDOK; });
    printf("merge, %s: %.3f s, with the map read again %.3f s\n", name, merged, total);
}

int Timings(const std::string& folder, int rows)
{
    const std::string map = folder + "Korvel.AFPMap";
    std::ofstream(map, std::ios::binary) << "com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\n";
    double cold = 0;
    {
        vtest::KorvelProcess program;
        const auto start = std::chrono::steady_clock::now();
        if (!program.Start(""))
            return 3;
        HWND main = program.WaitForMainWindow(true);
        cold = Seconds(start);
        program.End(main);
    }
    // The registration that start wrote serves the container.
    double embed = 0, activate = 0;
    {
        vtest::TestContainer container;
        if (!ActivateInPlace(container, folder, embed, activate))
            return 4;
        container.Close();
    }

    {
        std::ofstream out(map, std::ios::binary);
        for (int i = 0; i < rows; ++i) {
            const unsigned mix = static_cast<unsigned>(i) * 2654435761u;
            out << "e" << (mix % 1000000) << "=\"T" << (mix % 997 + 100) << "\" \"c" << (mix % 89 + 10)
                << "x\" ;remark " << (mix % 9973) << "\r\n";
        }
    }
    auto start = std::chrono::steady_clock::now();
    CKorvelApp* app = nullptr;
    CKorvelView* view = StartInProcess(app);
    const double open = Seconds(start);
    if (view == nullptr || view->m_listCtrl.GetItemCount() != rows)
        return 2;
    double sort[4];
    for (int column = 0; column < 4; ++column) {
        start = std::chrono::steady_clock::now();
        view->SortByColumn(column);
        vtest::PumpWaitingMessages();
        sort[column] = Seconds(start);
    }
    start = std::chrono::steady_clock::now();
    view->OnSave();
    const double save = Seconds(start);
    printf("cold start to shown window: %.3f s\n", cold);
    printf("in the test container: new object (server start) %.3f s, in-place activation %.3f s\n", embed, activate);
    printf("%d rows: start and open %.3f s, sort %.3f / %.3f / %.3f / %.3f s, save %.3f s\n", rows, open, sort[0],
           sort[1], sort[2], sort[3], save);

    const std::string merge = folder + "merge.afpmap";
    WriteMergeFile(merge, rows);
    CKorvelDoc* doc = view->GetKorvelDoc();
    TimeMerge(doc, merge, MergeReplaceTable, "replace the table");
    TimeMerge(doc, merge, MergeRetainExisting, "retain existing entries");
    TimeMerge(doc, merge, MergeReplaceExisting, "replace existing entries");

    vtest::TestPrinter printer("Korvel Bench Printer", (folder + "bench.ps").c_str());
    start = std::chrono::steady_clock::now();
    view->OnFilePrintPreview();
    const double preview = Seconds(start);
    CPreviewWnd* window = FindPreview();
    if (window == nullptr)
        return 4;
    printf("print preview of %d rows: %d pages in %.3f s, %.0f pages a second\n", rows, window->GetPageCount(),
           preview, window->GetPageCount() / preview);
    window->DestroyWindow();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string shots = argc > 2 && std::string(argv[1]) == "--shots" ? argv[2] : "";
    const int rows = argc > 1 && shots.empty() ? std::atoi(argv[1]) : 10000;
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string folder = std::string(tmp) + "korvel-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    vtest::InstallFolderOverride install(folder);
    if (FAILED(OleInitialize(nullptr)))
        return 5;
    // The first start's open-failure message is answered at once.
    FxSetMessageBoxHandler([](const MessageBoxRequest&) { return IDOK; });
    return shots.empty() ? Timings(folder, rows) : Shots(folder, shots);
}
