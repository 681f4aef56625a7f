// The memory blocks in which the shell hands over a selection, read without
// trusting them: every offset and count is checked against the block's size.
//
// A drop list (CF_HDROP, also used for "PrinterFriendlyName") is a DROPFILES
// header (files offset at 0, wide flag at 16; 20 bytes) followed by names,
// each NUL-terminated, the list ending with an empty name. The names are
// ANSI or, with the wide flag set, UTF-16.
//
// A "Net Resource" block is an item count (32 bits) followed by NETRESOURCE
// entries (four 32-bit fields, then local name, remote name, comment and
// provider), aligned for pointers; the four string fields hold offsets from
// the start of the block instead of pointers (0: no string).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct DroppedNames {
    bool wide = false;
    std::string first;          // ANSI list: the first name
    std::u16string firstWide;   // wide list: the first name
    unsigned count = 0;         // names in the list
};
// Nothing when the block is too small for its header or the first name
// does not start inside it. A name that runs to the block's end without a
// NUL ends there.
std::optional<DroppedNames> ReadDropList(const uint8_t* block, std::size_t size);

struct NetResourceItem {
    std::string remoteName;
    std::string provider;
};
// The item count and the last item; nothing when the count is 0 or the
// last item does not lie inside the block.
struct NetResourceSelection {
    uint32_t count = 0;
    NetResourceItem last;
};
std::optional<NetResourceSelection> ReadNetResourceBlock(const uint8_t* block, std::size_t size);

// Layout of a block entry for this build's pointer size.
constexpr std::size_t kNetResourceFirstEntry = sizeof(void*);  // the count, padded for pointers
constexpr std::size_t kNetResourceEntrySize = 16 + 4 * sizeof(void*);
