#include "timers.h"

namespace simnet {

void Timers::At(int64_t whenMs, atsvc::ClientId client, std::function<void()> run)
{
    timers_.emplace(whenMs, Timer{client, std::move(run)});
    ++counts_[client];
}

std::size_t Timers::CountFor(atsvc::ClientId client) const
{
    auto it = counts_.find(client);
    return it == counts_.end() ? 0 : it->second;
}

void Timers::RunDue(int64_t nowMs)
{
    while (!timers_.empty() && timers_.begin()->first <= nowMs) {
        Timer t = std::move(timers_.begin()->second);
        timers_.erase(timers_.begin());
        if (--counts_[t.client] == 0)
            counts_.erase(t.client);
        t.run();
    }
}

void Timers::Drop(atsvc::ClientId client)
{
    for (auto it = timers_.begin(); it != timers_.end();)
        it = it->second.client == client ? timers_.erase(it) : std::next(it);
    counts_.erase(client);
}

}  // namespace simnet
