// atnetd: the network service of the replaced AppleTalk stack.
//
//   atnetd --world FILE [--listen 127.0.0.1:PORT] [--trace FILE] [--spool DIR]
//          [--state FILE | --no-state] [--port-file FILE] [--check]
#include <chrono>
#include <cstdio>
#include <filesystem>
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
                 "usage: atnetd --world FILE [--listen ADDRESS:PORT] [--trace FILE] [--spool DIR]\n"
                 "              [--state FILE | --no-state] [--port-file FILE] [--check]\n"
                 "  --listen     default %s; port 0 picks a free port (see --port-file)\n"
                 "  --state      default: <world>.state.json beside the world file\n"
                 "  --check      read the world (and state) file, report, and exit\n",
                 kDefaultListen);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string world, listen = kDefaultListen, trace, spool, state, portFile;
    bool noState = false, check = false, stateGiven = false;
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
        else if (a == "--trace")
            ok = value(trace);
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
    return atsvc::RunServer(engine, listen, portFile);
}
