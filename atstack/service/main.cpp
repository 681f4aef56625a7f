// atnetd: the network service of the replaced AppleTalk stack.
//
//   atnetd --world FILE [--listen 127.0.0.1:PORT [--allow-remote]] [--trace FILE]
//          [--trace-limit BYTES] [--spool DIR] [--state FILE | --no-state]
//          [--port-file FILE] [--idle-limit SECONDS] [--check]
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <string>

#include "engine.h"
#include "server.h"
#include "simnet/sim_network.h"
#include "world_file.h"

namespace {

constexpr const char* kDefaultListen = "127.0.0.1:38870";

int Usage()
{
    std::fprintf(stderr,
                 "usage: atnetd --world FILE [--listen ADDRESS:PORT [--allow-remote]] [--trace FILE]\n"
                 "              [--trace-limit BYTES] [--spool DIR] [--state FILE | --no-state]\n"
                 "              [--port-file FILE] [--idle-limit SECONDS] [--check]\n"
                 "  --listen        default %s; port 0 picks a free port (see --port-file)\n"
                 "  --allow-remote  listen on an address other than loopback: every peer that\n"
                 "                  reaches it gets full control of the simulated network\n"
                 "  --trace-limit   the trace stops growing at this size (default 256 MiB)\n"
                 "  --idle-limit    drop a client that sends nothing this long (default 600)\n"
                 "  --state         default: <world>.state.json beside the world file\n"
                 "  --check         read the world (and state) file, report, and exit\n",
                 kDefaultListen);
    return 2;
}

// A whole number in [lo, hi]; false otherwise.
bool Number(const std::string& text, long long lo, long long hi, long long& out)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 15)
        return false;
    out = std::strtoll(text.c_str(), nullptr, 10);
    return out >= lo && out <= hi;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string world, listen = kDefaultListen, trace, spool, state, portFile, traceLimit, idleLimit;
    bool noState = false, check = false, stateGiven = false, allowRemote = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--world")
            ok = value(world);
        else if (a == "--listen")
            ok = value(listen);
        else if (a == "--allow-remote")
            allowRemote = true;
        else if (a == "--trace")
            ok = value(trace);
        else if (a == "--trace-limit")
            ok = value(traceLimit);
        else if (a == "--idle-limit")
            ok = value(idleLimit);
        else if (a == "--spool")
            ok = value(spool);
        else if (a == "--state")
            ok = value(state), stateGiven = true;
        else if (a == "--no-state")
            noState = true;
        else if (a == "--port-file")
            ok = value(portFile);
        else if (a == "--check")
            check = true;
        else if (a == "--help" || a == "-h")
            return Usage();
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "atnetd: bad argument %s\n", a.c_str());
            return Usage();
        }
    }
    if (world.empty())
        return Usage();
    atsvc::ServerOptions serving;
    serving.listen = listen;
    serving.portFile = portFile;
    uint64_t traceBytes = atsvc::kDefaultTraceLimit;
    long long number = 0;
    if (!traceLimit.empty()) {
        if (!Number(traceLimit, 4096, 1ll << 40, number)) {
            std::fprintf(stderr, "atnetd: --trace-limit %s: expected a size in bytes of at least 4096\n", traceLimit.c_str());
            return 2;
        }
        traceBytes = static_cast<uint64_t>(number);
    }
    if (!idleLimit.empty()) {
        if (!Number(idleLimit, 1, 86400, number)) {
            std::fprintf(stderr, "atnetd: --idle-limit %s: expected seconds, 1..86400\n", idleLimit.c_str());
            return 2;
        }
        serving.idleLimitMs = number * 1000;
    }
    atwire::Endpoint endpoint;
    if (atwire::ParseEndpoint(listen, endpoint, true) && endpoint.ip[0] != 127 && !allowRemote) {
        std::fprintf(stderr,
                     "atnetd: --listen %s is not a loopback address: every peer that reaches it would get full\n"
                     "control of the simulated network; give --allow-remote to listen there all the same\n",
                     listen.c_str());
        return 2;
    }
    atw::WorldLoad load = atw::LoadWorldFile(world);
    if (!load.ok) {
        std::fprintf(stderr, "atnetd: world refused: %s\n", load.error.c_str());
        return 1;
    }
    if (noState) {
        state.clear();
    } else if (!stateGiven) {
        std::filesystem::path p(world);
        state = (p.parent_path() / (p.stem().string() + ".state.json")).string();
    }
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count();
    auto network = std::make_unique<simnet::SimNetwork>(std::move(load.world), simnet::SimOptions{spool, state}, now);
    if (!network->StateError().empty()) {
        std::fprintf(stderr, "atnetd: state refused: %s\n", network->StateError().c_str());
        return 1;
    }
    if (check) {
        const atw::World& w = network->World();
        std::printf("atnetd: %s: %zu zones, %zu printers, %zu servers\n", world.c_str(), w.zones.size(),
                    w.printers.size(), w.servers.size());
        return 0;
    }
    atsvc::Engine engine(std::move(network), atsvc::Options{trace, spool, state}, now);
    engine.LimitTrace(traceBytes);
    return atsvc::RunServer(engine, serving);
}
