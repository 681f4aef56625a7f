// Any bytes as a world file, and as a state file over the sample-like world
// they produce: the reader accepts or refuses with a message naming a
// place, never crashes; an accepted world answers its queries.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_target.h"
#include "world.h"
#include "world_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    atw::WorldLoad l = atw::ReadWorld(text, "fuzz");
    if (!l.ok) {
        if (l.error.rfind("fuzz: ", 0) != 0)
            abort();
        return 0;
    }
    atw::World& w = l.world;
    (void)w.Lookup({"=", "=", "*"}, 1024);
    (void)w.ZoneList(false);
    atw::ATKIFSBuffer b;
    for (const auto& s : w.servers)
        for (const auto& v : s.volumes) {
            const std::string path = "\\\\" + s.name + "\\" + v.name;
            (void)atw::BuildVolParams(w, path, b);
            (void)atw::BuildFlDrParams(w, path + "\\", b);
            for (const auto& c : v.root.children)
                (void)atw::BuildFlDrParams(w, path + "\\" + c.name, b);
            (void)atw::NameBitmap(w, path);
        }
    std::string error;
    const std::string state = atw::StateText(w);
    if (!atw::ApplyState(w, state, "state", error))
        abort();
    (void)atw::ApplyState(w, text, "state", error);
    return 0;
}
