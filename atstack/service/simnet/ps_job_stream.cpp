#include "ps_job_stream.h"

namespace simnet {

namespace {

// A PostScript hexadecimal string: any bytes, nothing to escape.
std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "<";
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out + ">";
}

}  // namespace

std::string ControlMarker(const std::string& nonce)
{
    return "\x1b" "ATN" + nonce + ":";
}

std::string JobStreamHead(const atw::Printer& printer, const std::string& nonce)
{
    const atw::Interpreter in = printer.interpreter.value_or(atw::Interpreter{});
    // Appended piece by piece (GCC 12 at -O3 warns wrongly about
    // "literal" + std::string temporaries).
    std::string s = "20 dict begin\n/nonce (";
    s.append(nonce).append(") def\n/password ").append(Hex(printer.password));
    s.append(" def\n/printername ").append(Hex(printer.name.object));
    s.append(" def\n/product ").append(Hex(in.product));
    s.append(" def\n/version ").append(Hex(in.version));
    s.append(" def\n/revision ").append(std::to_string(in.revision));
    s.append(" def\n/replay [");
    for (const auto& text : printer.persistent)
        s.append(" ").append(std::to_string(text.size()));
    s.append(" ] def\n/fonts [");
    for (const auto& font : in.fonts)
        s.append(" /").append(font);  // the world file allows only name characters
    s.append(" ] def\n");
    s.append(kLaserWriterProlog);
    for (const auto& text : printer.persistent)
        s.append(text);
    return s;
}

}  // namespace simnet
