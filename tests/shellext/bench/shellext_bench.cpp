// Time from Initialize to a shown page, for the file page and the folder
// page of the sample world, under Wine: a new extension object gets the
// selection (drop list), reads the stack (atnetd), offers its page, and a
// modeless sheet shows and paints it. Prints the median (and the median of
// Initialize alone) and the slowest of the rounds in milliseconds.
//
//   shellext_bench [ROUNDS]     (default 50)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "atnetd_process.h"
#include "directory_info.h"
#include "file_props.h"
#include "fx/ole_inproc.h"
#include "net_props.h"
#include "selection_data.h"
#include "sheet_host.h"

namespace {

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Round {
    double initialize;  // Initialize: the selection read and the record filled from the stack
    double total;       // to the painted page
};

Round ShowOnce(const CRuntimeClass* cls, const char* name)
{
    COleRuntimeFactory factory(CLSID_NULL, cls, "");
    IShellExtInit* init = nullptr;
    IShellPropSheetExt* ext = nullptr;
    factory.GetClassFactory()->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init));
    init->QueryInterface(IID_IShellPropSheetExt, reinterpret_cast<void**>(&ext));
    shelltest::DataObject* data = shelltest::DroppedFiles({name});
    shelltest::SheetHost host;
    const double start = Now();
    init->Initialize(nullptr, data, nullptr);
    const double initialized = Now() - start;
    host.AddPagesOf(ext);
    host.Show();
    UpdateWindow(host.sheet);
    const double elapsed = Now() - start;
    data->Release();
    ext->Release();
    init->Release();
    if (host.Page(0) == nullptr) {
        std::fprintf(stderr, "no page for %s\n", name);
        std::exit(1);
    }
    return {initialized, elapsed};
}

void Measure(const char* what, const CRuntimeClass* cls, const char* name, int rounds)
{
    std::vector<double> totals, initializes;
    for (int i = 0; i < rounds; ++i) {
        const Round r = ShowOnce(cls, name);
        totals.push_back(r.total);
        initializes.push_back(r.initialize);
    }
    std::sort(totals.begin(), totals.end());
    std::sort(initializes.begin(), initializes.end());
    std::printf("%-12s rounds %d  median %.1f ms (Initialize %.1f ms)  slowest %.1f ms\n", what, rounds,
                totals[totals.size() / 2], initializes[initializes.size() / 2], totals.back());
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    InitCommonControls();
    CoInitialize(nullptr);
    attest::AtnetdProcess service;
    if (!service.StartWorldFile(SAMPLE_WORLD)) {
        std::fprintf(stderr, "atnetd did not start\n");
        return 1;
    }
    Measure("file page", RUNTIME_CLASS(CVSXFileProps),
            "\\\\Engineering Server\\Projects\\Vestrel 2.5\\Stack Design Notes", rounds);
    Measure("folder page", RUNTIME_CLASS(CVSXNetProps), "\\\\Engineering Server\\Projects\\Vestrel 2.5", rounds);
    CoUninitialize();
    return 0;
}
