// The record of a file on an AppleShare volume: names [0] long, [1] short,
// [2] Finder information (type in characters 1-4, creator in 5-8); numbers
// [0] data fork and [1] resource fork length; date [0] backup.
#pragma once

#include "afp_params.h"
#include "net_info.h"

class CFileInfoObj : public CNetInfoObj {
public:
    // Reads the file's parameters from the stack (ATKIFSGetFlDrParams).
    explicit CFileInfoObj(const char* path);
    void InitArrays() override { SizeArrays(3, 2, 1); }

    // Fills the record from a parameter buffer the stack filled.
    void Fill(const FlDrParams& params);
};

// The NA_ flags of AFP attribute bits (system, rename and delete inhibit;
// for files also write inhibit and copy protect).
uint16_t NetAttributesOf(uint16_t afpAttributes, bool file);
