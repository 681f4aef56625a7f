// The record of an AppleTalk printer: names [0] printer (NBP object), [1]
// zone, [2] printer type (NBP type), [3] a short description: "Printer on
// the AppleTalk Network" for a network selection, the Windows printer's
// name for a printer selection.
#pragma once

#include "name_lookups.h"
#include "net_info.h"

class CPrinterInfoObj : public CNetInfoObj {
public:
    // From a network name ("object:type@zone").
    explicit CPrinterInfoObj(const char* name);
    // From the port of a Windows printer and that printer's name.
    CPrinterInfoObj(const char* port, const char* printerName);
    void InitArrays() override { SizeArrays(4, 0, 0); }

    // Name lookups that resolve the printer while a query runs.
    NameLookups m_lookups;

private:
    void Parse(const CString& description);
};
