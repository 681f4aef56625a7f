// A client that writes 1 GiB to a printer without ever sending EOF: the job
// goes to its spool file as it arrives and the service stays small. A test
// executable of its own, for its time limit: a quarter of a million writes
// take minutes in the sanitizer build on a busy machine.
#include <gtest/gtest.h>

#include <unistd.h>

#include "atnetd_native.h"

namespace {

namespace fs = std::filesystem;
using attest::Client;
using attest::Service;

class TempDir {
public:
    explicit TempDir(const std::string& name) : path_(fs::temp_directory_path() / (name + "-" + std::to_string(getpid())))
    {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

TEST(BigJob, AGigabyteWithoutItsEOFGoesToDiskNotToMemory)
{
    TempDir dir("atnetd-big-job");
    std::ofstream(dir.Path() / "big.json") << R"({"workstation": {"network": 1, "node": 2},
        "printers": [{"name": "Big"}], "limits": {"jobBytes": 2147483648}})";
    // Untraced: the trace would cost more time than the job.
    Service s(dir.Path(), (dir.Path() / "big.json").string(), {}, 0, false);
    ASSERT_GT(s.Port(), 0);
    Client c(s.Port(), 60);
    c.Send({{"op", "pap.open"}, {"id", 1}, {"reqid", 1}, {"object", "Big"}, {"type", "LaserWriter"}, {"zone", "*"}});
    const auto open = c.AnswerTo(1);
    ASSERT_EQ(open.head["result"], 0);
    const int64_t conn = open.head["connRef"];
    // 1 GiB in 4096-byte writes, 64 at a time, every answer checked.
    const std::string chunk(4096, 'j');
    constexpr int kWrites = (1 << 30) / 4096, kBatch = 64;
    std::string batch;
    for (int i = 0; i < kBatch; ++i)
        batch += atwire::Encode({{{"op", "pap.write"}, {"id", 2 + i}, {"connRef", conn}, {"eof", false}}, chunk});
    int failed = 0;
    for (int at = 0; at < kWrites && failed == 0; at += kBatch) {
        ASSERT_TRUE(c.SendRaw(batch));
        for (int i = 0; i < kBatch; ++i)
            failed += c.AnswerTo(2 + i).head.value("result", -1) != 0;
    }
    EXPECT_EQ(failed, 0);
    EXPECT_LT(s.PeakResidentKiB(), 48 * 1024) << "the job was gathered in memory";
    ASSERT_EQ(fs::file_size(dir.Path() / "spool" / "000001-Big.part"), uint64_t{1} << 30);
    c.Send({{"op", "pap.close"}, {"id", 999999}, {"connRef", conn}});
    EXPECT_EQ(c.AnswerTo(999999).head["result"], 0);
    EXPECT_TRUE(fs::exists(dir.Path() / "spool" / "000001-Big.cut")) << "a job without its EOF is marked";
}

}  // namespace
