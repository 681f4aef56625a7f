// Names travel in JSON (world files, the wire protocol, the trace) as text
// whose code points U+0000..U+00FF are the name's bytes: code page 1252
// names and the NBP wildcard byte 0xC5 ("Å" in the text) survive unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace atw {

// Bytes to UTF-8 text, one code point per byte.
std::string BytesToText(std::string_view bytes);
// UTF-8 text to bytes; nothing when the text is not UTF-8 or holds a code
// point above U+00FF.
std::optional<std::string> TextToBytes(std::string_view text);

}  // namespace atw
