// The spool folder: one file per job with the exact bytes a printer was
// sent, written as they arrive.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace simnet {

// One job's file, open while the job lasts.
class SpoolFile {
public:
    SpoolFile(std::string name, std::string path);
    void Write(std::string_view bytes);
    void Finish(bool eof);
    const std::string& Name() const { return name_; }
    const std::string& Path() const { return path_; }

private:
    std::string name_, path_;
    std::ofstream file_;
};

class Spool {
public:
    // An empty folder keeps no jobs.
    explicit Spool(std::string dir);
    // A new job's file; null when jobs are not kept.
    std::unique_ptr<SpoolFile> Begin(const std::string& printerId);

private:
    std::string dir_;
    int seq_ = 0;
};

}  // namespace simnet
