// ZJobTicket: one download job: the printer, the options and the files,
// in order. Built by the Download command, read by the download engine.
#pragma once

#include <string>
#include <vector>

#include "atalk_records.h"
#include "pap_stack.h"

class ZJobTicket {
public:
    // The stack's default printer (PAPGetDefaultPrinter, result ignored:
    // without one the printer stays all zero), the option defaults, no file.
    explicit ZJobTicket(PapStack& stack);
    // The same, then `firstPath` appended.
    ZJobTicket(PapStack& stack, const std::string& firstPath);
    virtual ~ZJobTicket();

    ZJobTicket(const ZJobTicket&) = delete;
    ZJobTicket& operator=(const ZJobTicket&) = delete;

    // Appends a copy of `path` at the end of the list.
    void AddFile(const std::string& path);
    const std::vector<std::string>& GetFiles() const { return m_files; }

    _NBPTuple m_printer{};
    bool m_bWaitForEOF = true;
    bool m_bAppendShowpage = false;   // recorded for the options dialog; sends nothing
    bool m_bStripCtrlChars = false;   // recorded for the options dialog; changes nothing
    std::vector<std::string> m_files;
};

// The title shown and logged for a path: the name without its folder
// (after the last '\\', '/' or drive colon).
std::string JobFileTitle(const std::string& path);

// The printer as the progress dialog shows it: "object:type@zone".
std::string JobPrinterDisplayName(const _NBPTuple& printer);
