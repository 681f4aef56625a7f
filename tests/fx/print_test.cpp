// Printing a view: every page from 1 to the last goes through OnPrepareDC
// and OnPrint into one job; here the job is a PostScript file.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <fstream>
#include <sstream>

#include "route_fixture.h"

namespace {

// A printer in the test prefix, as a fresh prefix has none: Wine's
// PostScript driver with the generic PPD that winspool carries.
bool InstallTestPrinter(const char* name)
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
    printer.pPrinterName = const_cast<char*>(name);
    printer.pPortName = const_cast<char*>("FxTestPort");
    printer.pDriverName = const_cast<char*>("Fx Test Driver");
    printer.pPrintProcessor = const_cast<char*>("winprint");
    printer.pDatatype = const_cast<char*>("RAW");
    HANDLE h = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (h == nullptr && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS)
        return false;
    if (h != nullptr)
        ClosePrinter(h);
    return SetDefaultPrinterA(name) != FALSE;
}

class CPagesView : public CView {
public:
    std::vector<UINT> printed;
    void OnDraw(CDC* dc) override { TextOutA(dc->m_hDC, 100, 100, "page", 4); }
    BOOL OnPreparePrinting(CPrintInfo* info) override
    {
        info->m_bDirect = TRUE;
        info->m_nMaxPage = 3;
        info->m_strOutput = output;
        return DoPreparePrinting(info);
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override
    {
        printed.push_back(info->m_nCurPage);
        EXPECT_TRUE(dc->IsPrinting());
        EXPECT_GT(info->m_rectDraw.right, 0);
        CView::OnPrint(dc, info);
    }
    std::string output;
};

// Takes the test printer out again and gives back the default printer that
// was there, so that other tests of the session see the prefix as it was.
struct TestPrinterScope {
    std::string previous;
    TestPrinterScope()
    {
        char name[256];
        DWORD size = sizeof name;
        if (GetDefaultPrinterA(name, &size))
            previous = name;
    }
    ~TestPrinterScope()
    {
        HANDLE h = nullptr;
        PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (OpenPrinterA(const_cast<char*>("Fx Test Printer"), &h, &access)) {
            DeletePrinter(h);
            ClosePrinter(h);
        }
        if (!previous.empty())
            SetDefaultPrinterA(previous.c_str());
    }
};

TEST(Printing, EveryPageOfTheJobReachesOnPrintAndTheOutput)
{
    TestPrinterScope scope;
    ASSERT_TRUE(InstallTestPrinter("Fx Test Printer")) << GetLastError();
    CRouteApp app;
    app.SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOW);
    CPagesView view;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    view.output = std::string(temp) + "fx_print.ps";
    DeleteFileA(view.output.c_str());

    view.OnFilePrint();
    EXPECT_EQ(view.printed, (std::vector<UINT>{1, 2, 3}));
    std::ifstream in(view.output, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string ps = text.str();
    EXPECT_EQ(ps.rfind("%!PS", 0), 0u) << ps.substr(0, 40);
    size_t pages = 0;
    for (size_t at = ps.find("%%Page:"); at != std::string::npos; at = ps.find("%%Page:", at + 1))
        ++pages;
    EXPECT_EQ(pages, 3u);
    DeleteFileA(view.output.c_str());
}

}  // namespace
