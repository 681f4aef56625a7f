// Worlds for the lookup window's tests and benchmark: the sample world with
// slower or faster lookups, and zones crowded with names.
#pragma once

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "atnetd_process.h"

// A world of one zone holding `names` names (workstations, file servers,
// LaserWriters and other devices in turn), the workstation unregistered.
// With `zone` empty: a network without zones.
inline std::string CrowdedZoneWorld(int names, int lookupMs = 40, const std::string& zone = "Crowd")
{
    nlohmann::json entities = nlohmann::json::array();
    const char* types[] = {"VestrelNode", "AFPServer", "LaserWriter", "FaxServer"};
    for (int i = 0; i < names; ++i) {
        char name[32];
        snprintf(name, sizeof name, "Device %04d", (i * 389) % names);  // not in registration order
        nlohmann::json entity = {
            {"object", name},
            {"type", types[i % 4]},
            {"address", {{"network", 2000 + i / 200}, {"node", 1 + i % 200}, {"socket", 4 + i % 3}}}};
        if (!zone.empty())
            entity["zone"] = zone;
        entities.push_back(entity);
    }
    nlohmann::json world = {{"workstation", {{"name", ""}, {"network", 2000}, {"node", 1}}},
                            {"timing", {{"nbpLookupMs", lookupMs}, {"zipMs", 5}}},
                            {"entities", entities}};
    if (!zone.empty()) {
        world["workstation"]["cableRange"] = {2000, 2010};
        world["workstation"]["zone"] = zone;
        world["zones"] = {{{"name", zone}, {"local", true}}};
    }
    return world.dump();
}

// The sample world with its lookups taking `lookupMs`.
inline std::string SampleWorldTaking(int lookupMs)
{
    auto world = nlohmann::json::parse(attest::ReadFile(attest::WinePath(SAMPLE_WORLD)));
    world["timing"]["nbpLookupMs"] = lookupMs;
    return world.dump();
}

