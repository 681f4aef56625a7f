// Work the simulated network does later (a lookup's answer after the
// world's lookup time), per client, so that a client that leaves takes its
// timers with it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "network.h"

namespace simnet {

class Timers {
public:
    void At(int64_t whenMs, atsvc::ClientId client, std::function<void()> run);
    // Runs every timer due by `nowMs`, earliest first.
    void RunDue(int64_t nowMs);
    // The earliest timer; -1 when none.
    int64_t Next() const { return timers_.empty() ? -1 : timers_.begin()->first; }
    void Drop(atsvc::ClientId client);
    // How many timers the client has waiting.
    std::size_t CountFor(atsvc::ClientId client) const;

private:
    struct Timer {
        atsvc::ClientId client;
        std::function<void()> run;
    };
    std::multimap<int64_t, Timer> timers_;
    std::map<atsvc::ClientId, std::size_t> counts_;
};

}  // namespace simnet
