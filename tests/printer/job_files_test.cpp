#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "job_files.h"

namespace {

namespace fs = std::filesystem;

class JobFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("vestrel-jobfiles-" + std::to_string(rd()));
        fs::create_directories(dir_);
        base_ = dir_.string() + static_cast<char>(fs::path::preferred_separator);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Read(const std::string& name)
    {
        std::ifstream in(dir_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path dir_;
    std::string base_;
};

TEST_F(JobFilesTest, LogAppendsToAnExistingFileAndCreatesAMissingOne)
{
    StdioJobFiles files(base_);
    std::ofstream(dir_ / "log.txt", std::ios::binary) << "old\r\n";
    files.OpenLog("log.txt")->Write("new\r\n", 5);
    EXPECT_EQ(Read("log.txt"), "old\r\nnew\r\n");
    files.OpenLog(base_ + "fresh.txt")->Write("x", 1);
    EXPECT_EQ(Read("fresh.txt"), "x");
}

TEST_F(JobFilesTest, ResponseIsEmptiedOnCreation)
{
    StdioJobFiles files(base_);
    std::ofstream(dir_ / "Response.txt", std::ios::binary) << "stale";
    auto out = files.CreateResponse("Response.txt");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(Read("Response.txt"), "");
    out->Write("ab", 2);
    out->Write("c", 1);
    EXPECT_EQ(Read("Response.txt"), "abc");
}

TEST_F(JobFilesTest, WhatCannotBeOpenedIsNull)
{
    StdioJobFiles files(base_ + "missing" + static_cast<char>(fs::path::preferred_separator));
    EXPECT_EQ(files.OpenForReading("a.ps"), nullptr);
    EXPECT_EQ(files.CreateResponse("Response.txt"), nullptr);
    EXPECT_EQ(files.OpenLog("VestrelUtil.txt"), nullptr);
}

TEST_F(JobFilesTest, SizesBeyondTwoGibibytes)
{
    const auto big = dir_ / "big.ps";
    std::ofstream(big, std::ios::binary) << "%!";
    std::error_code ec;
    fs::resize_file(big, (uint64_t{3} << 30) + 5, ec);  // sparse where the file system allows
    if (ec)
        GTEST_SKIP() << "no room for a sparse 3 GiB file: " << ec.message();
    StdioJobFiles files(base_);
    auto in = files.OpenForReading("big.ps");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->Size(), static_cast<int64_t>((uint64_t{3} << 30) + 5));
    char head[2];
    EXPECT_EQ(in->Read(head, 2), 2) << "the size query leaves the position at the start";
    EXPECT_EQ(std::string(head, 2), "%!");
}

}  // namespace
