#include "recent_printers.h"

#include <algorithm>
#include <cctype>

#include "nbp_names.h"

namespace {
bool SameEntry(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
}  // namespace

std::string FormatPrinterEntry(const _NBPTuple& printer)
{
    const std::string object = NBPSlotText(printer.object);
    if (object.empty())
        return {};
    return object + ":" + NBPSlotText(printer.type) + "@" + NBPSlotText(printer.zone);
}

bool ParsePrinterEntry(const std::string& entry, _NBPTuple* printer)
{
    const std::size_t colon = entry.find(':');
    const std::size_t at = entry.rfind('@');
    if (colon == std::string::npos || at == std::string::npos || at < colon)
        return false;
    const std::string object = entry.substr(0, colon);
    const std::string type = entry.substr(colon + 1, at - colon - 1);
    const std::string zone = entry.substr(at + 1);
    for (const std::string* part : {&object, &type, &zone})
        if (part->empty() || part->size() > kNBPMaxNameLength)
            return false;
    *printer = NBPMakeTuple(object, type, zone);
    return true;
}

void PromoteRecentPrinter(std::vector<std::string>& list, const std::string& entry)
{
    _NBPTuple check{};
    if (!ParsePrinterEntry(entry, &check))
        return;
    std::erase_if(list, [&](const std::string& e) { return SameEntry(e, entry); });
    list.insert(list.begin(), entry);
    if (list.size() > kRecentPrinterLimit)
        list.resize(kRecentPrinterLimit);
}
