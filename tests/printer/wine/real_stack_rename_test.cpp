// The rename job, without its dialog, on the real replaced stack against a
// printer that interprets PostScript: whatever the typed name holds, the
// printer takes exactly those bytes as its name and runs nothing else.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "download_engine.h"
#include "molven32.h"
#include "nbp_names.h"
#include "real_job_host.h"
#include "rename_job.h"
#include "win32_pap_stack.h"

namespace {

const char* kWorld = R"({
  "workstation": { "name": "Me", "network": 1005, "node": 56, "zone": "Eng" },
  "zones": [ { "name": "Eng", "local": true } ],
  "timing": { "nbpLookupMs": 0, "zipMs": 0 },
  "printers": [ { "id": "lab", "name": "Lab LW", "interpreter": true }, { "id": "other", "name": "Other LW" } ]
})";

class RealStackRename : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = service_.Dir() + "job\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        ASSERT_TRUE(service_.Start(kWorld));
    }

    // The LaserWriters of the zone as a lookup answers them, sorted.
    std::vector<_NBPTuple> LookUp()
    {
        NBPEntityName pattern{};
        NBPSetEntityName(&pattern, "=", "LaserWriter", "Eng");
        ATEnumHandle h = 0;
        std::vector<_NBPTuple> found;
        if (NBPOpenEnum(&h, 2, 2, 100, &pattern) != 0)
            return found;
        for (int i = 0; i < 500 && NBPEnumStatus(h) == kATResultPending; ++i)
            Sleep(10);
        for (uint16_t i = 0; NBPEnumStatus(h) == 0 && i < NBPFoundCount(h); ++i) {
            _NBPTuple t{};
            if (NBPReadEnum(h, i, &t) == 0)
                found.push_back(t);
        }
        NBPCloseEnum(h);
        std::sort(found.begin(), found.end(),
                  [](const _NBPTuple& a, const _NBPTuple& b) { return std::strcmp(a.object, b.object) < 0; });
        return found;
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (const auto& t : LookUp())
            names.push_back(NBPSlotText(t.object));
        return names;
    }

    // Renames the interpreting printer (named `current`) to `name`.
    void Rename(const std::string& current, const std::string& name)
    {
        _NBPTuple target{};
        for (const auto& t : LookUp())
            if (NBPSlotText(t.object) == current)
                target = t;
        ASSERT_EQ(NBPSlotText(target.object), current);
        RealHost host;
        StdioJobFiles files(folder_);
        PAPRenameJob job(stack_, host, files, folder_);
        job.Run(target, name);
        EXPECT_EQ(host.endCodes, std::vector<int>{kJobDialogOK}) << name;
        EXPECT_TRUE(host.errors.empty()) << name;
    }

    // What the printer prints for `program`, sent as a download.
    std::string Ask(const std::string& printer, const std::string& program)
    {
        attest::WriteFile(folder_ + "probe.ps", program);
        RealHost host;
        StdioJobFiles files(folder_);
        ZJobTicket ticket(stack_);
        NBPSetSlot(ticket.m_printer.object, printer);
        NBPSetSlot(ticket.m_printer.type, "LaserWriter");
        NBPSetSlot(ticket.m_printer.zone, "Eng");
        ticket.AddFile(folder_ + "probe.ps");
        DeleteFileA((folder_ + "Response.txt").c_str());
        PAPDownloadEngine engine(&ticket, stack_, host, files, folder_);
        engine.RunJob();
        return attest::ReadFile(folder_ + "Response.txt");
    }

    attest::AtnetdProcess service_;
    Win32PapStack stack_;
    std::string folder_;
};

TEST_F(RealStackRename, EveryNameReachesThePrinterByteForByteAndRunsNothing)
{
    const std::vector<std::string> names = {
        "a) pop (b", "x\\", "((", "x) pop userdict /h true put (y", "Caf\xE9 \\n 100%", std::string(30, 'L') + ")",
    };
    for (const std::string& name : names)
        ASSERT_LE(name.size(), 31u) << name;  // what the name field lets through
    ASSERT_EQ(names.back().size(), 31u);
    std::string current = "Lab LW";
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        Rename(current, name);
        std::vector<std::string> expected = {name, "Other LW"};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Names(), expected);
        current = name;
    }
    EXPECT_EQ(Ask(current, "userdict /h known == statusdict begin 40 string printername end print\n"),
              "false\n" + current);
    const std::string firstLine = "Renamed Printer Lab LW to a) pop (b \r\n";
    EXPECT_EQ(attest::ReadFile(folder_ + "VestrelUtil.txt").substr(0, firstLine.size()), firstLine);
}

}  // namespace
