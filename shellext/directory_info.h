// The record of a folder on an AppleShare volume (and of a volume's root
// folder): names [0] long, [1] short; numbers [0] access rights (bytes 1-4:
// current user, everyone, group, owner; bit 0 see folders, 1 see files, 2
// make changes), [1] owner ID, [2] group ID, [3] the mapping reference for
// AFPMapID; dates [0] backup, [1] modification.
#pragma once

#include "afp_params.h"
#include "net_info.h"

class CDirectoryInfoObj : public CNetInfoObj {
public:
    // Reads the folder's parameters from the stack (ATKIFSGetFlDrParams).
    explicit CDirectoryInfoObj(const char* path);
    void InitArrays() override { SizeArrays(4, 4, 2); }

    void Fill(const FlDrParams& params);

    int m_bVolumeRoot = 0;  // made as a volume's root: the page shows less
};
