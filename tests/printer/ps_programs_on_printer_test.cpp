// The six PostScript programs of the utility's resources, each run on a
// printer that interprets PostScript: the answers they send back, the pages
// they print and what stays in the printer after them.
#include "ps_printer_fixture.h"

#include <fstream>
#include <set>

namespace {

using namespace pstest;

const char* kWorld = R"({
  "workstation": { "name": "Me", "network": 1005, "node": 56, "zone": "Eng" },
  "zones": [ { "name": "Eng", "local": true } ],
  "timing": { "nbpLookupMs": 0, "zipMs": 0 },
  "printers": [
    { "id": "lw", "name": "Lab LW", "interpreter": { "product": "LaserWriter Plus", "version": "47.0", "revision": 3 } },
    { "id": "locked", "name": "Locked LW", "password": "1234",
      "interpreter": { "fonts": ["Courier", "Helvetica", "Helvetica-Bold", "Times-Roman"] } }
  ]
})";

std::string Program(const std::string& file)
{
    std::ifstream in(std::string(PS_PROGRAM_DIR) + "/" + file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    EXPECT_FALSE(s.str().empty()) << file;
    return s.str();
}

const std::string kExited = "%%[ exitserver: permanent state may be changed ]%%\r\n";
const std::string kFlushing = "%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n";

class ProgramsOnAPrinter : public PsEngine {
protected:
    void SetUp() override
    {
        PsEngine::SetUp();
        Start(kWorld);
    }
    // The pages of the last job interpreted, with their ink.
    std::vector<double> LastPages(std::size_t jobs)
    {
        auto ev = Events("job interpreted", jobs);
        std::vector<double> ink;
        if (ev.size() < jobs)
            return ink;
        for (const auto& f : ev[jobs - 1]["files"])
            ink.push_back(Ink(fs::path(Spool()) / f.get<std::string>()));
        return ink;
    }
};

TEST_F(ProgramsOnAPrinter, TheTestPagePrintsOnePage)
{
    auto r = Job("Lab LW", Program("testpage.ps"));
    EXPECT_TRUE(r.eof);
    EXPECT_EQ(r.reply, "");
    const auto pages = LastPages(1);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_GT(pages[0], 0.01) << "the two large words, the title line and the letterhead";
    const auto ev = Events("job interpreted");
    EXPECT_TRUE(ev[0]["errors"].empty());
    // The page is the one pictured in the documentation (drawn by such a
    // printer from this program): the same words in the same places.
    const fs::path page = fs::path(Spool()) / ev[0]["files"][0].get<std::string>();
    EXPECT_LT(DifferentPixels(page, TEST_PAGE_IMAGE), 100) << page;
    EXPECT_GE(DifferentPixels(page, TEST_PAGE_IMAGE), 0);
}

TEST_F(ProgramsOnAPrinter, TheErrorHandlerInstallsOnceAndPrintsErrorPages)
{
    const std::string handler = Program("errorhandler.ps");
    // A printer with another password refuses it, and keeps nothing.
    EXPECT_EQ(Job("Locked LW", handler).reply, "%%[ Bad Password on loading error handler!!! ]%%\n");
    EXPECT_TRUE(LastPages(1).empty());

    EXPECT_EQ(Job("Lab LW", handler).reply, kExited);
    ASSERT_EQ(LastPages(2).size(), 1u) << "Error handler loaded.";
    EXPECT_EQ(Job("Lab LW", handler).reply, "%%[ Error Handler in place - not loaded again ]%%\n");
    ASSERT_EQ(LastPages(3).size(), 1u) << "Error Handler in place - not reloaded.";

    // A faulty job: the handler's line on the back channel and its page.
    const std::string faulty = "/Times-Roman findfont 12 scalefont setfont (text) 72 moveto show\n";
    const std::string reported = "%%[ Error: typecheck; OffendingCommand: moveto ]%%\n" + kFlushing;
    EXPECT_EQ(Job("Lab LW", faulty).reply, reported);
    auto pages = LastPages(4);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_GT(pages[0], 0.0005) << "ERROR:, OFFENDING COMMAND: and the stack";
    // The printer keeps it across a restart of the service; the other
    // printer never had it.
    Start(kWorld);
    EXPECT_EQ(Job("Lab LW", faulty).reply, reported);
    EXPECT_EQ(LastPages(1).size(), 1u);
    EXPECT_EQ(Job("Locked LW", faulty).reply, "%%[ Error: typecheck; OffendingCommand: moveto ]%%\r\n" + kFlushing);
}

TEST_F(ProgramsOnAPrinter, TheFontListAnswersThePrintersFonts)
{
    const std::string query = Program("fontlistquery.ps");
    for (const auto& [printer, fonts] :
         std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"Lab LW", atw::StandardFonts()}, {"Locked LW", {"Courier", "Helvetica", "Helvetica-Bold", "Times-Roman"}}}) {
        SCOPED_TRACE(printer);
        auto r = Job(printer, query);
        ASSERT_TRUE(r.eof);
        ASSERT_GE(r.reply.size(), 2u);
        EXPECT_EQ(r.reply.substr(r.reply.size() - 2), "*\n");
        std::set<std::string> listed;
        std::istringstream lines(r.reply.substr(0, r.reply.size() - 2));
        for (std::string line; std::getline(lines, line);)
            listed.insert(line);
        EXPECT_EQ(listed, std::set<std::string>(fonts.begin(), fonts.end()));
    }
}

TEST_F(ProgramsOnAPrinter, TheInformationAndRestartProgramsAnswer)
{
    auto r = Job("Lab LW", Program("psinfoquery.ps"));
    std::istringstream lines(r.reply);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);)
        got.push_back(line);
    ASSERT_EQ(got.size(), 6u) << r.reply;
    EXPECT_EQ(got[0], "PostScript (tm) version: 47.0");
    EXPECT_EQ(got[1], "Product: LaserWriter Plus");
    EXPECT_EQ(got[2], "     Product Revision: 3");
    long capacity = 0, used = 0, available = 0;
    EXPECT_EQ(std::sscanf(got[3].c_str(), "VM Capacity  : %ld (Bytes)", &capacity), 1) << got[3];
    EXPECT_EQ(std::sscanf(got[4].c_str(), "VM Used      : %ld (Bytes)", &used), 1) << got[4];
    EXPECT_EQ(std::sscanf(got[5].c_str(), "VM Available : %ld (Bytes)", &available), 1) << got[5];
    EXPECT_GT(used, 0);
    EXPECT_EQ(available, capacity - used);

    // The restart: refused with the wrong password, else the printer
    // forgets what it kept (here the error handler).
    const std::string restart = Program("psrestart.ps");
    EXPECT_EQ(Job("Locked LW", restart).reply,
              "The password of this printer is not correct.\nQuitting without restarting the printer.\n");
    Job("Lab LW", Program("errorhandler.ps"));
    EXPECT_EQ(Job("Lab LW", restart).reply, kExited + "Please wait while printer is restarted...\n");
    EXPECT_EQ(Events("printer restarted").size(), 1u);
    EXPECT_EQ(Job("Lab LW", "(abc) 3 moveto\n").reply, "%%[ Error: typecheck; OffendingCommand: moveto ]%%\r\n" + kFlushing);
}

TEST_F(ProgramsOnAPrinter, TheControlCharacterFilterStaysInstalled)
{
    const std::string stray = "(a) = \x04 \x03 \x11 \x13 \x14 \x1a (b) =\n";
    EXPECT_NE(Job("Lab LW", stray).reply.find("%%[ Error: undefined; OffendingCommand: "), std::string::npos);
    EXPECT_EQ(Job("Lab LW", Program("ctrlcharfilter.ps")).reply, kExited);
    EXPECT_EQ(Job("Lab LW", stray).reply, "a\nb\n");
    Start(kWorld);
    EXPECT_EQ(Job("Lab LW", stray).reply, "a\nb\n");
}

}  // namespace
