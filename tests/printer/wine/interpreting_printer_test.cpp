// A printer that interprets PostScript, reached from Windows programs under
// Wine: the real VestrelUtil.exe, driven from outside through its Download
// command and its dialogs, prints the test page and gets a faulty job's
// error lines in Response.txt; the rename job, sent through the real
// stack, renames the printer in the network.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "download_engine.h"
#include "molven32.h"
#include "nbp_names.h"
#include "real_job_host.h"
#include "win32_pap_stack.h"

namespace {

constexpr int kDownloadCommand = 42006;
constexpr int kOpenFileNameBox = 1148;  // cmb13 of the Open File dialog
constexpr int kOpenFileNameEdit = 1152;  // edt1, where there is no cmb13

const char* kWorld = R"({"workstation": {"network": 7, "node": 9},
    "printers": [{"id": "lw", "name": "Lab LW", "interpreter": true}],
    "defaultPrinter": "lw"})";

std::string Text(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct Search {
    DWORD pid = 0;
    const char* cls = nullptr;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    Search& s = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char cls[64] = "";
    if (owner == s.pid && GetClassNameA(window, cls, sizeof cls) && std::strcmp(cls, s.cls) == 0 &&
        IsWindowVisible(window))
        s.found.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsOf(DWORD pid, const char* cls)
{
    Search s{pid, cls, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The real VestrelUtil.exe, started in `folder` (where it writes
// Response.txt) and talking to the test's atnetd (VESTREL_ATNETD, set by
// AtnetdProcess, is inherited).
class Program {
public:
    explicit Program(const std::string& folder)
    {
        std::string cmd = "\"" + attest::ExeFolder() + "VestrelUtil.exe\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi_))
            ADD_FAILURE() << "cannot start " << cmd;
        for (int i = 0; i < 300 && !main_; ++i) {
            auto mains = WindowsOf(pi_.dwProcessId, "VestrelUtilMainWnd");
            if (!mains.empty())
                main_ = mains[0];
            else
                Sleep(50);
        }
    }
    ~Program()
    {
        if (main_)
            PostMessageA(main_, WM_CLOSE, 0, 0);
        if (pi_.hProcess && WaitForSingleObject(pi_.hProcess, 15000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "VestrelUtil did not end";
            TerminateProcess(pi_.hProcess, 1);
        }
        if (pi_.hProcess)
            CloseHandle(pi_.hProcess);
        if (pi_.hThread)
            CloseHandle(pi_.hThread);
    }
    HWND Main() const { return main_; }

    // File > Download... of `path`, through the Open File dialog, the
    // options dialog (OK: the default printer) and the progress dialog,
    // until that one closes. False, and what was seen, when it did not go so.
    bool Download(const std::string& path, std::string& seen)
    {
        PostMessageA(main_, WM_COMMAND, MAKEWPARAM(kDownloadCommand, 0), 0);
        bool typed = false, options = false, progress = false;
        for (int i = 0; i < 1200; ++i) {  // 60 s
            Sleep(50);
            const auto dialogs = WindowsOf(pi_.dwProcessId, "#32770");
            if (dialogs.empty() && progress)
                return true;
            for (HWND d : dialogs) {
                const std::string caption = Text(d);
                if (caption == "Download Progress") {
                    progress = true;
                } else if (caption == "Download Options" && !options) {
                    options = true;
                    PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                } else if (!typed && (GetDlgItem(d, kOpenFileNameBox) || GetDlgItem(d, kOpenFileNameEdit))) {
                    typed = true;
                    HWND box = GetDlgItem(d, kOpenFileNameBox) ? GetDlgItem(d, kOpenFileNameBox)
                                                                : GetDlgItem(d, kOpenFileNameEdit);
                    SetWindowTextA(box, path.c_str());
                    PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                } else if (caption != "Download Options" && !GetDlgItem(d, kOpenFileNameBox) &&
                           !GetDlgItem(d, kOpenFileNameEdit)) {
                    seen += "unexpected dialog \"" + caption + "\"; ";
                    PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                }
            }
        }
        seen += std::string("typed ") + (typed ? "yes" : "no") + ", options " + (options ? "yes" : "no") +
                ", progress " + (progress ? "yes" : "no");
        return false;
    }

private:
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

class InterpretingPrinter : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = service_.Dir() + "run\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        ASSERT_TRUE(service_.Start(kWorld));
    }
    // The spool's files of one kind ("-page" for pages), sorted.
    std::vector<std::string> Spooled(const std::string& part)
    {
        std::vector<std::string> out;
        for (const auto& f : service_.SpoolFiles())
            if (f.find(part) != std::string::npos)
                out.push_back(f);
        std::sort(out.begin(), out.end());
        return out;
    }
    // The trace's "job interpreted" events once there are `count`.
    std::vector<nlohmann::json> Interpreted(std::size_t count)
    {
        std::vector<nlohmann::json> out;
        for (int i = 0; i < 500 && out.size() < count; ++i) {
            out.clear();
            for (auto& l : service_.Trace())
                if (l.value("event", "") == "job interpreted")
                    out.push_back(l);
            if (out.size() < count)
                Sleep(20);
        }
        return out;
    }

    attest::AtnetdProcess service_;
    std::string folder_;
};

TEST_F(InterpretingPrinter, VestrelUtilPrintsTheTestPageAndCapturesAJobsErrors)
{
    attest::WriteFile(folder_ + "testpage.ps", attest::ReadFile(attest::WinePath(PS_PROGRAM_DIR "/testpage.ps")));
    attest::WriteFile(folder_ + "faulty.ps", "%!PS\r\n/Times-Roman findfont 12 scalefont setfont (x) 72 moveto show\r\n");
    Program program(folder_);
    ASSERT_NE(program.Main(), nullptr);

    std::string seen;
    ASSERT_TRUE(program.Download(folder_ + "testpage.ps", seen)) << seen;
    auto ev = Interpreted(1);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_TRUE(ev[0]["errors"].empty());
    const auto pages = Spooled("-page");
    ASSERT_EQ(pages.size(), 1u);
    // The page the printer drew is the test page: the picture of it in the
    // documentation was drawn by the same printer from the same program.
    const std::string picture = attest::ReadFile(attest::WinePath(TEST_PAGE_IMAGE));
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ(attest::ReadFile(service_.SpoolDir() + pages[0]), picture);
    EXPECT_EQ(attest::ReadFile(folder_ + "Response.txt"), "") << "the test page answers nothing";

    ASSERT_TRUE(program.Download(folder_ + "faulty.ps", seen)) << seen;
    EXPECT_EQ(attest::ReadFile(folder_ + "Response.txt"),
              "%%[ Error: typecheck; OffendingCommand: moveto ]%%\r\n"
              "%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n");
}

TEST_F(InterpretingPrinter, TheRenameJobRenamesThePrinterInTheNetwork)
{
    // The rename job as the utility formats it, sent by the download engine
    // through Kestra32.
    const std::string job = "%!PS-Adobe-2.0 ExitServer \n%%For:Quarnet for Windows\n%%Title:Printer Rename \n"
                            "%%Creator:Vestrel \n%%CreationDate:6/15/92 \n%%BeginExitServer 0 \n"
                            "serverdict begin 0 exitserver statusdict \nbegin (Front Desk LW) setprintername\n"
                            "%%EndExitServer\n%%EOF\n";
    attest::WriteFile(folder_ + "rename.ps", job);
    Win32PapStack stack;
    RealHost host;
    ZJobTicket ticket(stack);
    ticket.AddFile(folder_ + "rename.ps");
    StdioJobFiles files(folder_);
    {
        PAPDownloadEngine engine(&ticket, stack, host, files, folder_);
        engine.RunJob();
    }
    EXPECT_EQ(attest::ReadFile(folder_ + "Response.txt"), "%%[ exitserver: permanent state may be changed ]%%\r\n");

    auto lookup = [] {
        NBPEntityName entity{};
        NBPSetEntityName(&entity, "=", "LaserWriter", "*");
        ATEnumHandle h = 0;
        std::vector<std::string> names;
        if (NBPOpenEnum(&h, 2, 2, 1024, &entity) != 0)
            return names;
        while (NBPEnumStatus(h) == 1)
            Sleep(10);
        for (int32_t i = 0; i < NBPFoundCount(h); ++i) {
            _NBPTuple t{};
            if (NBPReadEnum(h, i, &t) == 0)
                names.push_back(NBPSlotText(t.object));
        }
        NBPCloseEnum(h);
        return names;
    };
    EXPECT_EQ(lookup(), std::vector<std::string>{"Front Desk LW"});
    ASSERT_TRUE(service_.Restart());
    EXPECT_EQ(lookup(), std::vector<std::string>{"Front Desk LW"}) << "kept across a restart of the service";
}

}  // namespace
