#include "spool.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace simnet {

namespace {

std::string SafeFileName(const std::string& s)
{
    std::string out;
    for (unsigned char c : s)
        out += (std::isalnum(c) || c == '-' || c == '_') ? static_cast<char>(c) : '_';
    return out.empty() ? std::string("printer") : out.substr(0, 40);
}

}  // namespace

SpoolFile::SpoolFile(std::string name, std::string path)
    : name_(std::move(name)), path_(std::move(path)), file_(path_, std::ios::binary | std::ios::trunc)
{
}

void SpoolFile::Write(std::string_view bytes)
{
    file_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void SpoolFile::Finish(bool)
{
    file_.close();
}

Spool::Spool(std::string dir) : dir_(std::move(dir))
{
    if (!dir_.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(dir_, ec);
    }
}

std::unique_ptr<SpoolFile> Spool::Begin(const std::string& printerId)
{
    ++seq_;
    if (dir_.empty())
        return nullptr;
    char num[16];
    std::snprintf(num, sizeof num, "%06d", seq_);
    const std::string name = std::string(num) + "-" + SafeFileName(printerId) + ".job";
    return std::make_unique<SpoolFile>(name, (std::filesystem::path(dir_) / name).string());
}

}  // namespace simnet
