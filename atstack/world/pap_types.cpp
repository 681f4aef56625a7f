#include "pap_types.h"

#include "world.h"

namespace atw {

namespace {

bool White(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::optional<PapTypeEntry> ParsePapTypeLine(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && White(line[i]))
        ++i;
    if (i >= line.size() || line[i] != '"')
        return std::nullopt;
    const std::size_t close = line.find('"', i + 1);
    if (close == std::string_view::npos)
        return std::nullopt;
    PapTypeEntry e;
    e.type = std::string(line.substr(i + 1, close - i - 1));
    if (e.type.size() > 32)
        return std::nullopt;
    i = close + 1;
    while (i < line.size() && White(line[i]))
        ++i;
    if (i >= line.size())
        return std::nullopt;
    e.postScript = line[i] == 'Y' || line[i] == 'y';
    return e;
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
