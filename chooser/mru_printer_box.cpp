#include "chooser/mru_printer_box.h"

#include "nbp_names.h"
#include "recent_printers.h"

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
    if (entry != FormatPrinterEntry(*printer))
        *printer = chosen;
    std::vector<std::string> stored = LoadRecentPrinters();
    PromoteRecentPrinter(stored, entry);
    SaveRecentPrinters(stored);
}
