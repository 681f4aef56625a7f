#include "spool.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace simnet {

namespace fs = std::filesystem;

namespace {

constexpr intptr_t kNoFile = -1;

std::string SafeFileName(const std::string& s)
{
    std::string out;
    for (unsigned char c : s)
        out += (std::isalnum(c) || c == '-' || c == '_') ? static_cast<char>(c) : '_';
    return out.empty() ? std::string("printer") : out.substr(0, 40);
}

// The job number a spool file's name begins with ("000042-LW.job"); 0 when
// it begins otherwise.
uint64_t JobNumber(const std::string& name)
{
    uint64_t n = 0;
    std::size_t i = 0;
    for (; i < name.size() && i < 18 && std::isdigit(static_cast<unsigned char>(name[i])); ++i)
        n = n * 10 + static_cast<uint64_t>(name[i] - '0');
    return i > 0 && i < name.size() && name[i] == '-' ? n : 0;
}

// Makes a new file, failing when one of that name exists: a spool file is
// never truncated.
intptr_t CreateNew(const fs::path& path, bool& exists)
{
#if defined(_WIN32)
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    exists = h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS;
    return h == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<intptr_t>(h);
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    exists = fd < 0 && errno == EEXIST;
    return fd;
#endif
}

bool WriteAll(intptr_t handle, std::string_view bytes)
{
    while (!bytes.empty()) {
#if defined(_WIN32)
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(reinterpret_cast<HANDLE>(handle), bytes.data(), chunk, &wrote, nullptr) || wrote == 0)
            return false;
#else
        const ssize_t wrote = ::write(static_cast<int>(handle), bytes.data(), bytes.size());
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
#endif
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return true;
}

void CloseFile(intptr_t handle)
{
#if defined(_WIN32)
    CloseHandle(reinterpret_cast<HANDLE>(handle));
#else
    ::close(static_cast<int>(handle));
#endif
}

}  // namespace

SpoolFile::SpoolFile(const std::string& dir, std::string base, intptr_t handle)
    : dir_(dir), base_(std::move(base)), name_(base_ + ".part"), handle_(handle)
{
}

SpoolFile::~SpoolFile()
{
    Finish(false);
}

std::string SpoolFile::Path() const
{
    return (fs::path(dir_) / name_).string();
}

bool SpoolFile::Write(std::string_view bytes)
{
    return open_ && WriteAll(handle_, bytes);
}

void SpoolFile::Finish(bool eof)
{
    if (!open_)
        return;
    open_ = false;
    CloseFile(handle_);
    // The number is this job's alone, so the final name is free.
    const std::string final = base_ + (eof ? ".job" : ".cut");
    std::error_code ec;
    fs::rename(fs::path(dir_) / name_, fs::path(dir_) / final, ec);
    if (!ec)
        name_ = final;
}

Spool::Spool(std::string dir) : dir_(std::move(dir))
{
    if (dir_.empty())
        return;
    std::error_code ec;
    fs::create_directories(dir_, ec);
    for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec))
        last_ = std::max(last_, JobNumber(it->path().filename().string()));
}

std::unique_ptr<SpoolFile> Spool::Begin(const std::string& printerId)
{
    if (dir_.empty())
        return nullptr;
    // A name taken meanwhile (another service on the same folder) is
    // skipped, never reused.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char num[24];
        std::snprintf(num, sizeof num, "%06llu", static_cast<unsigned long long>(++last_));
        const std::string base = std::string(num) + "-" + SafeFileName(printerId);
        std::error_code ec;
        if (fs::exists(fs::path(dir_) / (base + ".job"), ec) || fs::exists(fs::path(dir_) / (base + ".cut"), ec))
            continue;
        bool exists = false;
        const intptr_t handle = CreateNew(fs::path(dir_) / (base + ".part"), exists);
        if (handle != kNoFile)
            return std::make_unique<SpoolFile>(dir_, base, handle);
        if (!exists)
            return nullptr;
    }
    return nullptr;
}

}  // namespace simnet
