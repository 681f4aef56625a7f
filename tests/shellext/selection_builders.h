// Selection blocks as the shell builds them, for the tests: drop lists
// (ANSI, or wide for names in plain ASCII) and "Net Resource" blocks whose
// string fields are offsets into the block.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "selection_blocks.h"

namespace blocks {

using Bytes = std::vector<uint8_t>;

inline Bytes DropList(const std::vector<std::string>& names, bool wide)
{
    Bytes block(20, 0);
    block[0] = 20;
    block[16] = wide ? 1 : 0;
    for (const std::string& name : names) {
        for (char c : name) {
            block.push_back(static_cast<uint8_t>(c));
            if (wide)
                block.push_back(0);
        }
        block.insert(block.end(), wide ? 2 : 1, 0);
    }
    block.insert(block.end(), wide ? 2 : 1, 0);
    return block;
}

struct NetItem {
    std::string remote;
    std::string provider;
};

inline Bytes NetResourceBlock(const std::vector<NetItem>& items)
{
    Bytes block(kNetResourceFirstEntry + items.size() * kNetResourceEntrySize, 0);
    const auto count = static_cast<uint32_t>(items.size());
    std::memcpy(block.data(), &count, sizeof count);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::size_t entry = kNetResourceFirstEntry + i * kNetResourceEntrySize;
        auto put = [&](std::size_t field, const std::string& text) {
            const uintptr_t offset = block.size();
            block.insert(block.end(), text.begin(), text.end());
            block.push_back(0);
            std::memcpy(block.data() + entry + 16 + field * sizeof(void*), &offset, sizeof offset);
        };
        put(1, items[i].remote);
        put(3, items[i].provider);
    }
    return block;
}

}  // namespace blocks
