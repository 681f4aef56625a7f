#include "ps_string.h"

std::string PostScriptStringBody(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + 8);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\' || c == '(' || c == ')') {
            out.push_back('\\');
            out.push_back(c);
        } else if (b < 0x20 || b > 0x7E) {
            out.push_back('\\');
            out.push_back(static_cast<char>('0' + (b >> 6)));
            out.push_back(static_cast<char>('0' + ((b >> 3) & 7)));
            out.push_back(static_cast<char>('0' + (b & 7)));
        } else {
            out.push_back(c);
        }
    }
    return out;
}
