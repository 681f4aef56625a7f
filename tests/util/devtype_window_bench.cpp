// Not a test: times the printer type window on a 10,000-row table (open,
// sort by each column, save) through the real window, and with --shots
// FOLDER saves pictures of the window in its three entry-area states, of
// the merge's dialogs and of a preview page.
// Run it under Wine from the win64 build (see docs/performance.md).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "dialog_script.h"
#include "fx/doc_template.h"
#include "fx/message_box.h"
#include "fx/print_preview.h"
#include "table_merge_steps.h"
#include "test_printer.h"
#include "util/app.h"
#include "util/devtype/devtype_doc.h"
#include "util/devtype/devtype_view.h"
#include "util/resource.h"
#include "win_test_helpers.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void SetInstallFolder(const std::string& folder)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VESTREL\\QUARNET\\2.0", 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
}

void Settle(HWND frame)
{
    Pump();
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    Sleep(300);
    Pump();
}

// What the screen shows of `window`, once it has painted, as DIR\name.bmp.
void Picture(HWND window, const std::string& dir, const char* name)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    Sleep(200);
    Pump();
    vtest::SaveWindowPicture(window, dir + "\\" + name);
}

// The merge's dialogs over a file that repeats a type of the table, and a
// preview page of the table.
void MergeAndPreviewShots(CWnd* frame, const std::string& folder, const std::string& dir)
{
    const std::string merge = folder + "office.paptype";
    std::ofstream(merge, std::ios::binary) << "\"laserwriter\" N ;second floor\r\n";
    {
        vtest::DialogScript script;
        script.Then(vtest::OpenMergeFile(merge));
        script.Then([&](HWND dialog) {
            Picture(dialog, dir, "devtype_merge_file.bmp");
            vtest::DialogScript::Press(dialog, IDOK);
        });
        script.Then([&](HWND dialog) {
            Picture(dialog, dir, "devtype_duplicate.bmp");
            vtest::DialogScript::Press(dialog, IDC_DEVTYPE_DUP_STOP);
        });
        FxSetMessageBoxHandler([](const MessageBoxRequest&) { return IDNO; });
        frame->SendMessage(WM_COMMAND, ID_FILE_MERGE, 0);
        FxSetMessageBoxHandler({});
    }
    vtest::TestPrinter printer("Devtype Bench Printer", (folder + "bench.ps").c_str());
    frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    if (HWND preview = FindWindowA(nullptr, "Print Preview")) {
        MoveWindow(preview, 0, 0, 700, 820, TRUE);
        Picture(preview, dir, "devtype_preview.bmp");
        DestroyWindow(preview);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string shots = argc > 2 && std::string(argv[1]) == "--shots" ? argv[2] : "";
    const int rows = !shots.empty() ? 6 : argc > 1 ? std::atoi(argv[1]) : 10000;

    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string folder = std::string(tmp) + "devtype-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetInstallFolder(folder);
    {
        static const char* const kNames[] = {"LaserWriter", "ImageWriter", "StyleWriter", "Color Laser", "DeskJet", "LaserJet"};
        std::ofstream table(folder + "Printers.PAPTypes", std::ios::binary);
        for (int i = 0; i < rows; ++i) {
            unsigned mix = static_cast<unsigned>(i) * 2654435761u;
            table << '"' << kNames[i % 6];
            if (shots.empty())
                table << ' ' << (mix % 100000);
            table << "\" " << ((mix >> 7) % 2 ? 'Y' : 'N') << " ;" << (shots.empty() ? "remark " : "") 
                  << (shots.empty() ? std::to_string(mix % 9973) : std::string(i % 2 ? "office" : "lab")) << "\r\n";
        }
    }

    auto* app = new CVestrelUtilApp;
    app->SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    if (!app->InitApplication() || !app->InitInstance())
        return 1;
    CWnd* frame = app->m_pMainWnd;
    Pump();

    auto start = std::chrono::steady_clock::now();
    frame->SendMessage(WM_COMMAND, ID_PRINTER_TYPE_ENTRY, 0);
    Pump();
    const double open = Seconds(start);
    auto* doc = app->m_pTypesTemplate->GetDocuments().empty() ? nullptr : app->m_pTypesTemplate->GetDocuments().back();
    auto* view = doc ? dynamic_cast<CDevTypeView*>(doc->GetViews().front()) : nullptr;
    if (view == nullptr)
        return 2;

    if (!shots.empty()) {
        HWND child = view->GetParentFrame()->m_hWnd;
        Settle(frame->m_hWnd);
        vtest::SaveWindowPicture(child, shots + "\\devtype_idle.bmp");
        view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DEVTYPE_NEW, BN_CLICKED), 0);
        view->SetDlgItemText(IDC_DEVTYPE_TYPE, "Phaser");
        Settle(frame->m_hWnd);
        vtest::SaveWindowPicture(child, shots + "\\devtype_new.bmp");
        view->m_listCtrl.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        Settle(frame->m_hWnd);
        vtest::SaveWindowPicture(child, shots + "\\devtype_loaded.bmp");
        MergeAndPreviewShots(frame, folder, shots);
    } else {
        double sort[3];
        for (int column = 0; column < 3; ++column) {
            start = std::chrono::steady_clock::now();
            view->SortByColumn(column);
            Pump();
            sort[column] = Seconds(start);
        }
        start = std::chrono::steady_clock::now();
        view->OnSave();
        const double save = Seconds(start);
        std::printf("rows %d  open %.3f s  sort type %.3f s  sort flag %.3f s  sort remark %.3f s  save %.3f s\n",
                    view->m_listCtrl.GetItemCount(), open, sort[0], sort[1], sort[2], save);
    }
    doc->SetModifiedFlag(FALSE);
    app->CloseAllDocuments(TRUE);
    frame->DestroyWindow();
    Pump();
    app->ExitInstance();
    delete app;
    return 0;
}
