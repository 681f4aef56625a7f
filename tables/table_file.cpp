#include "table_file.h"

#include <cstdio>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool ReadTableFile(const std::string& path, std::string& text)
{
    text.clear();
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, got);
    return std::ferror(file.get()) == 0;
}

TableInputFile::TableInputFile(const std::string& path)
    : m_file(std::fopen(path.c_str(), "rb")),
      m_lines([this](char* buffer, std::size_t size) -> long long {
          if (!m_file)
              return -1;
          const std::size_t got = std::fread(buffer, 1, size, m_file.get());
          if (got == 0 && std::ferror(m_file.get()))
              return -1;
          return static_cast<long long>(got);
      })
{
}

namespace {

// Puts the written copy in the table's place in one step; an existing table
// is replaced only here.
bool ReplaceWithCopy(const std::string& copy, const std::string& path)
{
#ifdef _WIN32
    return MoveFileExA(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(copy.c_str(), path.c_str()) == 0;
#endif
}

}  // namespace

bool WriteTableFile(const std::string& path, std::string_view text)
{
    // The text goes to a copy beside the table first, so a write that fails
    // midway (a full disk, a vanished folder) leaves the table as it was.
    const std::string copy = path + ".saving";
    std::FILE* file = std::fopen(copy.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;  // flushes: a full disk shows here
    if (written && closed && ReplaceWithCopy(copy, path))
        return true;
    std::remove(copy.c_str());
    return false;
}
