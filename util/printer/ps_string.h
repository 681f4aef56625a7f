// Text placed inside a PostScript string literal "(...)": the interpreter
// must read back exactly the bytes given, whatever they are, and nothing
// in them may end the string early and run as code.
#pragma once

#include <string>
#include <string_view>

// `bytes` escaped for a PostScript string: "\", "(" and ")" get a
// backslash, and every byte outside printable ASCII (0x20..0x7E) becomes a
// three-digit octal escape, so the literal is plain printable text.
std::string PostScriptStringBody(std::string_view bytes);
