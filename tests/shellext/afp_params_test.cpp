// The parameter buffers as the records read them: byte positions, no-date
// values, and names read only inside the buffer.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "afp_params.h"

namespace {

using Buffer = std::array<uint8_t, kAFPParamBufferSize>;

template <typename T>
void Put(Buffer& b, std::size_t at, T value)
{
    std::memcpy(b.data() + at, &value, sizeof value);
}

void PutText(Buffer& b, std::size_t at, const char* text)
{
    std::memcpy(b.data() + at, text, std::strlen(text) + 1);
}

TEST(FlDrParams, FileFieldsComeFromTheirBytes)
{
    Buffer b{};
    Put<int32_t>(b, 426, 77);
    Put<uint16_t>(b, 475, kAFPAttrCopyProtect | kAFPAttrDeleteInhibit);
    Put<int32_t>(b, 485, 820000000);
    Put<int32_t>(b, 489, kAFPNoDateValue);
    std::memcpy(b.data() + 493, "TEXTttxt", 8);
    Put<uint16_t>(b, 525, 66);  // names from 541
    Put<uint16_t>(b, 527, 99);
    PutText(b, 541, "Read Me");
    PutText(b, 574, "README");
    Put<uint32_t>(b, 533, 1000);
    Put<uint32_t>(b, 537, 123456789);

    const FlDrParams p = ReadFlDrParams(b.data(), b.size());
    EXPECT_EQ(p.mapRef, 77);
    EXPECT_EQ(p.attributes, kAFPAttrCopyProtect | kAFPAttrDeleteInhibit);
    EXPECT_EQ(p.modified, 820000000);
    EXPECT_FALSE(p.backup.has_value());
    EXPECT_EQ(p.finderInfo, "TEXTttxt");
    EXPECT_EQ(p.longName, "Read Me");
    EXPECT_EQ(p.shortName, "README");
    EXPECT_EQ(p.dataFork, 1000u);
    EXPECT_EQ(p.resourceFork, 123456789u);
}

TEST(FlDrParams, FolderOwnerGroupAndRightsInBufferOrder)
{
    Buffer b{};
    Put<uint32_t>(b, 535, 17);
    Put<uint32_t>(b, 539, 201);
    const uint8_t rights[4] = {0x07, 0x03, 0x01, 0x07};  // current user, everyone, group, owner
    std::memcpy(b.data() + 543, rights, 4);
    const FlDrParams p = ReadFlDrParams(b.data(), b.size());
    EXPECT_EQ(p.ownerId, 17u);
    EXPECT_EQ(p.groupId, 201u);
    EXPECT_EQ(p.accessRights & 0xFF, 0x07u);
    EXPECT_EQ((p.accessRights >> 8) & 0xFF, 0x03u);
    EXPECT_EQ((p.accessRights >> 16) & 0xFF, 0x01u);
    EXPECT_EQ(p.accessRights >> 24, 0x07u);
}

TEST(FlDrParams, NoNameOffsetsAndAFinderTypeCutByANul)
{
    Buffer b{};
    std::memcpy(b.data() + 493, "TE\0Xttxt", 8);
    const FlDrParams p = ReadFlDrParams(b.data(), b.size());
    EXPECT_EQ(p.finderInfo, "TE");
    EXPECT_EQ(p.longName, "");
    EXPECT_EQ(p.shortName, "");
}

TEST(FlDrParams, NamesOutsideTheBufferAreEmptyAndUnendedNamesStopAtItsEnd)
{
    Buffer b{};
    Put<uint16_t>(b, 525, 0xFFFF);             // far beyond the 2522 bytes
    Put<uint16_t>(b, 527, 2522 - 475 - 3);     // three bytes before the end, no NUL
    std::memcpy(b.data() + 2519, "ABC", 3);
    const FlDrParams p = ReadFlDrParams(b.data(), b.size());
    EXPECT_EQ(p.longName, "");
    EXPECT_EQ(p.shortName, "ABC");

    // Finder text running to the end of a short buffer.
    std::array<uint8_t, 497> shortBuffer{};
    std::memcpy(shortBuffer.data() + 493, "WDBN", 4);
    EXPECT_EQ(ReadFlDrParams(shortBuffer.data(), shortBuffer.size()).finderInfo, "WDBN");
}

TEST(VolParams, FieldsAndTheSignedNameOffset)
{
    Buffer b{};
    PutText(b, 434, "Engineering Projects");
    Put<uint16_t>(b, 476, 0x3);
    Put<int32_t>(b, 480, 770000000);
    Put<int32_t>(b, 484, kAFPNoDateValue);
    Put<int32_t>(b, 488, 826000000);
    Put<uint32_t>(b, 494, 524288000u);
    Put<uint32_t>(b, 498, 3000000000u);
    Put<int16_t>(b, 502, 30);
    PutText(b, 504, "Projects");
    VolParams v = ReadVolParams(b.data(), b.size());
    EXPECT_EQ(v.displayName, "Engineering Projects");
    EXPECT_EQ(v.attributes, 0x3);
    EXPECT_EQ(v.created, 770000000);
    EXPECT_FALSE(v.modified.has_value());
    EXPECT_EQ(v.backup, 826000000);
    EXPECT_EQ(v.bytesFree, 524288000u);
    EXPECT_EQ(v.bytesTotal, 3000000000u);
    EXPECT_EQ(v.afpName, "Projects");

    Put<int16_t>(b, 502, -40);  // 434: before the parameters, still inside
    EXPECT_EQ(ReadVolParams(b.data(), b.size()).afpName, "Engineering Projects");
    Put<int16_t>(b, 502, -500);  // before the buffer
    EXPECT_EQ(ReadVolParams(b.data(), b.size()).afpName, "");
}

}  // namespace
