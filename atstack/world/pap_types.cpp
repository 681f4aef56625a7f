#include "pap_types.h"

#include "world.h"

namespace atw {

namespace {

bool White(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

// As the table editors read their own lines: the type is the text between
// the first two double quotes (leading white space dropped, cut to 32
// characters, trailing white space dropped); the flag is the first of
// "YNyn" after the closing quote. Text before the first quote is ignored.
std::optional<PapTypeEntry> ParsePapTypeLine(std::string_view line)
{
    const std::size_t open = line.find('"');
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos)
        return std::nullopt;
    const std::size_t flag = line.find_first_of("YNyn", close + 1);
    if (flag == std::string_view::npos)
        return std::nullopt;
    std::string_view type = line.substr(open + 1, close - open - 1);
    while (!type.empty() && White(type.front()))
        type.remove_prefix(1);
    type = type.substr(0, 32);
    while (!type.empty() && White(type.back()))
        type.remove_suffix(1);
    return PapTypeEntry{std::string(type), line[flag] == 'Y' || line[flag] == 'y'};
}

std::vector<PapTypeEntry> ParsePapTypes(std::string_view text)
{
    std::vector<PapTypeEntry> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (auto e = ParsePapTypeLine(line))
            out.push_back(*e);
        start = end + 1;
    }
    return out;
}

bool IsPostScriptType(const std::optional<std::vector<PapTypeEntry>>& table, std::string_view type)
{
    if (!table)
        return NameEquals(type, "LaserWriter");
    for (const auto& e : *table)
        if (NameEquals(e.type, type))
            return e.postScript;
    return false;
}

}  // namespace atw
