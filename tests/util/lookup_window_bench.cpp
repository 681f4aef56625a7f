// Not a test: times the lookup window on a zone of 1,024 names through the
// real window against atnetd (from the lookup's completion in the stack to
// every row shown, and a sort by each column), or with --shots FOLDER saves
// pictures of the lookup window, the two pages of the information sheet
// and the Select Current Zone dialog on the sample world. Run it under Wine
// from the win64 build (see docs/performance.md).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "dialog_script.h"
#include "lookup_worlds.h"
#include "molven32.h"
#include "util/network/lookup_view.h"
#include "util/resource.h"
#include "fx/doc_template.h"
#include "fx/document.h"
#include "util/app.h"
#include "win_test_helpers.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Lets `window` and its children paint everything before a picture.
void Settle(HWND window)
{
    vtest::PumpWaitingMessages();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    vtest::PumpWaitingMessages();
    Sleep(300);
    vtest::PumpWaitingMessages();
}

CVestrelUtilApp* StartProgram()
{
    auto* app = new CVestrelUtilApp;
    app->SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    if (!app->InitApplication() || !app->InitInstance())
        return nullptr;
    vtest::PumpWaitingMessages();
    return app;
}

void EndProgram(CVestrelUtilApp* app)
{
    app->CloseAllDocuments(TRUE);
    app->m_pMainWnd->DestroyWindow();
    vtest::PumpWaitingMessages();
    app->ExitInstance();
    delete app;
}

CVestrelLookupView* OpenLookup(CVestrelUtilApp* app)
{
    app->m_pMainWnd->SendMessage(WM_COMMAND, ID_NETWORK_LOOKUP, 0);
    vtest::PumpWaitingMessages();
    auto* doc = app->m_pLookupTemplate->GetDocuments().back();
    return dynamic_cast<CVestrelLookupView*>(doc->GetViews().front());
}

int Bench(int names, int runs)
{
    attest::AtnetdProcess service;
    if (!service.Start(CrowdedZoneWorld(names, 300)))
        return 1;
    CVestrelUtilApp* app = StartProgram();
    if (app == nullptr)
        return 2;
    std::vector<double> shown, filled, painted, sorts[3];
    for (int run = 0; run < 2 * runs; ++run) {
        // Odd runs hand the view its tick at once, so the time is the
        // tick's own work; even runs wait for the timer as the program does.
        const bool tickAtOnce = run % 2 == 1;
        CVestrelLookupView* view = OpenLookup(app);
        // The zone list first; then the lookup runs in the stack while this
        // thread watches its status without handling messages.
        while (view->m_hZoneEnum != 0 || view->m_hLookup == 0) {
            vtest::PumpWaitingMessages();
            Sleep(1);
        }
        while (NBPEnumStatus(view->m_hLookup) == kATResultPending)
            Sleep(0);
        const auto completed = Clock::now();
        if (tickAtOnce) {
            view->SendMessage(WM_TIMER, CVestrelLookupView::kTimerId);
            const auto ticked = Clock::now();
            view->m_list.UpdateWindow();
            filled.push_back(Ms(completed, ticked));
            painted.push_back(Ms(ticked, Clock::now()));
        } else {
            while (view->m_list.GetItemCount() < names) {
                vtest::PumpWaitingMessages();
                Sleep(0);
            }
            view->m_list.UpdateWindow();
            shown.push_back(Ms(completed, Clock::now()));
        }
        for (int column = 0; column < 3 && !tickAtOnce; ++column) {
            const auto start = Clock::now();
            view->SortByColumn(column);
            sorts[column].push_back(Ms(start, Clock::now()));
        }
        view->GetParentFrame()->SendMessage(WM_CLOSE);
        vtest::PumpWaitingMessages();
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("names %d  runs %d  completion to rows shown: median %.1f ms, worst %.1f ms\n", names, runs,
                median(shown), *std::max_element(shown.begin(), shown.end()));
    std::printf("the tick that fills the list: median %.1f ms, worst %.1f ms; then painting the list: median %.1f ms\n",
                median(filled), *std::max_element(filled.begin(), filled.end()), median(painted));
    std::printf("sort by name %.1f ms, type %.1f ms, address %.1f ms (medians)\n", median(sorts[0]),
                median(sorts[1]), median(sorts[2]));
    EndProgram(app);
    return 0;
}

int Shots(const std::string& folder)
{
    attest::AtnetdProcess service;
    if (!service.Start(SampleWorldTaking(40)))
        return 1;
    CVestrelUtilApp* app = StartProgram();
    if (app == nullptr)
        return 2;
    CVestrelLookupView* view = OpenLookup(app);
    while (view->m_hZoneEnum != 0 || view->m_hLookup != 0) {
        vtest::PumpWaitingMessages();
        Sleep(5);
    }
    view->m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    HWND child = view->GetParentFrame()->m_hWnd;
    Settle(app->m_pMainWnd->m_hWnd);
    vtest::SaveWindowPicture(child, folder + "\\lookup_window.bmp");

    vtest::DialogScript script;
    script.Then([folder, &script](HWND sheet) {
        Settle(sheet);
        vtest::SaveWindowPicture(sheet, folder + "\\netinfo_general.bmp");
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        vtest::DialogScript::Press(page, IDC_NET_CHANGE_ZONE);
        script.Then([folder, sheet](HWND zones) {
            Settle(zones);
            vtest::SaveWindowPicture(zones, folder + "\\select_zone.bmp");
            vtest::DialogScript::Press(zones, IDCANCEL);
            vtest::DialogScript::After(sheet, 200, [folder](HWND s) {
                SendMessageA(s, PSM_SETCURSEL, 1, 0);
                Settle(s);
                vtest::SaveWindowPicture(s, folder + "\\netinfo_adapter.bmp");
                PostMessageA(s, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            });
        });
    });
    app->m_pMainWnd->SendMessage(WM_COMMAND, ID_NETWORK_INFORMATION, 0);
    EndProgram(app);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "--shots")
        return Shots(argv[2]);
    const int names = argc > 1 ? std::atoi(argv[1]) : 1024;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    return Bench(names, runs);
}
