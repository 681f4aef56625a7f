// ZJobTicket: one download job: the printer, the options and the files,
// in order. Built by the Download command, read by the download engine.
#pragma once

#include <string>
#include <vector>

#include "atalk_records.h"
#include "fx/object.h"
#include "pap_stack.h"

class ZJobTicket : public CObject {
    DECLARE_DYNCREATE(ZJobTicket)

public:
    // The stack a ticket made by dynamic creation asks for the default
    // printer. The program sets it once at start; while it is null such a
    // ticket's printer stays empty.
    static PapStack* s_pDefaultStack;

    // Dynamic creation: as below, with s_pDefaultStack.
    ZJobTicket();
    // The stack's default printer (PAPGetDefaultPrinter, result ignored:
    // without one the printer stays all zero), the option defaults, no file.
    explicit ZJobTicket(PapStack& stack);
    // The same, then `firstPath` appended.
    ZJobTicket(PapStack& stack, const std::string& firstPath);
    ~ZJobTicket() override;

    // Appends a copy of `path` at the end of the list.
    void AddFile(const std::string& path);
    const std::vector<std::string>& GetFiles() const { return m_files; }

    _NBPTuple m_printer{};
    bool m_bWaitForEOF = true;
    bool m_bAppendShowpage = false;   // recorded for the options dialog; sends nothing
    bool m_bStripCtrlChars = false;   // recorded for the options dialog; changes nothing
    std::vector<std::string> m_files;

private:
    void LoadDefaultPrinter(PapStack& stack);
};

// The title shown and logged for a path: the name without its folder
// (after the last '\\', '/' or drive colon).
std::string JobFileTitle(const std::string& path);

// The printer as the progress dialog shows it: "object:type@zone".
std::string JobPrinterDisplayName(const _NBPTuple& printer);
