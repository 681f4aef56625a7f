// Reading a world file (JSON) into a World, and the state file that keeps
// what a real network keeps across a restart of the service: printer names,
// the default printer, the workstation's zone, server passwords.
#pragma once

#include <string>
#include <string_view>

#include "world.h"

namespace atw {

struct WorldLoad {
    bool ok = false;
    World world;
    // "<source>: <place>: <what is wrong>", the place being a path such as
    // printers[2].openDelayMs, or "line L, column C" for a syntax error.
    std::string error;
};

WorldLoad ReadWorld(std::string_view text, const std::string& source);
WorldLoad LoadWorldFile(const std::string& path);

// The state of `world` as a JSON document.
std::string StateText(const World& world);
// Applies a state document over a world just read; false and a message
// naming the place when the state does not fit the world.
bool ApplyState(World& world, std::string_view text, const std::string& source, std::string& error);

}  // namespace atw
