#include "job_ticket.h"

#include "nbp_names.h"

IMPLEMENT_DYNCREATE(ZJobTicket, CObject)

PapStack* ZJobTicket::s_pDefaultStack = nullptr;

ZJobTicket::ZJobTicket()
{
    if (s_pDefaultStack != nullptr)
        LoadDefaultPrinter(*s_pDefaultStack);
}

ZJobTicket::ZJobTicket(PapStack& stack)
{
    LoadDefaultPrinter(stack);
}

ZJobTicket::ZJobTicket(PapStack& stack, const std::string& firstPath) : ZJobTicket(stack)
{
    AddFile(firstPath);
}

ZJobTicket::~ZJobTicket()
{
    m_files.clear();
}

void ZJobTicket::LoadDefaultPrinter(PapStack& stack)
{
    _NBPTuple printer{};
    if (stack.GetDefaultPrinter(&printer) == 0)
        m_printer = printer;
}

void ZJobTicket::AddFile(const std::string& path)
{
    m_files.push_back(path);
}

std::string JobFileTitle(const std::string& path)
{
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string JobPrinterDisplayName(const _NBPTuple& printer)
{
    return NBPSlotText(printer.object) + ":" + NBPSlotText(printer.type) + "@" + NBPSlotText(printer.zone);
}
