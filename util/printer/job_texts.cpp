#include "job_texts.h"

std::string JobTextEnglish(int id)
{
    switch (id) {
    case IDS_FILE_NOT_ACCESSIBLE:
        return "The file %1 could not be accessed";
    case IDS_STATUS_OPENING:
        return "Status: Opening Printer";
    case IDS_STATUS_OPEN:
        return "Status: Printer Open";
    case IDS_STATUS_CLOSING:
        return "Status: Closing Printer";
    case IDS_PRINTER_NOT_FOUND:
        return "The printer %1 could not be found on the network";
    default:
        return {};
    }
}

std::string FormatJobText(std::string_view text, std::string_view arg)
{
    std::string out;
    out.reserve(text.size() + arg.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '1') {
            out.append(arg);
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}
