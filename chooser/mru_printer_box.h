// ZMRUPrinterBox: the drop-down list of recently used printers. The
// Download Options dialog subclasses its combo box with it, fills it from
// the job's printer and reads the chosen one back on OK; the printer read
// back (the one about to be used) heads the stored list from then on.
#pragma once

#include <string>
#include <vector>

#include "atalk_records.h"
#include "fx/controls.h"

class ZMRUPrinterBox : public CComboBox {
public:
    ZMRUPrinterBox();
    virtual ~ZMRUPrinterBox();

    // Lists `current` first, then the stored recent printers, and selects
    // `current`. Nonzero when the list holds at least one printer.
    BOOL LoadPrinterList(const _NBPTuple& current);
    // Overwrites *printer with the selected entry (its address kept when
    // the names are those of *printer, else looked up by name; a printer
    // not found keeps address 0) and records it as most
    // recent. With nothing selected *printer stays as it is.
    void GetCurSelPrinter(_NBPTuple* printer);

private:
    std::vector<std::string> m_entries;  // in the order of the list
};
