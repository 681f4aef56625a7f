// A printer in the test prefix, as a fresh prefix has none: Wine's
// PostScript driver with the generic PPD that winspool carries, on a port
// of the test's choosing. It becomes the default printer while it lives;
// the printer goes and the earlier default comes back with the object.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <fstream>
#include <string>

namespace vtest {

class TestPrinter {
public:
    TestPrinter(const char* name, const char* port) : name_(name)
    {
        char previous[256];
        DWORD size = sizeof previous;
        if (GetDefaultPrinterA(previous, &size))
            previous_ = previous;
        installed_ = Install(port);
    }
    ~TestPrinter()
    {
        HANDLE h = nullptr;
        PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (OpenPrinterA(name_.data(), &h, &access)) {
            DeletePrinter(h);
            ClosePrinter(h);
        }
        if (!previous_.empty())
            SetDefaultPrinterA(previous_.c_str());
    }
    TestPrinter(const TestPrinter&) = delete;
    TestPrinter& operator=(const TestPrinter&) = delete;

    // Whether the printer was installed and made the default.
    bool Installed() const { return installed_; }

private:
    bool Install(const char* port)
    {
        HMODULE spool = LoadLibraryExA("winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HRSRC res = spool ? FindResourceA(spool, MAKEINTRESOURCEA(1), "PPDFILE") : nullptr;
        HGLOBAL data = res ? LoadResource(spool, res) : nullptr;
        if (data == nullptr)
            return false;
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        std::string ppd = std::string(temp) + "fx_generic.ppd";
        std::ofstream(ppd, std::ios::binary).write(static_cast<const char*>(LockResource(data)), SizeofResource(spool, res));

        DRIVER_INFO_3A driver{};
        driver.cVersion = 3;
        driver.pName = const_cast<char*>("Fx Test Driver");
        driver.pDriverPath = const_cast<char*>("wineps.drv");
        driver.pConfigFile = const_cast<char*>("wineps.drv");
        driver.pDataFile = ppd.data();
        if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY))
            return false;
        PRINTER_INFO_2A printer{};
        printer.pPrinterName = name_.data();
        printer.pPortName = const_cast<char*>(port);
        printer.pDriverName = const_cast<char*>("Fx Test Driver");
        printer.pPrintProcessor = const_cast<char*>("winprint");
        printer.pDatatype = const_cast<char*>("RAW");
        HANDLE h = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
        if (h == nullptr && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS)
            return false;
        if (h != nullptr)
            ClosePrinter(h);
        return SetDefaultPrinterA(name_.c_str()) != FALSE;
    }

    std::string name_;
    std::string previous_;
    bool installed_ = false;
};

}  // namespace vtest
