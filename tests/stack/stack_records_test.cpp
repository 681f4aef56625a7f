// The stack records at run time: every field lands on its bytes and touches
// no others, on this build's pointer size.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <vector>

#include "molven32.h"
#include "nbp_names.h"
#include "netinfo_block.h"
#include "pap_block.h"

namespace {

using Bytes = std::vector<uint8_t>;

template <typename Record>
Bytes RawBytes(const Record& r)
{
    Bytes b(sizeof r);
    std::memcpy(b.data(), &r, sizeof r);
    return b;
}

// Applies `set` to a zero record and checks that exactly the bytes
// [offset, offset + expected.size()) changed, to `expected`.
template <typename Record>
void ExpectWrites(const char* what, std::function<void(Record&)> set, size_t offset, Bytes expected)
{
    Record r{};
    set(r);
    Bytes raw = RawBytes(r);
    for (size_t i = 0; i < raw.size(); ++i) {
        bool inside = i >= offset && i < offset + expected.size();
        uint8_t want = inside ? expected[i - offset] : 0;
        ASSERT_EQ(raw[i], want) << what << ": byte " << i << " (field at " << offset << ")";
    }
}

TEST(PAPParamBlockLayout, EachFieldWritesItsOwnBytesLittleEndian)
{
    using B = PAPParamBlock;
    ExpectWrites<B>("command", [](B& b) { b.header.command = 0x802; }, 0x0C, {0x02, 0x08, 0, 0});
    ExpectWrites<B>("result", [](B& b) { b.SetResult(-2); }, 0x10, {0xFE, 0xFF, 0xFF, 0xFF});
    ExpectWrites<B>("completion", [](B& b) { b.header.completion = 7; }, 0x24, {7, 0, 0, 0});
    ExpectWrites<B>("0x2C", [](B& b) { b.header.param44 = 9; }, 0x2C, {9, 0, 0, 0});
    ExpectWrites<B>("request id", [](B& b) { b.requestId = 0x01020304; }, 0x34, {4, 3, 2, 1});
    ExpectWrites<B>("length", [](B& b) { b.length = 4096; }, 0xAC, {0x00, 0x10, 0, 0});
    ExpectWrites<B>("eof", [](B& b) { b.SetEof(true); }, 0xB0, {1, 0});
    ExpectWrites<B>("connection", [](B& b) { b.connRef = 0x55; }, 0xB8, {0x55, 0, 0, 0});
    ExpectWrites<B>("flow quantum", [](B& b) { b.flowQuantum = kPAPFlowQuantum; }, 0xBD, {8});
    ExpectWrites<B>("status", [](B& b) { b.SetStatusString("ok"); }, 0xC4, {'o', 'k'});
    ExpectWrites<B>("printer network", [](B& b) { b.printer.network = 0x1234; }, 0x38 + 104,
                    {0x34, 0x12});
    ExpectWrites<B>("printer socket", [](B& b) { b.printer.socket = 0x80; }, 0x38 + 107, {0x80});
    ExpectWrites<B>("printer type", [](B& b) { NBPSetSlot(b.printer.type, "LW"); }, 0x38 + 34,
                    {'L', 'W'});
}

TEST(PAPParamBlockLayout, DataPointerRoundTripsAndKeepsItsOffsets)
{
    // Place blocks as a job block does: at offsets that are 4 but not 8
    // aligned, so a 64-bit pointer must not be read as an aligned word.
    alignas(8) static uint8_t storage[4 + 2 * sizeof(PAPParamBlock)] = {};
    auto* block = reinterpret_cast<PAPParamBlock*>(storage + 4);
    static char buffer[kPAPChunkSize];
    block->SetDataBuffer(buffer);
    EXPECT_EQ(block->DataBuffer(), buffer);

    const auto p = reinterpret_cast<uintptr_t>(buffer);
    uint32_t low = 0;
    std::memcpy(&low, storage + 4 + 0xA8, 4);
    EXPECT_EQ(low, static_cast<uint32_t>(p)) << "0xA8 holds the pointer (or its low half)";
    if (sizeof(void*) == 8) {
        uint64_t whole = 0;
        std::memcpy(&whole, storage + 4 + 0x2A8, 8);
        EXPECT_EQ(whole, static_cast<uint64_t>(p)) << "64-bit builds keep the pointer at 0x2A8";
    }
    block->SetDataBuffer(nullptr);
    EXPECT_EQ(block->DataBuffer(), nullptr);
}

TEST(PAPParamBlockLayout, BeginRequestClearsWhatEachCommandNeeds)
{
    for (PAPCommand cmd : {kPAPOpen, kPAPClose, kPAPWrite, kPAPRead, kPAPCancel, kPAPStatus}) {
        PAPParamBlock b{};
        b.header.completion = -1;
        b.header.param44 = -1;
        b.BeginRequest(cmd);
        EXPECT_EQ(b.Command(), cmd);
        EXPECT_EQ(b.Result(), kATResultPending);
        EXPECT_EQ(b.header.completion, 0);
        bool clears2C = cmd == kPAPClose || cmd == kPAPCancel || cmd == kPAPStatus;
        EXPECT_EQ(b.header.param44, clears2C ? 0 : -1) << "command " << std::hex << cmd;
    }
}

TEST(PAPParamBlockLayout, StatusStringStaysInsideItsField)
{
    PAPParamBlock b{};
    std::string longText(400, 'x');
    b.SetStatusString(longText.c_str());
    EXPECT_EQ(b.StatusString(), std::string(255, 'x'));
    EXPECT_EQ(b.reserved1C4[0], 0) << "the status string ran past its field";

    std::memset(b.status, 'y', sizeof b.status);  // no NUL at all, as a faulty stack might leave it
    EXPECT_EQ(b.StatusString().size(), kPAPStatusSize);
}

TEST(NetInfoBlockLayout, FieldsAtTheirOffsets)
{
    using B = ATNetInfoBlock;
    ExpectWrites<B>("network", [](B& b) { b.network = 0xFF01; }, 52, {0x01, 0xFF});
    ExpectWrites<B>("node", [](B& b) { b.node = 200; }, 54, {200});
    ExpectWrites<B>("range", [](B& b) { b.rangeFirst = 3; b.rangeLast = 3; }, 56, {3, 0, 3, 0});
    ExpectWrites<B>("zone", [](B& b) { std::memcpy(b.zone, "Z", 2); }, 60, {'Z'});
    ExpectWrites<B>("adapter", [](B& b) { b.adapter[0] = 0xAA; b.adapter[5] = 0xBB; }, 98,
                    {0xAA, 0, 0, 0, 0, 0xBB});
}

TEST(NBPNames, SlotsAreCutAtThirtyTwoAndAlwaysTerminated)
{
    _NBPTuple t{};
    std::memset(&t, 0x41, sizeof t);
    EXPECT_TRUE(NBPSetSlot(t.object, "LaserWriter Pro"));
    EXPECT_EQ(NBPSlotText(t.object), "LaserWriter Pro");
    EXPECT_EQ(t.object[33], 0) << "the rest of the slot is zeroed";
    EXPECT_EQ(t.type[0], 0x41) << "the next slot is untouched";

    std::string name33(33, 'n');
    EXPECT_FALSE(NBPSetSlot(t.zone, name33));
    EXPECT_EQ(NBPSlotText(t.zone), std::string(32, 'n'));
    EXPECT_TRUE(NBPSetSlot(t.zone, std::string(32, 'z')));
    EXPECT_EQ(NBPSlotText(t.zone), std::string(32, 'z'));

    std::memset(t.type, 'q', sizeof t.type);  // a slot without a NUL
    EXPECT_EQ(NBPSlotText(t.type), std::string(32, 'q'));
}

TEST(NBPNames, MakeTupleFillsNamesAndZeroesTheAddress)
{
    _NBPTuple t = NBPMakeTuple("Printer", "LaserWriter", "*");
    EXPECT_EQ(NBPSlotText(t.object), "Printer");
    EXPECT_EQ(NBPSlotText(t.type), "LaserWriter");
    EXPECT_EQ(NBPSlotText(t.zone), "*");
    EXPECT_EQ(t.network, 0);
    EXPECT_EQ(t.node, 0);
    EXPECT_EQ(t.socket, 0);
    // The entity of a lookup is the tuple's first 102 bytes.
    const auto* entity = reinterpret_cast<const NBPEntityName*>(&t);
    EXPECT_STREQ(entity->type, "LaserWriter");
}

}  // namespace
