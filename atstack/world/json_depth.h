// A guard run before parsing outside JSON (world files, state files, wire
// message heads): the parser copes with any nesting, but copying, dumping
// and walking a document recurse, so a hostile text nested a million levels
// deep would overflow the stack. Real documents stay far below the limit.
#pragma once

#include <cstddef>
#include <string_view>

namespace atw {

constexpr int kMaxJsonDepth = 100;

// The offset of the bracket that opens level maxDepth + 1 (brackets inside
// strings do not count), or npos when the text stays within maxDepth.
std::size_t JsonTooDeepAt(std::string_view text, int maxDepth = kMaxJsonDepth);

}  // namespace atw
