#include "selection_blocks.h"

#include <cstring>

namespace {

template <typename T>
bool ReadAt(const uint8_t* block, std::size_t size, std::size_t offset, T& out)
{
    if (offset > size || sizeof(T) > size - offset)
        return false;
    std::memcpy(&out, block + offset, sizeof(T));
    return true;
}

// The UTF-16 name at `offset`, up to a NUL or the block's end; `next` is
// where the name after it starts.
std::u16string WideNameAt(const uint8_t* block, std::size_t size, std::size_t offset, std::size_t& next)
{
    std::u16string name;
    char16_t c = 0;
    while (ReadAt(block, size, offset, c) && c != 0) {
        name.push_back(c);
        offset += 2;
    }
    next = offset + 2;
    return name;
}

std::string NameAt(const uint8_t* block, std::size_t size, std::size_t offset, std::size_t& next)
{
    std::string name;
    while (offset < size && block[offset] != 0)
        name.push_back(static_cast<char>(block[offset++]));
    next = offset + 1;
    return name;
}

std::string StringField(const uint8_t* block, std::size_t size, uintptr_t offset)
{
    std::size_t next = 0;
    return offset == 0 ? std::string() : NameAt(block, size, static_cast<std::size_t>(offset), next);
}

}  // namespace

std::optional<DroppedNames> ReadDropList(const uint8_t* block, std::size_t size)
{
    uint32_t filesOffset = 0, wideFlag = 0;
    if (!ReadAt(block, size, 0, filesOffset) || !ReadAt(block, size, 16, wideFlag) || filesOffset >= size)
        return std::nullopt;
    DroppedNames names;
    names.wide = wideFlag != 0;
    std::size_t at = filesOffset;
    for (bool first = true; at < size; first = false) {
        std::size_t next = 0;
        if (names.wide) {
            std::u16string name = WideNameAt(block, size, at, next);
            if (name.empty())
                break;
            if (first)
                names.firstWide = std::move(name);
        } else {
            std::string name = NameAt(block, size, at, next);
            if (name.empty())
                break;
            if (first)
                names.first = std::move(name);
        }
        ++names.count;
        at = next;
    }
    return names;
}

std::optional<NetResourceSelection> ReadNetResourceBlock(const uint8_t* block, std::size_t size)
{
    NetResourceSelection selection;
    if (!ReadAt(block, size, 0, selection.count) || selection.count == 0)
        return std::nullopt;
    if (size < kNetResourceFirstEntry ||
        (size - kNetResourceFirstEntry) / kNetResourceEntrySize < selection.count)
        return std::nullopt;
    const std::size_t last = kNetResourceFirstEntry + (selection.count - 1) * kNetResourceEntrySize;
    uintptr_t remote = 0, provider = 0;
    ReadAt(block, size, last + 16 + sizeof(void*), remote);
    ReadAt(block, size, last + 16 + 3 * sizeof(void*), provider);
    selection.last.remoteName = StringField(block, size, remote);
    selection.last.provider = StringField(block, size, provider);
    return selection;
}
