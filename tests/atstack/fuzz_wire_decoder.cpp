// Any bytes from a client: the decoder cuts them into messages or stops with
// an error; every message it yields goes through the engine, which answers
// or refuses it without crashing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine.h"
#include "fuzz_target.h"
#include "wire.h"
#include "world_file.h"

namespace {

const char* kWorld = R"({
  "workstation": { "network": 5, "node": 3, "zone": "Z" },
  "zones": [ { "name": "Z", "local": true } ],
  "timing": { "nbpLookupMs": 0, "zipMs": 0 },
  "printers": [ { "name": "P", "faults": [ { "at": "write", "nth": 3 } ] } ],
  "servers": [ { "name": "S", "users": [ { "name": "u", "id": 1 } ], "session": { "user": "u" },
                 "volumes": [ { "name": "V", "root": { "children": [ { "name": "f" } ] } } ] } ]
})";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const atw::World world = atw::ReadWorld(kWorld, "fuzz").world;
    atsvc::Engine engine(world, atsvc::Options{}, 0);
    engine.Connect(1, 0);
    atwire::Decoder d;
    // Feed in two pieces so that partial frames are exercised too.
    const size_t half = size / 2;
    d.Feed(reinterpret_cast<const char*>(data), half);
    atwire::Message m;
    int64_t now = 0;
    for (int pass = 0; pass < 2; ++pass) {
        atwire::Decoder::Status st;
        while ((st = d.Next(m)) == atwire::Decoder::Status::Message) {
            engine.Handle(1, m, now);
            now += 5;
            engine.Tick(now);
            for (auto& o : engine.TakeOutgoing())
                if (atwire::Encode(o.message).size() < 8)
                    abort();
        }
        if (st == atwire::Decoder::Status::Error && d.Error().empty())
            abort();
        d.Feed(reinterpret_cast<const char*>(data) + half, size - half);
    }
    engine.Disconnect(1, now);
    return 0;
}
