#include "printer_info.h"

#include "fx/fx_string.h"
#include "molven32.h"
#include "resource.h"

CPrinterInfoObj::CPrinterInfoObj(const char* name) : CNetInfoObj(NETOBJ_PRINTER, name)
{
    InitArrays();
    CString description;
    description.LoadString(IDS_PRINTER_ON_NETWORK);
    Parse(description);
}

CPrinterInfoObj::CPrinterInfoObj(const char* port, const char* printerName) : CNetInfoObj(NETOBJ_PRINTER, port)
{
    InitArrays();
    Parse(printerName ? printerName : "");
}

void CPrinterInfoObj::Parse(const CString& description)
{
    char object[36] = "", type[36] = "", zone[36] = "";
    if (AFPParseRemoteName(m_strPath.c_str(), object, type, zone, nullptr, nullptr) != 0) {
        m_bValid = 0;
        return;
    }
    m_names[0] = object;
    m_names[1] = zone;
    m_names[2] = type;
    m_names[3] = description;
}
