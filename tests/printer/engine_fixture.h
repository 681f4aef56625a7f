// A download engine on the simulated LaserWriter, with its files in a fresh
// temporary folder: "Response.txt" lands there, the log in its "product"
// subfolder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "download_engine.h"
#include "fake_job_host.h"
#include "fake_laserwriter.h"
#include "job_files.h"
#include "nbp_names.h"

namespace printertest {

namespace fs = std::filesystem;

inline std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Bytes that show where they came from: byte i is a letter from i.
inline std::string Pattern(std::size_t size, char seed = 'A')
{
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>(seed + static_cast<char>(i % 23));
    return s;
}

class EngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("vestrel-printer-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        fs::create_directories(dir_ / "product");
        files_ = std::make_unique<StdioJobFiles>(Folder(dir_));
        printer_.defaultPrinter = NBPMakeTuple("LaserWriter Pro 630", "LaserWriter", "Engineering");
    }
    void TearDown() override
    {
        engine_.reset();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // A new printer and a new dialog, for a further job in the same test.
    void Restart()
    {
        engine_.reset();
        printer_ = FakeLaserWriter();
        printer_.defaultPrinter = NBPMakeTuple("LaserWriter Pro 630", "LaserWriter", "Engineering");
        host_.Clear();
        runaway_ = false;
    }

    static std::string Folder(const fs::path& p)
    {
        std::string s = p.string();
        s.push_back(static_cast<char>(fs::path::preferred_separator));
        return s;
    }

    // A file of the job, in the temporary folder; its full path.
    std::string AddFile(const std::string& name, const std::string& bytes)
    {
        WriteBytes(dir_ / name, bytes);
        return (dir_ / name).string();
    }

    // The engine for a ticket of `paths` (the ticket reads the default
    // printer as the Download command's does).
    PAPDownloadEngine& Engine(const std::vector<std::string>& paths, bool waitForEOF = true)
    {
        ticket_ = std::make_unique<ZJobTicket>(printer_);
        for (const auto& p : paths)
            ticket_->AddFile(p);
        ticket_->m_bWaitForEOF = waitForEOF;
        engine_ = std::make_unique<PAPDownloadEngine>(ticket_.get(), printer_, host_, *files_,
                                                      Folder(dir_ / "product"));
        return *engine_;
    }

    // Runs the job as WM_RUNJOB does. `onPump` plays the user; a job that
    // runs past an hour of virtual time is cancelled and reported.
    void Run(std::function<void()> onPump = nullptr)
    {
        host_.onPump = [this, onPump] {
            if (onPump)
                onPump();
            if (printer_.NowMs() > 3'600'000 && !runaway_) {
                runaway_ = true;
                engine_->OnCancel();
            }
        };
        engine_->RunJob();
        EXPECT_FALSE(runaway_) << "the job did not end by itself";
    }

    struct Chunk {
        int32_t length;
        bool eof;
        bool operator==(const Chunk&) const = default;
    };
    std::vector<Chunk> Writes() const
    {
        std::vector<Chunk> out;
        for (const auto& r : printer_.RequestsOf(kPAPWrite))
            out.push_back({r.length, r.eof});
        return out;
    }

    std::string LogText() const { return ReadBytes(dir_ / "product" / "VestrelUtil.txt"); }
    fs::path ResponsePath() const { return dir_ / "Response.txt"; }

    // Every block given back, exactly once.
    void ExpectBlockFreed() const
    {
        EXPECT_EQ(printer_.allocations, 1);
        EXPECT_EQ(printer_.frees, 1);
        EXPECT_EQ(printer_.LiveBlocks(), 0);
        EXPECT_EQ(engine_->Block(), nullptr);
    }

    fs::path dir_;
    FakeLaserWriter printer_;
    FakeJobHost host_{printer_};
    std::unique_ptr<StdioJobFiles> files_;
    std::unique_ptr<ZJobTicket> ticket_;
    std::unique_ptr<PAPDownloadEngine> engine_;
    bool runaway_ = false;
};

}  // namespace printertest
