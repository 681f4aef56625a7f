// The files a download touches: the file being sent, the printer's replies
// ("Response.txt") and the download log. Behind an interface so that tests
// can make any of them fail; StdioJobFiles is the real one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class JobInputFile {
public:
    virtual ~JobInputFile() = default;
    // Length in bytes.
    virtual int64_t Size() = 0;
    // Reads up to `count` bytes; the number read, or -1 on a read error.
    virtual int32_t Read(char* buffer, int32_t count) = 0;
};

class JobOutputFile {
public:
    virtual ~JobOutputFile() = default;
    // Appends the bytes; false when they could not all be written.
    virtual bool Write(const char* data, std::size_t size) = 0;
};

class JobFiles {
public:
    virtual ~JobFiles() = default;
    // The file to send, for binary reading; null when it cannot be opened.
    virtual std::unique_ptr<JobInputFile> OpenForReading(const std::string& path) = 0;
    // A reply file, created empty (emptied when it exists); null on failure.
    virtual std::unique_ptr<JobOutputFile> CreateResponse(const std::string& path) = 0;
    // A log: the existing file, positioned at its end, else a new one; null
    // when neither works.
    virtual std::unique_ptr<JobOutputFile> OpenLog(const std::string& path) = 0;
};

// Files through the C library. A relative path is taken relative to
// `baseFolder` (which ends in a separator); an empty base folder means the
// current directory, as the product uses it.
class StdioJobFiles : public JobFiles {
public:
    explicit StdioJobFiles(std::string baseFolder = {}) : base_(std::move(baseFolder)) {}

    std::unique_ptr<JobInputFile> OpenForReading(const std::string& path) override;
    std::unique_ptr<JobOutputFile> CreateResponse(const std::string& path) override;
    std::unique_ptr<JobOutputFile> OpenLog(const std::string& path) override;

    // `path` as this object opens it.
    std::string Resolve(const std::string& path) const;

private:
    std::string base_;
};
