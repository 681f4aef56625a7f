#include "job_files.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class StdioInputFile : public JobInputFile {
public:
    explicit StdioInputFile(FilePtr f) : f_(std::move(f)) {}

    int64_t Size() override
    {
        const int64_t here = Tell();
        if (here < 0 || Seek(0, SEEK_END) != 0)
            return 0;
        const int64_t end = Tell();
        Seek(here, SEEK_SET);
        return end < 0 ? 0 : end;
    }

    int32_t Read(char* buffer, int32_t count) override
    {
        if (count <= 0)
            return 0;
        const std::size_t n = std::fread(buffer, 1, static_cast<std::size_t>(count), f_.get());
        if (n < static_cast<std::size_t>(count) && std::ferror(f_.get()))
            return -1;
        return static_cast<int32_t>(n);
    }

private:
    // 64-bit positions: a long is 32 bits on Windows.
    int64_t Tell()
    {
#if defined(_WIN32)
        return _ftelli64(f_.get());
#else
        return ftello(f_.get());
#endif
    }
    int Seek(int64_t offset, int origin)
    {
#if defined(_WIN32)
        return _fseeki64(f_.get(), offset, origin);
#else
        return fseeko(f_.get(), static_cast<off_t>(offset), origin);
#endif
    }

    FilePtr f_;
};

class StdioOutputFile : public JobOutputFile {
public:
    explicit StdioOutputFile(FilePtr f) : f_(std::move(f)) {}

    bool Write(const char* data, std::size_t size) override
    {
        if (size == 0)
            return true;
        // Flushed at once: a reply or a log line is kept even if the
        // program is stopped before the dialog ends.
        return std::fwrite(data, 1, size, f_.get()) == size && std::fflush(f_.get()) == 0;
    }

private:
    FilePtr f_;
};

bool IsAbsolute(const std::string& path)
{
    if (path.empty())
        return false;
    if (path[0] == '/' || path[0] == '\\')
        return true;
    return path.size() > 1 && path[1] == ':';
}

}  // namespace

std::string StdioJobFiles::Resolve(const std::string& path) const
{
    return IsAbsolute(path) ? path : base_ + path;
}

std::unique_ptr<JobInputFile> StdioJobFiles::OpenForReading(const std::string& path)
{
    FilePtr f(std::fopen(Resolve(path).c_str(), "rb"));
    if (!f)
        return nullptr;
    return std::make_unique<StdioInputFile>(std::move(f));
}

std::unique_ptr<JobOutputFile> StdioJobFiles::CreateResponse(const std::string& path)
{
    FilePtr f(std::fopen(Resolve(path).c_str(), "w+b"));
    if (!f)
        return nullptr;
    return std::make_unique<StdioOutputFile>(std::move(f));
}

std::unique_ptr<JobOutputFile> StdioJobFiles::OpenLog(const std::string& path)
{
    // Binary, with the CR LF written by the caller: the same bytes on every
    // system, and what a text-mode file holds on Windows.
    const std::string full = Resolve(path);
    FilePtr f(std::fopen(full.c_str(), "r+b"));
    if (f && std::fseek(f.get(), 0, SEEK_END) != 0)
        f.reset();
    if (!f)
        f.reset(std::fopen(full.c_str(), "w+b"));
    if (!f)
        return nullptr;
    return std::make_unique<StdioOutputFile>(std::move(f));
}
