#include "job_texts.h"

std::string JobTextEnglish(int id)
{
    switch (id) {
    case IDS_RENAME_LOG_LINE:
        return "Renamed Printer %s to %s \n";
    case IDS_RENAME_JOB:
        return "%%!PS-Adobe-2.0 ExitServer \n%%%%For:Quarnet for Windows\n%%%%Title:Printer Rename \n"
               "%%%%Creator:Vestrel \n%%%%CreationDate:6/15/92 \n%%%%BeginExitServer 0 \n"
               "serverdict begin 0 exitserver statusdict \nbegin (%s) setprintername\n%%%%EndExitServer\n%%%%EOF\n";
    case IDS_RENAME_STARTING:
        return "Status: Starting Printer Rename Operation";
    case IDS_RENAME_IN_PROGRESS:
        return "Status: Printer Rename in progress ...";
    case IDS_FILE_NOT_ACCESSIBLE:
        return "The file %1 could not be accessed";
    case IDS_STATUS_OPENING:
        return "Status: Opening Printer";
    case IDS_STATUS_OPEN:
        return "Status: Printer Open";
    case IDS_STATUS_CLOSING:
        return "Status: Closing Printer";
    case IDS_NO_JOB:
        return "There is nothing to download: no files and no printer were given";
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

std::string FormatPrintfText(std::string_view format, std::initializer_list<std::string_view> args)
{
    std::string out;
    const std::string_view* next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        const char after = i + 1 < format.size() ? format[i + 1] : '\0';
        if (c == '%' && after == '%') {
            out.push_back('%');
            ++i;
        } else if (c == '%' && after == 's') {
            if (next != args.end())
                out.append(*next++);
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}
