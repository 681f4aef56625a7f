#include "chooser/mru_printer_box.h"

#include "molven32.h"
#include "nbp_names.h"
#include "recent_printers.h"

namespace {
// How long the look-up of a recent printer may take at most (the stack
// ends its own waits sooner).
constexpr DWORD kLookupLimitMs = 10000;
constexpr DWORD kLookupPollMs = 20;

// Looks the printer's name up (object, type and zone as they are) and
// writes the answer, with the printer's current address, into *printer.
// False when it is not on the network (or the network does not answer).
bool LookUpPrinter(_NBPTuple* printer)
{
    NBPEntityName entity{};
    NBPSetEntityName(&entity, NBPSlotText(printer->object).c_str(), NBPSlotText(printer->type).c_str(),
                     NBPSlotText(printer->zone).c_str());
    ATEnumHandle lookup = 0;
    if (NBPOpenEnum(&lookup, 2, 2, 1, &entity) != 0)
        return false;
    const DWORD start = GetTickCount();
    int32_t status = kATResultPending;
    while ((status = NBPEnumStatus(lookup)) == kATResultPending && GetTickCount() - start < kLookupLimitMs)
        Sleep(kLookupPollMs);
    _NBPTuple answer{};
    const bool found = status == kATResultDone && NBPFoundCount(lookup) > 0 && NBPReadEnum(lookup, 0, &answer) == 0;
    NBPCloseEnum(lookup);
    if (found)
        *printer = answer;
    return found;
}
}  // namespace

ZMRUPrinterBox::ZMRUPrinterBox() = default;
ZMRUPrinterBox::~ZMRUPrinterBox() = default;

BOOL ZMRUPrinterBox::LoadPrinterList(const _NBPTuple& current)
{
    m_entries = LoadRecentPrinters();
    const std::string mine = FormatPrinterEntry(current);
    if (!mine.empty())
        PromoteRecentPrinter(m_entries, mine);
    ResetContent();
    for (const std::string& entry : m_entries)
        AddString(entry.c_str());
    if (m_entries.empty())
        return FALSE;
    SetCurSel(0);
    return TRUE;
}

void ZMRUPrinterBox::GetCurSelPrinter(_NBPTuple* printer)
{
    const int sel = GetCurSel();
    if (!printer || sel < 0 || static_cast<std::size_t>(sel) >= m_entries.size())
        return;
    const std::string& entry = m_entries[static_cast<std::size_t>(sel)];
    _NBPTuple chosen{};
    if (!ParsePrinterEntry(entry, &chosen))
        return;
    if (entry != FormatPrinterEntry(*printer)) {
        // A recent printer is kept by name only: its address now is the
        // one NBP gives for that name. One that is gone keeps address 0,
        // and the job's open then says it could not be found.
        *printer = chosen;
        LookUpPrinter(printer);
    }
    std::vector<std::string> stored = LoadRecentPrinters();
    PromoteRecentPrinter(stored, entry);
    SaveRecentPrinters(stored);
}
