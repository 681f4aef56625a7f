// Benchmark (not a test): the download engine, without its dialog, sending
// a file to a printer of a real atnetd through the real libraries. Reports
// the throughput as a share of the engine's own pacing bound (one 4096-byte
// chunk per 100 ms pass) and the CPU time the process used meanwhile.
// Run under Wine:
//   tools/wine/run SESSION build/win64/bin/printer_download_bench.exe [KiB]
#include <winsock2.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "atnetd_process.h"
#include "download_engine.h"
#include "real_job_host.h"
#include "win32_pap_stack.h"

namespace {

double Seconds(const FILETIME& t)
{
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 1e7;
}

double CpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double WallSeconds()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv)
{
    const long kib = argc > 1 ? std::atol(argv[1]) : 1024;
    attest::AtnetdProcess service;
    if (!service.Start(R"({"workstation": {"network": 7, "node": 9},
            "printers": [{"name": "Bench LW", "reply": "%%[ status: end of job ]%%\r\n"}],
            "defaultPrinter": "Bench LW"})")) {
        std::fprintf(stderr, "bench: atnetd did not start\n");
        return 1;
    }
    const std::string folder = service.Dir();
    attest::WriteFile(folder + "bench.ps", std::string(static_cast<std::size_t>(kib) * 1024, 'x'));

    Win32PapStack stack;
    RealHost host;
    ZJobTicket ticket(stack, folder + "bench.ps");
    StdioJobFiles files(folder);
    PAPDownloadEngine engine(&ticket, stack, host, files, folder);

    const double cpu0 = CpuSeconds(), wall0 = WallSeconds();
    engine.RunJob();
    const double cpu = CpuSeconds() - cpu0, wall = WallSeconds() - wall0;

    const bool ok = host.endCodes.size() == 1 && host.endCodes[0] == kJobDialogOK;
    const long chunks = kib / 4 + 1;  // the last write carries the EOF
    const double bound = static_cast<double>(chunks) * 0.1;
    std::printf("file %ld KiB, %ld writes, %s\n", kib, chunks, ok ? "sent" : "NOT SENT");
    std::printf("elapsed %.2f s, pacing bound %.2f s, throughput %.1f%% of the bound (%.1f KiB/s)\n", wall, bound,
                100.0 * bound / wall, static_cast<double>(kib) / wall);
    std::printf("CPU %.3f s, %.2f%% of one core\n", cpu, 100.0 * cpu / wall);
    return ok ? 0 : 1;
}
