// The printer chosen with Print Setup is the application's: Print and Print
// Preview use it with its orientation, the preview measures on it, a
// preview goes with its view, and a vanished choice falls back to the
// default printer.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "dialog_script.h"
#include "fx/print_preview.h"
#include "route_fixture.h"
#include "test_printer.h"
#include "tests/fx/fx_test_ids.h"

namespace {

std::string TempPath(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// What OnBeginPrinting saw of the device it was given.
struct Measured {
    bool hadDC = false;
    int technology = -1;
    int width = 0, height = 0;
    std::string device;
};

class CMeasuringView : public CView {
public:
    Measured begin;
    void OnDraw(CDC*) override {}
    BOOL OnPreparePrinting(CPrintInfo* info) override
    {
        info->m_bDirect = TRUE;
        return DoPreparePrinting(info);
    }
    void OnBeginPrinting(CDC* dc, CPrintInfo*) override
    {
        begin = {};
        begin.hadDC = dc->m_hDC != nullptr;
        if (!begin.hadDC)
            return;
        begin.technology = GetDeviceCaps(dc->m_hDC, TECHNOLOGY);
        begin.width = GetDeviceCaps(dc->m_hDC, HORZRES);
        begin.height = GetDeviceCaps(dc->m_hDC, VERTRES);
    }
    void OnPrint(CDC* dc, CPrintInfo*) override { TextOutA(dc->m_hDC, 100, 100, "x", 1); }
};

std::string ChosenDevice(const CWinApp& app)
{
    if (app.m_hDevNames == nullptr)
        return "";
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(app.m_hDevNames));
    std::string device = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
    GlobalUnlock(app.m_hDevNames);
    return device;
}

int ChosenOrientation(const CWinApp& app)
{
    if (app.m_hDevMode == nullptr)
        return 0;
    const auto* mode = static_cast<const DEVMODEA*>(GlobalLock(app.m_hDevMode));
    int orientation = mode->dmOrientation;
    GlobalUnlock(app.m_hDevMode);
    return orientation;
}

// Print Setup answered: `printer` picked in the printer list, landscape.
void ChoosePrinterInSetup(vtest::DialogScript& script, const char* printer)
{
    script.Then([printer](HWND dialog) {
        const int kPrinterCombo = 0x470, kLandscape = 0x421;
        HWND combo = GetDlgItem(dialog, kPrinterCombo);
        SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(printer));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kPrinterCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        SendMessageA(GetDlgItem(dialog, kLandscape), BM_CLICK, 0, 0);
        vtest::DialogScript::Press(dialog, IDOK);
    });
}

class PrintSetup : public testing::Test {
protected:
    std::string defaultOut = TempPath("fx_default.ps"), otherOut = TempPath("fx_other.ps");
    // Two printers; the first stays the default. Each goes with its object.
    std::optional<vtest::TestPrinter> defaultPrinter, otherPrinter;
    CRouteApp app;
    CRouteMainFrame* frame = nullptr;

    void SetUp() override
    {
        DeleteFileA(defaultOut.c_str());
        DeleteFileA(otherOut.c_str());
        defaultPrinter.emplace("Fx Default Printer", defaultOut.c_str());
        otherPrinter.emplace("Fx Other Printer", otherOut.c_str());
        ASSERT_TRUE(defaultPrinter->Installed());
        ASSERT_TRUE(otherPrinter->Installed());
        ASSERT_TRUE(SetDefaultPrinterA("Fx Default Printer"));
        frame = StartRouteProgram(app);
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override
    {
        EndRouteProgram(app);
        DeleteFileA(defaultOut.c_str());
        DeleteFileA(otherOut.c_str());
    }
};

TEST_F(PrintSetup, TheChoiceIsKeptAndUsedByPrintAndPreview)
{
    {
        vtest::DialogScript script;
        ChoosePrinterInSetup(script, "Fx Other Printer");
        app.OnFilePrintSetup();
        EXPECT_EQ(script.Pending(), 0u);
    }
    EXPECT_EQ(ChosenDevice(app), "Fx Other Printer");
    EXPECT_EQ(ChosenOrientation(app), DMORIENT_LANDSCAPE);

    CMeasuringView view;
    view.OnFilePrint();
    EXPECT_TRUE(view.begin.hadDC);
    EXPECT_GT(view.begin.width, view.begin.height) << "landscape";
    EXPECT_NE(ReadAll(otherOut).find("%!PS"), std::string::npos) << "printed on the chosen printer";
    EXPECT_EQ(ReadAll(defaultOut), "");

    // The preview measures on the same printer, not on a missing one.
    const Measured printed = view.begin;
    view.OnFilePrintPreview();
    PumpWaitingMessages();
    EXPECT_TRUE(view.begin.hadDC);
    EXPECT_EQ(view.begin.technology, DT_RASPRINTER);
    EXPECT_EQ(view.begin.width, printed.width);
    EXPECT_EQ(view.begin.height, printed.height);
    ASSERT_NE(view.GetPreviewWnd(), nullptr);
    view.GetPreviewWnd()->DestroyWindow();
    EXPECT_EQ(view.GetPreviewWnd(), nullptr);
}

TEST_F(PrintSetup, ThePrintDialogOpensOnTheChoiceAndKeepsWhatIsPickedInIt)
{
    vtest::DialogScript script;
    ChoosePrinterInSetup(script, "Fx Other Printer");
    app.OnFilePrintSetup();
    std::string shown;
    script.Then([&shown](HWND dialog) {
        const int kPrinterCombo = 0x473;
        shown = vtest::DialogScript::ItemText(dialog, kPrinterCombo);
        HWND combo = GetDlgItem(dialog, kPrinterCombo);
        SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Fx Default Printer"));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kPrinterCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        vtest::DialogScript::Press(dialog, IDOK);
    });
    CPrintInfo info;
    CMeasuringView view;
    ASSERT_TRUE(view.DoPreparePrinting(&info));
    CView::EndPrintJob(info);
    EXPECT_EQ(shown, "Fx Other Printer");
    EXPECT_EQ(ChosenDevice(app), "Fx Default Printer");
}

TEST_F(PrintSetup, AChosenPrinterThatIsGoneFallsBackToTheDefault)
{
    vtest::DialogScript script;
    ChoosePrinterInSetup(script, "Fx Other Printer");
    app.OnFilePrintSetup();
    ASSERT_EQ(ChosenDevice(app), "Fx Other Printer");
    otherPrinter.reset();

    CMeasuringView view;
    view.OnFilePrint();
    EXPECT_TRUE(view.begin.hadDC);
    EXPECT_EQ(ChosenDevice(app), "Fx Default Printer");
    EXPECT_NE(ReadAll(defaultOut).find("%!PS"), std::string::npos);
}

TEST_F(PrintSetup, APreviewClosesWithItsView)
{
    CDocument* doc = app.GetDocTemplates().front()->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    CView* view = doc->GetViews().front();
    view->OnFilePrintPreview();
    PumpWaitingMessages();
    CPreviewWnd* preview = view->GetPreviewWnd();
    ASSERT_NE(preview, nullptr);
    HWND previewWindow = preview->m_hWnd;

    // A second preview of the view replaces the first.
    view->OnFilePrintPreview();
    PumpWaitingMessages();
    EXPECT_FALSE(IsWindow(previewWindow));
    previewWindow = view->GetPreviewWnd()->m_hWnd;

    doc->OnCloseDocument();
    PumpWaitingMessages();
    EXPECT_FALSE(IsWindow(previewWindow));
}

}  // namespace
