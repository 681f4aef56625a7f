#include "table_text.h"

#include <array>

namespace {

constexpr std::array<char, 256> MakeFoldTable()
{
    std::array<char, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<char>(c + 0x20);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)  // the multiplication sign has no lower case
            table[c] = static_cast<char>(c + 0x20);
    table[0x8A] = static_cast<char>(0x9A);  // S with caron
    table[0x8C] = static_cast<char>(0x9C);  // OE ligature
    table[0x8E] = static_cast<char>(0x9E);  // Z with caron
    table[0x9F] = static_cast<char>(0xFF);  // Y with diaeresis
    return table;
}

constexpr std::array<char, 256> kFoldTable = MakeFoldTable();

}  // namespace

std::string_view TrimLeadingWhiteSpace(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && IsTableWhiteSpace(text[start]))
        ++start;
    return text.substr(start);
}

std::string_view TrimTrailingWhiteSpace(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && IsTableWhiteSpace(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string CleanField(std::string_view text, std::size_t limit)
{
    return std::string(TrimTrailingWhiteSpace(CutText(TrimLeadingWhiteSpace(text), limit)));
}

char FoldTableCase(char c)
{
    return kFoldTable[static_cast<unsigned char>(c)];
}

std::string FoldTableKey(std::string_view key)
{
    std::string folded(key);
    for (char& c : folded)
        c = FoldTableCase(c);
    return folded;
}

bool KeysEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && FoldTableCase(a[i]) != FoldTableCase(b[i]))
            return false;
    return true;
}
