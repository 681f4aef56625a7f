// Benchmark (not a test): PAP write-and-complete round trips per second and
// an NBP lookup of 1024 names, through the libraries and a real atnetd on
// loopback. Run under Wine:
//   tools/wine/run SESSION build/win64/bin/atstack_bench.exe [writes] [lookups]
#include <winsock2.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../wine/atnetd_process.h"
#include "kestra32.h"
#include "molven32.h"
#include "nbp_names.h"
#include "pap_block.h"

namespace {

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

int32_t Run(PAPParamBlock* b)
{
    ATALKDispatch(b);
    while (b->Result() == kATResultPending)
        Sleep(0);
    return b->Result();
}

std::string World()
{
    std::string w = R"({"workstation": {"network": 100, "node": 1, "cableRange": [100, 199], "zone": "Bench"},
      "zones": [{"name": "Bench", "local": true}], "timing": {"nbpLookupMs": 0, "zipMs": 0},
      "printers": [{"name": "Bench LW"}], "entities": [)";
    for (int i = 0; i < 1024; ++i) {
        char e[160];
        std::snprintf(e, sizeof e,
                      "%s{\"object\": \"Bench Node %04d\", \"type\": \"VestrelNode\", \"address\": {\"network\": %d, "
                      "\"node\": %d, \"socket\": 4}}",
                      i ? "," : "", i, 100 + i / 200, 1 + i % 200);
        w += e;
    }
    return w + "]}";
}

}  // namespace

int main(int argc, char** argv)
{
    const int writes = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int lookups = argc > 2 ? std::atoi(argv[2]) : 50;
    attest::AtnetdProcess service;
    if (!service.Start(World())) {
        std::fprintf(stderr, "bench: atnetd did not start\n");
        return 1;
    }

    // PAP: one connection, `writes` writes of 4096 bytes, each dispatched
    // and polled to completion before the next, then the EOF.
    PAPParamBlock* b = nullptr;
    MPPAlloc(reinterpret_cast<void**>(&b), 0);
    static char data[4096];
    std::fill(std::begin(data), std::end(data), 'x');
    b->printer = NBPMakeTuple("Bench LW", "LaserWriter", "*");
    b->flowQuantum = kPAPFlowQuantum;
    b->BeginRequest(kPAPOpen);
    if (Run(b) != 0) {
        std::fprintf(stderr, "bench: open failed\n");
        return 1;
    }
    const int32_t conn = b->connRef;
    b->SetDataBuffer(data);
    const LARGE_INTEGER t0 = Now();
    for (int i = 0; i < writes; ++i) {
        b->connRef = conn;
        b->length = 4096;
        b->SetEof(i == writes - 1);
        b->BeginRequest(kPAPWrite);
        if (Run(b) != 0) {
            std::fprintf(stderr, "bench: write %d failed\n", i);
            return 1;
        }
    }
    const double papSeconds = Seconds(t0, Now());
    b->connRef = conn;
    b->BeginRequest(kPAPClose);
    Run(b);
    MPPFree(b);

    // NBP: "=:=@*" in a zone of 1024 + 2 registrations, capped at 1024.
    std::vector<double> times;
    int found = 0;
    for (int i = 0; i < lookups; ++i) {
        NBPEntityName e{};
        NBPSetEntityName(&e, "=", "VestrelNode", "*");
        const LARGE_INTEGER s = Now();
        ATEnumHandle h = 0;
        if (NBPOpenEnum(&h, 2, 2, 1024, &e) != 0)
            return 1;
        while (NBPEnumStatus(h) == 1)
            Sleep(0);
        found = NBPFoundCount(h);
        _NBPTuple t;
        for (uint16_t k = 0; k < found; ++k)
            NBPReadEnum(h, k, &t);
        NBPCloseEnum(h);
        times.push_back(Seconds(s, Now()) * 1000.0);
    }
    std::sort(times.begin(), times.end());

    std::printf("PAP write-and-complete: %d writes of 4096 bytes in %.3f s: %.0f round trips/s, %.1f MB/s\n", writes,
                papSeconds, writes / papSeconds, writes * 4096.0 / papSeconds / 1e6);
    std::printf("NBP lookup of %d names (open, poll, read every tuple, close): median %.2f ms, best %.2f ms, worst %.2f ms over %d lookups\n",
                found, times[times.size() / 2], times.front(), times.back(), lookups);
    return 0;
}
