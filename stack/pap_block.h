// PAPParamBlock: one PAP client request (open, close, write, read, cancel,
// status) as it travels to the stack through ATALKDispatch. 688 bytes,
// little-endian, the same offsets on 32-bit and 64-bit builds.
//
// The 32-bit block holds the data-buffer pointer in the four bytes at 0xA8.
// A 64-bit pointer does not fit there, so 64-bit builds keep its low half at
// 0xA8 (for traces) and the whole pointer in the last eight bytes of the
// block, which the 32-bit layout leaves unused. DataBuffer/SetDataBuffer are
// the only way to reach it. Blocks sit in job blocks at offsets that are
// multiples of four only, so nothing here needs more than 4-byte alignment.
#pragma once

#include <cstring>
#include <string>

#include "atalk_records.h"

enum PAPCommand : int32_t {
    kPAPOpen = 0x802,
    kPAPClose = 0x803,
    kPAPWrite = 0x804,
    kPAPRead = 0x805,
    kPAPCancel = 0x806,
    kPAPStatus = 0x810,
};

constexpr int32_t kPAPChunkSize = 4096;       // most bytes one write or read carries
constexpr uint8_t kPAPFlowQuantum = 8;        // 8 x 512 bytes = one chunk
constexpr std::size_t kPAPStatusSize = 256;   // PAP status: up to 255 characters
constexpr std::size_t kPAPParamBlockSize = 688;

struct PAPParamBlock {
    ATParamBlockHeader header;  // +0x00  command +0x0C, result +0x10, +0x24, +0x2C
    int32_t requestId;          // +0x34  out of open and status; in of cancel
    _NBPTuple printer;          // +0x38  in of open and status
#if UINTPTR_MAX == 0xFFFFFFFFu
    char* data;                 // +0xA8  receive buffer (read), bytes to send (write)
#else
    uint32_t dataLow;           // +0xA8  low half of the pointer, for traces only
#endif
    int32_t length;             // +0xAC  read: 4096 in, bytes received out; write: 0..4096
    int16_t eof;                // +0xB0  write: 1 on the last write; read: printer's EOF
    uint8_t reservedB2[6];      // +0xB2
    int32_t connRef;            // +0xB8  out of open; in of read, write, close
    uint8_t reservedBC;         // +0xBC
    uint8_t flowQuantum;        // +0xBD  in of open
    uint8_t reservedBE[6];      // +0xBE
    char status[kPAPStatusSize];  // +0xC4  out of status; emptied before an open
#if UINTPTR_MAX == 0xFFFFFFFFu
    uint8_t reserved1C4[236];   // +0x1C4
#else
    uint8_t reserved1C4[228];   // +0x1C4
    uint8_t data64[8];          // +0x2A8 the whole data pointer (64-bit builds)
#endif

    // Request cycle: fill the inputs, then BeginRequest, then dispatch and
    // poll Result() until it leaves kATResultPending.
    void BeginRequest(PAPCommand cmd)
    {
        header.command = cmd;
        header.completion = 0;
        if (cmd == kPAPClose || cmd == kPAPCancel || cmd == kPAPStatus)
            header.param44 = 0;
        ATStoreResult(header, kATResultPending);
    }

    int32_t Command() const { return header.command; }
    int32_t Result() const { return ATLoadResult(header); }
    void SetResult(int32_t value) { ATStoreResult(header, value); }

    void* DataBuffer() const
    {
#if UINTPTR_MAX == 0xFFFFFFFFu
        return data;
#else
        uintptr_t p;
        std::memcpy(&p, data64, sizeof p);
        return reinterpret_cast<void*>(p);
#endif
    }
    void SetDataBuffer(void* buffer)
    {
#if UINTPTR_MAX == 0xFFFFFFFFu
        data = static_cast<char*>(buffer);
#else
        const auto p = reinterpret_cast<uintptr_t>(buffer);
        std::memcpy(data64, &p, sizeof p);
        dataLow = static_cast<uint32_t>(p);
#endif
    }

    bool Eof() const { return eof != 0; }
    void SetEof(bool value) { eof = value ? 1 : 0; }

    // The status string as the stack left it, never read past its field.
    std::string StatusString() const { return std::string(status, strnlen(status, sizeof status)); }
    void SetStatusString(const char* text)
    {
        std::size_t n = strnlen(text, sizeof status - 1);
        std::memcpy(status, text, n);
        status[n] = '\0';
    }
};

static_assert(sizeof(PAPParamBlock) == kPAPParamBlockSize);
static_assert(alignof(PAPParamBlock) <= 4);
static_assert(offsetof(PAPParamBlock, header) == 0);
static_assert(offsetof(PAPParamBlock, header.command) == 0x0C);
static_assert(offsetof(PAPParamBlock, header.result) == 0x10);
static_assert(offsetof(PAPParamBlock, header.completion) == 0x24);
static_assert(offsetof(PAPParamBlock, header.param44) == 0x2C);
static_assert(offsetof(PAPParamBlock, requestId) == 0x34);
static_assert(offsetof(PAPParamBlock, printer) == 0x38);
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(PAPParamBlock, data) == 0xA8);
static_assert(sizeof(PAPParamBlock::data) == 4);
#else
static_assert(offsetof(PAPParamBlock, dataLow) == 0xA8);
static_assert(offsetof(PAPParamBlock, data64) == 0x2A8);
#endif
static_assert(offsetof(PAPParamBlock, length) == 0xAC);
static_assert(offsetof(PAPParamBlock, eof) == 0xB0);
static_assert(sizeof(PAPParamBlock::eof) == 2);
static_assert(offsetof(PAPParamBlock, connRef) == 0xB8);
static_assert(offsetof(PAPParamBlock, flowQuantum) == 0xBD);
static_assert(offsetof(PAPParamBlock, status) == 0xC4);
