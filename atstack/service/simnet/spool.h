// The spool folder: one file per job with the exact bytes a printer was
// sent, written as they arrive. Jobs are numbered above every job already
// in the folder, so a restarted service never reuses a name, and no file is
// ever overwritten. While its bytes arrive a job is NNNNNN-<printer>.part;
// it becomes .job when it ended with the sender's EOF and .cut when it did
// not (the connection closed or timed out, the job was too large, the disk
// refused its bytes).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace simnet {

// One job's file, open while the job lasts.
class SpoolFile {
public:
    SpoolFile(const std::string& dir, std::string base, intptr_t handle);
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;
    // A job never finished is kept as cut off.
    ~SpoolFile();
    // False when the disk refused the bytes.
    bool Write(std::string_view bytes);
    // Closes the file under its final name.
    void Finish(bool eof);
    // The file's name in the spool folder, and its full path.
    const std::string& Name() const { return name_; }
    std::string Path() const;

private:
    std::string dir_, base_, name_;
    intptr_t handle_;
    bool open_ = true;
};

class Spool {
public:
    // An empty folder keeps no jobs.
    explicit Spool(std::string dir);
    bool Keeps() const { return !dir_.empty(); }
    // A new job's file; null when jobs are not kept or the file cannot be
    // made.
    std::unique_ptr<SpoolFile> Begin(const std::string& printerId);
    const std::string& Dir() const { return dir_; }

private:
    std::string dir_;
    uint64_t last_ = 0;  // the highest job number in the folder
};

}  // namespace simnet
