#include "printer_model.h"

#include "canned_printer.h"

namespace simnet {

void ReplyStream::Send(std::string_view bytes)
{
    if (ended_ || bytes.empty())
        return;
    pending_.append(bytes);
    if (changed_)
        changed_();
}

void ReplyStream::End()
{
    if (ended_)
        return;
    ended_ = true;
    if (changed_)
        changed_();
}

std::unique_ptr<PrinterModel> MakePrinterModel(const atw::Printer& printer)
{
    return std::make_unique<CannedPrinter>(printer);
}

}  // namespace simnet
