#include "printer_model.h"

#include "canned_printer.h"
#include "ps_printer.h"

namespace simnet {

void ReplyStream::Send(std::string_view bytes)
{
    if (ended_ || bytes.empty())
        return;
    pending_.append(bytes);
    if (changed_)
        changed_();
}

void ReplyStream::End(std::string_view last)
{
    if (ended_)
        return;
    pending_.append(last);
    ended_ = true;
    if (changed_)
        changed_();
}

std::unique_ptr<PrinterModel> MakePrinterModel(const atw::Printer& printer, PrinterHost& host,
                                               const std::string& spoolDir)
{
    if (printer.interpreter)
        return std::make_unique<PsPrinter>(host, spoolDir);
    return std::make_unique<CannedPrinter>(printer);
}

}  // namespace simnet
