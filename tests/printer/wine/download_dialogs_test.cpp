// The Download command through its real dialogs (the Open File dialog, 134
// and 136) on the real stack against a real atnetd: what the user sees and
// what reaches the service's trace and spool.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "dialog_driver.h"
#include "dialog_watchdog.h"
#include "download_command.h"
#include "download_dialog_ids.h"
#include "fx/message_box.h"
#include "fx/win_app.h"
#include "job_dialog_test.h"
#include "job_files.h"
#include "win32_pap_stack.h"

namespace {

using dtest::ItemText;
using dtest::ListItems;
using dtest::Press;
using dtest::PressEsc;

constexpr int kOpenFileNameBox = 1148;  // cmb13 of the Open File dialog
constexpr int kOpenFileNameEdit = 1152;  // edt1, where there is no cmb13

// The application object VestrelUtil has: the job's waiting loops pump
// through it.
CWinApp g_app;

class DownloadDialogs : public JobDialogTest {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VESTREL\\VSXAU20");
        JobDialogTest::SetUp();
    }
    void TearDown() override
    {
        JobDialogTest::TearDown();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VESTREL\\VSXAU20");
    }

    std::string AddFile(const std::string& name, const std::string& bytes)
    {
        attest::WriteFile(folder_ + name, bytes);
        return folder_ + name;
    }

    // Records what the options dialog shows, then presses `button` (after
    // ticking Append Showpage and Strip Control Characters when asked).
    void OnOptions(HWND dialog, int button, bool tickOthers = false)
    {
        if (optionsSeen_++)
            return;
        if (tickOthers) {
            SendMessageA(GetDlgItem(dialog, IDC_OPT_APPEND_SHOWPAGE), BM_CLICK, 0, 0);
            SendMessageA(GetDlgItem(dialog, IDC_OPT_STRIP_CTRL), BM_CLICK, 0, 0);
        }
        optionsFiles_ = ListItems(GetDlgItem(dialog, IDC_OPT_FILE_LIST));
        optionsPrinters_ = ListItems(GetDlgItem(dialog, IDC_OPT_PRINTER_BOX), true);
        optionsPrinter_ = ItemText(dialog, IDC_OPT_PRINTER_BOX);
        waitForEOF_ = IsDlgButtonChecked(dialog, IDC_OPT_WAIT_EOF);
        others_ = IsDlgButtonChecked(dialog, IDC_OPT_APPEND_SHOWPAGE) + IsDlgButtonChecked(dialog, IDC_OPT_STRIP_CTRL);
        dtest::SaveScreenshot(dialog, "download_options");
        Press(dialog, button);
    }

    // Records each new status line of the progress dialog.
    void OnProgress(HWND dialog)
    {
        ++progressTicks_;
        const std::string status = ItemText(dialog, IDC_PROG_STATUS);
        if (statusLines_.empty() || statusLines_.back() != status)
            statusLines_.push_back(status);
        printerShown_ = ItemText(dialog, IDC_PROG_PRINTER_NAME);
        const int sent = std::atoi(ItemText(dialog, IDC_PROG_BYTES_SENT).c_str());
        if (!shotTaken_ && sent > 0 && sent < std::atoi(ItemText(dialog, IDC_PROG_FILE_SIZE).c_str())) {
            shotTaken_ = true;
            dtest::SaveScreenshot(dialog, "download_progress");
        }
    }

    // Types `names` into the Open File dialog and presses Open (or Cancel).
    static void OnOpenFile(HWND dialog, const std::string& names)
    {
        if (names.empty()) {
            Press(dialog, IDCANCEL);
            return;
        }
        HWND box = GetDlgItem(dialog, kOpenFileNameBox);
        if (!box)
            box = GetDlgItem(dialog, kOpenFileNameEdit);
        SetWindowTextA(box, names.c_str());
        Press(dialog, IDOK);
    }

    int optionsSeen_ = 0;
    std::vector<std::string> optionsFiles_, optionsPrinters_;
    std::string optionsPrinter_;
    UINT waitForEOF_ = 0, others_ = 0;
    int progressTicks_ = 0;
    std::vector<std::string> statusLines_;
    std::string printerShown_;
    bool shotTaken_ = false;
    std::vector<std::string> captions_;
};

TEST_F(DownloadDialogs, TwoFilesChosenInTheOpenFileDialogReachThePrinter)
{
    ASSERT_TRUE(service_.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    const std::string first = "\x04%!PS\r\n(first) print\r\n";
    const std::string second(5000, 'q');
    AddFile("first.ps", first);
    AddFile("second.ps", second);
    StdioJobFiles files(folder_);
    vtest::AllowDialogs allow;
    bool typed = false;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (!dialog)
            return;
        if (captions_.empty() || captions_.back() != caption)
            captions_.push_back(caption);
        if (caption == "Download Options")
            OnOptions(dialog, IDOK);
        else if (caption == "Download Progress")
            OnProgress(dialog);
        else if (!typed) {
            typed = true;
            OnOpenFile(dialog, "\"first.ps\" \"second.ps\"");
        }
    });
    RunDownloadCommand(nullptr, stack_, files, folder_ + "product\\");

    EXPECT_TRUE(messages_.empty());
    ASSERT_EQ(optionsSeen_, 1) << "captions seen: " << captions_.size();
    EXPECT_EQ(optionsFiles_, (std::vector<std::string>{"first.ps", "second.ps"}));
    EXPECT_EQ(optionsPrinter_, "LaserWriter Pro 630:LaserWriter@Engineering") << "the stack's default printer";
    EXPECT_EQ(waitForEOF_, BST_CHECKED);
    EXPECT_EQ(others_, 0u);
    EXPECT_EQ(printerShown_, "LaserWriter Pro 630:LaserWriter@Engineering");

    auto spool = service_.SpoolFiles();
    std::sort(spool.begin(), spool.end());
    ASSERT_EQ(spool.size(), 2u);
    std::string sentFirst = first;
    sentFirst[0] = ' ';
    EXPECT_EQ(attest::ReadFile(service_.SpoolDir() + spool[0]), sentFirst);
    EXPECT_EQ(attest::ReadFile(service_.SpoolDir() + spool[1]), second);
    EXPECT_EQ(attest::ReadFile(folder_ + "product\\VestrelUtil.txt"),
              "DownLoaded File first.ps\r\nDownLoaded File second.ps\r\n");
    EXPECT_EQ(service_.AwaitTraceOf("mpp.free", 1).size(), 1u);

    // The printer used heads the recent-printer list from now on.
    char stored[128] = "";
    DWORD size = sizeof stored;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\VESTREL\\VSXAU20\\Recent Printers", "Printer1", RRF_RT_REG_SZ,
                           nullptr, stored, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(stored, "LaserWriter Pro 630:LaserWriter@Engineering");
}

TEST_F(DownloadDialogs, AppendShowpageAndStripControlCharactersChangeNoByteSent)
{
    ASSERT_TRUE(service_.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    std::string bytes = "\x04%!PS\r\n\x03\x04\x11\x13\x14\x1a (no showpage here)";
    const std::string a = AddFile("a.ps", bytes);
    StdioJobFiles files(folder_);
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (dialog && caption == "Download Options")
            OnOptions(dialog, IDOK, true);
        else if (dialog && caption == "Download Progress")
            OnProgress(dialog);
    });
    DownloadSelectedFiles({a}, stack_, files, folder_);
    EXPECT_EQ(others_, 2u) << "both boxes were ticked";
    const auto spool = service_.SpoolFiles();
    ASSERT_EQ(spool.size(), 1u);
    bytes[0] = ' ';
    EXPECT_EQ(attest::ReadFile(service_.SpoolDir() + spool[0]), bytes);
}

TEST(OpenFileSelection, OnePathOrAFolderWithNamesGiveFullPathsInOrder)
{
    const char one[] = "C:\\jobs\\a.ps\0\0";
    EXPECT_EQ(SplitOpenFileSelection(one, sizeof one), std::vector<std::string>{"C:\\jobs\\a.ps"});
    const char many[] = "C:\\jobs\0b.ps\0a.ps\0\0";
    EXPECT_EQ(SplitOpenFileSelection(many, sizeof many),
              (std::vector<std::string>{"C:\\jobs\\b.ps", "C:\\jobs\\a.ps"}));
    const char root[] = "C:\\\0a.ps\0\0";
    EXPECT_EQ(SplitOpenFileSelection(root, sizeof root), std::vector<std::string>{"C:\\a.ps"});
    const char unterminated[4] = {'a', '.', 'p', 's'};
    EXPECT_TRUE(SplitOpenFileSelection(unterminated, sizeof unterminated).empty());
}

TEST_F(DownloadDialogs, CancellingTheOpenFileOrTheOptionsDialogOpensNoConnection)
{
    ASSERT_TRUE(service_.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    AddFile("a.ps", "x");
    StdioJobFiles files(folder_);
    vtest::AllowDialogs allow;
    {
        dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
            if (dialog && caption == "Download Options")
                OnOptions(dialog, IDOK);
            else if (dialog)
                OnOpenFile(dialog, "");
        });
        RunDownloadCommand(nullptr, stack_, files, folder_);
    }
    EXPECT_EQ(optionsSeen_, 0) << "the Open File dialog was cancelled";
    {
        bool typed = false;
        dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
            if (dialog && caption == "Download Options")
                OnOptions(dialog, IDCANCEL);
            else if (dialog && caption == "Download Progress")
                OnProgress(dialog);
            else if (dialog && !typed) {
                typed = true;
                OnOpenFile(dialog, "a.ps");
            }
        });
        RunDownloadCommand(nullptr, stack_, files, folder_);
    }
    EXPECT_EQ(optionsSeen_, 1);
    EXPECT_EQ(optionsFiles_, std::vector<std::string>{"a.ps"});
    EXPECT_EQ(progressTicks_, 0);
    EXPECT_TRUE(service_.TraceOf("pap.open").empty());
    EXPECT_TRUE(service_.TraceOf("mpp.alloc").empty());
    EXPECT_TRUE(service_.SpoolFiles().empty());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(DownloadDialogs, AMissingFileGetsOneMessageAndTheOthersGoInOrder)
{
    ASSERT_TRUE(service_.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    const std::string a = AddFile("a.ps", "first file");
    const std::string b = folder_ + "b.ps";  // deleted after it was chosen
    const std::string c = AddFile("c.ps", "third file");
    StdioJobFiles files(folder_);
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (dialog && caption == "Download Options")
            OnOptions(dialog, IDOK);
        else if (dialog && caption == "Download Progress")
            OnProgress(dialog);
    });
    DownloadSelectedFiles({a, b, c}, stack_, files, folder_ + "product\\");

    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "The file " + b + " could not be accessed");
    EXPECT_EQ(messages_[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(messages_[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_EQ(optionsFiles_, (std::vector<std::string>{"a.ps", "c.ps"}));
    auto spool = service_.SpoolFiles();
    std::sort(spool.begin(), spool.end());
    ASSERT_EQ(spool.size(), 2u);
    EXPECT_EQ(attest::ReadFile(service_.SpoolDir() + spool[0]), "first file");
    EXPECT_EQ(attest::ReadFile(service_.SpoolDir() + spool[1]), "third file");

    // No file at all: the messages, and nothing else.
    messages_.clear();
    optionsSeen_ = 0;
    DownloadSelectedFiles({b, folder_ + "gone.ps"}, stack_, files, folder_);
    EXPECT_EQ(messages_.size(), 2u);
    EXPECT_EQ(optionsSeen_, 0);
}

TEST_F(DownloadDialogs, WithoutAnyPrinterTheFileListStaysEmptyAndOKStillRunsTheJob)
{
    // No default printer and no recent one: the box has nothing to offer.
    ASSERT_TRUE(service_.Start(R"({"workstation": {"network": 7, "node": 9},
        "printers": [{"name": "Some LW"}]})"));
    const std::string a = AddFile("a.ps", "x");
    StdioJobFiles files(folder_);
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (dialog && caption == "Download Options")
            OnOptions(dialog, IDOK);
        else if (dialog && caption == "Download Progress")
            OnProgress(dialog);
    });
    DownloadSelectedFiles({a}, stack_, files, folder_);
    EXPECT_EQ(optionsSeen_, 1);
    EXPECT_TRUE(optionsFiles_.empty());
    EXPECT_TRUE(optionsPrinters_.empty());
    // The job ran for the ticket's file and found no printer to open.
    EXPECT_GE(service_.AwaitTraceOf("pap.open", 1).size(), 1u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "The printer  could not be found on the network");
    EXPECT_EQ(messages_[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

TEST_F(DownloadDialogs, TheStatusLineShowsOpeningThenThePrintersOwnStatus)
{
    ASSERT_TRUE(service_.Start(R"({"workstation": {"network": 7, "node": 9},
        "printers": [{"name": "Slow LW", "openDelayMs": 7500, "status": {"fixed": "status: warming up"}}],
        "defaultPrinter": "Slow LW"})"));
    const std::string a = AddFile("a.ps", "x");
    StdioJobFiles files(folder_);
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (dialog && caption == "Download Options")
            OnOptions(dialog, IDOK);
        else if (dialog && caption == "Download Progress")
            OnProgress(dialog);
    });
    DownloadSelectedFiles({a}, stack_, files, folder_);
    ASSERT_GE(statusLines_.size(), 2u);
    EXPECT_EQ(statusLines_[0], "Status: Opening Printer");
    EXPECT_NE(std::find(statusLines_.begin(), statusLines_.end(), "status: warming up"), statusLines_.end());
    EXPECT_EQ(service_.SpoolFiles().size(), 1u);
}

TEST_F(DownloadDialogs, CancelInTheProgressDialogCancelsTheWaitingOpen)
{
    ASSERT_TRUE(service_.Start(R"({"workstation": {"network": 7, "node": 9},
        "printers": [{"name": "Slow LW", "openDelayMs": 30000}],
        "defaultPrinter": "Slow LW"})"));
    const std::string a = AddFile("a.ps", "never sent");
    StdioJobFiles files(folder_);
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (dialog && caption == "Download Options")
            OnOptions(dialog, IDOK);
        else if (dialog && caption == "Download Progress") {
            OnProgress(dialog);
            if (progressTicks_ == 10)
                Press(dialog, IDCANCEL);
        }
    });
    const DWORD start = GetTickCount();
    DownloadSelectedFiles({a}, stack_, files, folder_);
    EXPECT_LT(GetTickCount() - start, 20000u) << "Cancel ended the dialog before the open could";
    EXPECT_GE(progressTicks_, 10);
    ASSERT_FALSE(statusLines_.empty());
    EXPECT_EQ(statusLines_.front(), "Status: Opening Printer");
    EXPECT_EQ(service_.AwaitTraceOf("pap.cancel", 1).size() >= 1, true);
    EXPECT_TRUE(service_.TraceOf("pap.close").empty());
    EXPECT_TRUE(service_.SpoolFiles().empty());
    EXPECT_EQ(service_.AwaitTraceOf("mpp.free", 1).size(), 1u);
    EXPECT_TRUE(messages_.empty());
}

// Esc does what Cancel does while the job waits for the open and while it
// sends (the job's own loops pump the messages then).
TEST_F(DownloadDialogs, EscCancelsTheProgressDialogWhileTheJobWaitsAndWhileItSends)
{
    ASSERT_TRUE(service_.Start(R"({"workstation": {"network": 7, "node": 9},
        "printers": [{"name": "Slow LW", "openDelayMs": 1500}],
        "defaultPrinter": "Slow LW"})"));
    const std::string a = AddFile("big.ps", std::string(400 * 1024, 'b'));  // 100 passes at least
    StdioJobFiles files(folder_);
    vtest::AllowDialogs allow;
    for (const bool whileSending : {false, true}) {
        SCOPED_TRACE(whileSending ? "while sending" : "while opening");
        optionsSeen_ = progressTicks_ = 0;
        int escAt = 0;
        std::string statusAtEsc;
        dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
            if (dialog && caption == "Download Options")
                OnOptions(dialog, IDOK);
            else if (dialog && caption == "Download Progress") {
                OnProgress(dialog);
                const bool sending = std::atoi(ItemText(dialog, IDC_PROG_BYTES_SENT).c_str()) > 0;
                if (!escAt && (whileSending ? sending : progressTicks_ == 5)) {
                    escAt = progressTicks_;
                    statusAtEsc = ItemText(dialog, IDC_PROG_STATUS);
                    PressEsc(dialog);
                }
            }
        });
        DownloadSelectedFiles({a}, stack_, files, folder_);
        ASSERT_NE(escAt, 0);
        if (!whileSending) {
            EXPECT_EQ(statusAtEsc, "Status: Opening Printer");
        }
        EXPECT_LE(progressTicks_, escAt + 10) << "the dialog went within half a second of Esc";
    }
    EXPECT_GE(service_.AwaitTraceOf("pap.cancel", 1).size(), 1u) << "the waiting open was cancelled";
    EXPECT_TRUE(messages_.empty());
}

// A file that vanishes while the one before it is sent: its message is owned
// by the progress dialog, the window the user works in (so the main window
// stays disabled under it), and the stopped dialog still ends with Esc.
TEST_F(DownloadDialogs, AFileVanishingMidDownloadIsReportedOverTheProgressDialog)
{
    ASSERT_TRUE(service_.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    const std::string a = AddFile("big.ps", std::string(64 * 1024, 'b'));
    const std::string b = AddFile("gone.ps", "never sent");
    StdioJobFiles files(folder_);
    vtest::AllowDialogs allow;
    HWND progress = nullptr;
    int escAt = 0;
    bool escIgnored = false;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (dialog && caption == "Download Options")
            OnOptions(dialog, IDOK);
        else if (dialog && caption == "Download Progress") {
            OnProgress(dialog);
            progress = dialog;
            if (std::atoi(ItemText(dialog, IDC_PROG_BYTES_SENT).c_str()) > 0)
                DeleteFileA(b.c_str());
            if (!messages_.empty() && !escAt) {
                escAt = progressTicks_;
                PressEsc(dialog);
            } else if (escAt && progressTicks_ == escAt + 20) {
                escIgnored = true;
                Press(dialog, IDCANCEL);
            }
        }
    });
    DownloadSelectedFiles({a, b}, stack_, files, folder_);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "The file " + b + " could not be accessed");
    EXPECT_EQ(messages_[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(messages_[0].owner, progress);
    EXPECT_NE(escAt, 0);
    EXPECT_FALSE(escIgnored);
    const auto spool = service_.SpoolFiles();
    ASSERT_EQ(spool.size(), 1u) << "the file before it was sent";
    EXPECT_EQ(attest::ReadFile(service_.SpoolDir() + spool[0]).size(), 64u * 1024);
}

TEST_F(DownloadDialogs, TheServiceKilledMidDownloadLeavesADialogThatCancelCloses)
{
    ASSERT_TRUE(service_.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    const std::string a = AddFile("big.ps", std::string(400 * 1024, 'b'));  // 100 passes at least
    StdioJobFiles files(folder_);
    vtest::AllowDialogs allow;
    int killedAt = 0;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (dialog && caption == "Download Options")
            OnOptions(dialog, IDOK);
        else if (dialog && caption == "Download Progress") {
            OnProgress(dialog);
            if (!killedAt && std::atoi(ItemText(dialog, IDC_PROG_BYTES_SENT).c_str()) > 0) {
                service_.Kill();
                killedAt = progressTicks_;
            }
            if (killedAt && progressTicks_ == killedAt + 20)
                Press(dialog, IDCANCEL);
        }
    });
    const DWORD start = GetTickCount();
    DownloadSelectedFiles({a}, stack_, files, folder_);
    EXPECT_NE(killedAt, 0);
    EXPECT_GE(progressTicks_, killedAt + 20) << "the dialog stayed up until Cancel";
    EXPECT_LT(GetTickCount() - start, 30000u);
}

}  // namespace
