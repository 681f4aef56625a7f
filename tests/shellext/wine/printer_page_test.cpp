// The printer page and its information query against atnetd's printers:
// the page's fields, the button only for PostScript printer types, the
// query job (built in, or "PInfo.ps" from the installation folder or the
// module's folder) as the printer receives it, the "_" name found with the
// NBP wildcard, and a query that ends early: the printer failing a read or
// vanishing, the sheet cancelled or closed under it.
#include "extension_fixture.h"

#include <functional>

#include "dialog_driver.h"
#include "fx/win_app.h"
#include "net_props.h"
#include "printer_ext.h"
#include "printer_query.h"
#include "resource.h"
#include "test_printer.h"
#include "win_test_helpers.h"

namespace shelltest {
namespace {

const char kLaserWriter[] = "LaserWriter Pro 630:LaserWriter@Engineering";  // answers from the world file
const char kInterpreter[] = "Studio LW 16/600:LaserWriter@Design Studio";    // runs PostScript

// The application object VSXPROPS.dll has; the query's pump goes through it.
CWinApp g_app;

// Called at every pass of the query's message pump (a 10 ms thread timer)
// with the text box's text.
std::function<void(const std::string&)> g_duringQuery;
HWND g_textBox = nullptr;
bool g_inside = false;
// Every text the box was given while the query ran, in order.
std::vector<std::string> g_shown;

void CALLBACK WatchQuery(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_duringQuery || g_inside || !IsWindow(g_textBox))
        return;
    g_inside = true;
    char text[4200] = "";
    GetWindowTextA(g_textBox, text, sizeof text);
    g_duringQuery(text);
    g_inside = false;
}

LRESULT CALLBACK RecordTexts(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_SETTEXT && lParam != 0)
        g_shown.push_back(reinterpret_cast<const char*>(lParam));
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Presses "Additional Info:" and returns when the query ended; the texts
// shown meanwhile are in g_shown.
void RunQuery(HWND page, std::function<void(const std::string&)> during = {})
{
    g_textBox = GetDlgItem(page, IDC_PRINTER_INFO_TEXT);
    g_shown.clear();
    SetWindowSubclass(g_textBox, &RecordTexts, 1, 0);
    g_duringQuery = std::move(during);
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &WatchQuery);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_ADDITIONAL_INFO, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_ADDITIONAL_INFO)));
    KillTimer(nullptr, timer);
    if (IsWindow(g_textBox))
        RemoveWindowSubclass(g_textBox, &RecordTexts, 1);
    g_duringQuery = nullptr;
    g_textBox = nullptr;
}

// A query the printer takes four seconds over before it answers.
const char kSlowQuery[] = "%!PS\nrealtime 4000 add { dup realtime lt { exit } if } loop pop (late) print flush\n";

std::string BuiltInQuery()
{
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_PRINTER_QUERY), "PSFILE");
    const auto* text = static_cast<const char*>(LockResource(LoadResource(nullptr, res)));
    return std::string(text, strnlen(text, SizeofResource(nullptr, res)));
}

// A world of one zone "Z" and the printers given.
std::string WorldWith(const std::string& printers)
{
    return R"({ "workstation": { "network": 1, "node": 2, "zone": "Z" }, "zones": [ { "name": "Z", "local": true } ],
      "timing": { "nbpLookupMs": 50 }, "printers": [ )" + printers + " ] }";
}

class PrinterQuery : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        folder_ = service_.Dir() + "install\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        install_ = std::make_unique<vtest::InstallFolderOverride>(folder_);
    }
    void TearDown() override
    {
        install_.reset();
        ExtensionTest::TearDown();
    }

    // The printer page of a network name, shown.
    HWND OpenPage(SheetHost& host, const std::string& name)
    {
        Open(RUNTIME_CLASS(CVSXNetProps), NetResources({{name, "AppleTalk Network"}}), host);
        return host.Show() ? host.Page(0) : nullptr;
    }
    // The lengths and EOF flags of the writes, as "4096 4096 0E".
    std::string Writes() const
    {
        service_.AwaitTraceOf("pap.close", 1);
        std::string out;
        for (const auto& w : Calls("pap.write"))
            out += (out.empty() ? "" : " ") + std::to_string(w["in"]["length"].get<int>()) +
                   (w["in"]["eof"].get<bool>() ? "E" : "");
        return out;
    }
    std::string SpooledJob() const
    {
        const auto files = service_.SpoolFiles();
        return files.size() == 1 ? attest::ReadFile(service_.SpoolDir() + files[0]) : std::string();
    }

    std::string folder_;
    std::unique_ptr<vtest::InstallFolderOverride> install_;
};

TEST_F(PrinterQuery, TheBuiltInQueryInTwoWritesAndThePrintersAnswer)
{
    SheetHost host;
    HWND page = OpenPage(host, kInterpreter);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(host.TabTitle(0), "AppleTalk");
    EXPECT_EQ(ItemText(page, IDC_OBJECT_NAME), "Studio LW 16/600");
    EXPECT_EQ(ItemText(page, IDC_PRINTER_DESCRIPTION), "Printer on the AppleTalk Network");
    EXPECT_EQ(ItemText(page, IDC_OBJECT_ZONE), "Design Studio");
    EXPECT_EQ(ItemText(page, IDC_PRINTER_TYPE), "LaserWriter");
    EXPECT_EQ(ItemText(page, IDC_NETWORK_PATH), kInterpreter);
    EXPECT_TRUE(Visible(page, IDC_ADDITIONAL_INFO));
    EXPECT_TRUE(Visible(page, IDC_PRINTER_INFO_TEXT));

    RunQuery(page);
    // The printer ran the query: what it knows of itself, line by line.
    char answer[4200] = "";
    GetDlgItemTextA(page, IDC_PRINTER_INFO_TEXT, answer, sizeof answer);
    for (const char* line : {"Quarnet Printer Information\r\n---------------------------\r\n",
                             "\nAppleTalk Printer Name: Studio LW 16/600\r\n",
                             "\nPrinter Product: LaserWriter 16/600 PS\r\n",
                             "\nPrinter PostScript Version: 2014.108\r\n", "\nPrinter Revision: 1\r\n",
                             "\nCurrent Resolution: 150 dpi\r\n", "\nMaximum Imageable Area: 8.5 x 11.0 inches\r\n",
                             "\nColor Printer: no\r\n", "\nSerial Number: "})
        EXPECT_NE(std::string(answer).find(line), std::string::npos) << line << " in\n" << answer;
    EXPECT_EQ(std::string(answer).find("Error"), std::string::npos) << answer;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_ADDITIONAL_INFO)));
    // Each chunk announced, each write waited for, the answer last.
    const std::vector<std::string> statuses(g_shown.begin(), g_shown.begin() + std::min<size_t>(g_shown.size(), 7));
    EXPECT_EQ(statuses, (std::vector<std::string>{"Attempting to Open Printer!", "Sending Stock Info Request to Printer",
                                                  "Waiting for Printer Reply", "Sending Stock Info Request to Printer",
                                                  "Waiting for Printer Reply", "Waiting for Printer Reply",
                                                  "Waiting for Printer Reply"}));
    EXPECT_EQ(g_shown.back(), answer);

    // No "_" in the name: no lookup. The job is the 4153-byte query.
    EXPECT_EQ(Calls("nbp.lookup").size(), 0u);
    EXPECT_EQ(BuiltInQuery().size(), 4153u);
    EXPECT_EQ(Writes(), "4096 57 0E");
    EXPECT_EQ(SpooledJob(), BuiltInQuery());
    EXPECT_EQ(Calls("pap.open").size(), 1u);
    EXPECT_EQ(Calls("pap.close").size(), 1u);
    PumpMessages();  // the button painted enabled again
    dtest::SaveScreenshot(host.sheet, "printer_page");
}

TEST_F(PrinterQuery, ANonPostScriptPrinterHasNoButton)
{
    SheetHost host;
    HWND page = OpenPage(host, "ImageWriter LQ:ImageWriter@Engineering");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ItemText(page, IDC_PRINTER_TYPE), "ImageWriter");
    EXPECT_FALSE(Visible(page, IDC_ADDITIONAL_INFO));
    EXPECT_FALSE(Visible(page, IDC_PRINTER_INFO_TEXT));
}

TEST_F(PrinterQuery, AWindowsPrinterShowsItsNameAndPort)
{
    // Its name is the printer's network name too (that is how the selection
    // is known for an AppleTalk printer's).
    vtest::TestPrinter printer(kLaserWriter, kLaserWriter);
    ASSERT_TRUE(printer.Installed());
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXPrinterExt), PrinterSelection(kLaserWriter), host);
    ASSERT_TRUE(host.Show());
    HWND page = host.Page(0);
    EXPECT_EQ(ItemText(page, IDC_PRINTER_DESCRIPTION), kLaserWriter);
    EXPECT_EQ(ItemText(page, IDC_NETWORK_PATH), kLaserWriter);
    EXPECT_EQ(ItemText(page, IDC_OBJECT_NAME), "LaserWriter Pro 630");
}

TEST_F(PrinterQuery, AnUnderscoreNameIsFoundWithTheWildcard)
{
    // The printer's name holds a character the selection could not keep.
    service_.Kill();
    ASSERT_TRUE(service_.Start(WorldWith(R"({ "name": "Anna\u00d5s Printer", "reply": "found\r\n" })")));
    SheetHost host;
    HWND page = OpenPage(host, "Anna_s Printer:LaserWriter@Z");
    ASSERT_NE(page, nullptr);
    RunQuery(page);
    EXPECT_EQ(ItemText(page, IDC_PRINTER_INFO_TEXT), "found\r\n");
    const auto lookups = Calls("nbp.lookup");
    ASSERT_EQ(lookups.size(), 3u);
    EXPECT_EQ(lookups[0]["in"]["object"], "Anna_s Printer");
    EXPECT_EQ(lookups[1]["in"]["object"], "Anna\xc3\x85s Printer");  // 0xC5, the wildcard
    const auto opens = Calls("pap.open");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0]["in"]["object"], "Anna\xc3\x85s Printer");
}

TEST_F(PrinterQuery, AnUnderscoreNameNobodyHasIsNotFound)
{
    SheetHost host;
    HWND page = OpenPage(host, "No_Such Printer:LaserWriter@Engineering");
    ASSERT_NE(page, nullptr);
    RunQuery(page);
    EXPECT_EQ(ItemText(page, IDC_PRINTER_INFO_TEXT), "Printer not Found!");
    EXPECT_EQ(Calls("pap.open").size(), 0u);
}

TEST_F(PrinterQuery, ACustomQueryGoesInChunksWithItsLeadingCtrlDBlanked)
{
    // "Path" without its backslash; 10,000 bytes with a Ctrl-D at the start
    // of the first and second chunks and one inside.
    install_.reset();
    install_ = std::make_unique<vtest::InstallFolderOverride>(folder_.substr(0, folder_.size() - 1));
    std::string custom(10000, 'q');
    custom[0] = custom[4096] = custom[100] = '\x04';
    attest::WriteFile(folder_ + "PInfo.ps", custom);
    SheetHost host;
    HWND page = OpenPage(host, kLaserWriter);
    ASSERT_NE(page, nullptr);
    RunQuery(page);
    EXPECT_EQ(std::count(g_shown.begin(), g_shown.end(), "Sending Custom Info Request to Printer"), 3);
    EXPECT_EQ(Writes(), "4096 4096 1808 0E");
    std::string expected = custom;
    expected[0] = expected[4096] = ' ';
    EXPECT_EQ(SpooledJob(), expected);
    EXPECT_EQ(ItemText(page, IDC_PRINTER_INFO_TEXT), "%%[ status: end of job ]%%\r\n");
}

TEST_F(PrinterQuery, WithoutAReadablePathTheModulesFolderHoldsTheCustomQuery)
{
    install_.reset();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VESTREL\\QUARNET\\2.0", 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_QUERY_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegDeleteValueA(key, "Path");  // the key is there, its value is not
    RegCloseKey(key);
    const std::string beside = vtest::TestProgramFolder() + "PInfo.ps";
    attest::WriteFile(beside, "%!PS\n(from the module's folder) print\n");
    SheetHost host;
    HWND page = OpenPage(host, kLaserWriter);
    if (page != nullptr)
        RunQuery(page);
    DeleteFileA(beside.c_str());
    EXPECT_EQ(SpooledJob(), "%!PS\n(from the module's folder) print\n");
}

TEST_F(PrinterQuery, AFailedReadEndsTheQueryAndClosesTheConnection)
{
    service_.Kill();
    ASSERT_TRUE(service_.Start(WorldWith(R"({ "name": "P", "reply": "never\r\n",
        "faults": [ { "at": "read", "nth": 1, "result": -1096 } ] })")));
    SheetHost host;
    HWND page = OpenPage(host, "P:LaserWriter@Z");
    ASSERT_NE(page, nullptr);
    RunQuery(page);
    EXPECT_EQ(ItemText(page, IDC_PRINTER_INFO_TEXT), "No Reply from Printer!");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_ADDITIONAL_INFO)));
    EXPECT_EQ(Calls("pap.close").size(), 1u);
}

TEST_F(PrinterQuery, TheAnswerIsCutAt4095Characters)
{
    service_.Kill();
    ASSERT_TRUE(service_.Start(WorldWith(R"({ "name": "P", "reply": ")" + std::string(5000, 'a') + R"(" })")));
    SheetHost host;
    HWND page = OpenPage(host, "P:LaserWriter@Z");
    ASSERT_NE(page, nullptr);
    RunQuery(page);
    EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(page, IDC_PRINTER_INFO_TEXT)), 4095);
}

TEST_F(PrinterQuery, AWriteThePrinterRefusesEndsTheQueryAndClosesTheConnection)
{
    service_.Kill();
    ASSERT_TRUE(service_.Start(WorldWith(R"({ "name": "P", "faults": [ { "at": "write", "nth": 2 } ] })")));
    SheetHost host;
    HWND page = OpenPage(host, "P:LaserWriter@Z");
    ASSERT_NE(page, nullptr);
    RunQuery(page);
    EXPECT_EQ(ItemText(page, IDC_PRINTER_INFO_TEXT), "Unable to Write to Printer!");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_ADDITIONAL_INFO)));
    EXPECT_EQ(Writes(), "4096 57");  // no EOF after the failed write
    EXPECT_EQ(Calls("pap.close").size(), 1u);
}

TEST_F(PrinterQuery, AServiceThatVanishesWhileTheOpenWaitsEndsTheQuery)
{
    SheetHost host;
    HWND page = OpenPage(host, "Lab LaserWriter II:LaserWriter@Engineering");  // opens after 1.5 s
    ASSERT_NE(page, nullptr);
    RunQuery(page, [&](const std::string& text) {
        if (text == "Attempting to Open Printer!")
            service_.Kill();
    });
    EXPECT_EQ(ItemText(page, IDC_PRINTER_INFO_TEXT), "Printer not Found!");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_ADDITIONAL_INFO)));
}

TEST_F(PrinterQuery, CancelWhileTheOpenWaitsCancelsIt)
{
    SheetHost host;
    HWND page = OpenPage(host, "Lab LaserWriter II:LaserWriter@Engineering");  // opens after 1.5 s
    ASSERT_NE(page, nullptr);
    RunQuery(page, [&](const std::string& text) {
        if (text == "Attempting to Open Printer!")
            PropSheet_PressButton(host.sheet, PSBTN_CANCEL);
    });
    const auto cancels = service_.AwaitTraceOf("pap.cancel", 1);
    ASSERT_EQ(cancels.size(), 1u);
    EXPECT_EQ(service_.AwaitTraceOf("pap.open", 1).at(0)["result"], -1105);
    EXPECT_EQ(Calls("pap.write").size(), 0u);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_ADDITIONAL_INFO)));
}

TEST_F(PrinterQuery, TheSheetClosedUnderTheQueryEndsItsConnection)
{
    // Closed while the open waits: the open is cancelled. Closed while the
    // printer works on the query: the connection is closed.
    attest::WriteFile(folder_ + "PInfo.ps", kSlowQuery);
    struct Case {
        const char* printer;
        const char* closeOn;
        const char* endedBy;
    };
    for (const Case& c : {Case{"Lab LaserWriter II:LaserWriter@Engineering", "Attempting to Open Printer!", "pap.cancel"},
                          Case{kInterpreter, "Waiting for Printer Reply", "pap.close"}}) {
        ASSERT_TRUE(service_.Restart());
        {
            SheetHost host;
            HWND page = OpenPage(host, c.printer);
            ASSERT_NE(page, nullptr);
            bool closed = false;
            RunQuery(page, [&](const std::string& text) {
                if (!closed && text == c.closeOn) {
                    closed = true;
                    host.Close();
                }
            });
            EXPECT_TRUE(closed) << c.printer;
            // Page, record and extension went with the sheet, under the query.
            EXPECT_EQ(CNetPage::LiveCount(), 0);
            EXPECT_EQ(CNetInfoObj::LiveCount(), 0);
        }
        EXPECT_EQ(service_.AwaitTraceOf(c.endedBy, 1).size(), 1u) << c.printer;
    }
}

TEST_F(PrinterQuery, AServiceThatVanishesWhileThePrinterWorksEndsTheQuery)
{
    attest::WriteFile(folder_ + "PInfo.ps", kSlowQuery);
    SheetHost host;
    HWND page = OpenPage(host, kInterpreter);
    ASSERT_NE(page, nullptr);
    const DWORD start = GetTickCount();
    bool killed = false;
    RunQuery(page, [&](const std::string& text) {
        // Once the whole job is written, while the answer is awaited.
        const auto writes = Calls("pap.write");
        if (!killed && text == "Waiting for Printer Reply" && !writes.empty() && writes.back()["in"]["eof"] == true) {
            killed = true;
            service_.Kill();
        }
    });
    EXPECT_TRUE(killed);
    EXPECT_LT(GetTickCount() - start, 3000u) << "the query waited for the job";
    EXPECT_EQ(ItemText(page, IDC_PRINTER_INFO_TEXT), "No Reply from Printer!");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_ADDITIONAL_INFO)));
}

}  // namespace
}  // namespace shelltest
