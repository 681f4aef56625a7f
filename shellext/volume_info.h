// The record of an AppleShare volume: names [0] display name, [1] AFP name;
// numbers [0] bytes free, [1] bytes total (unsigned); dates [0] backup, [1]
// modification, [2] creation; and the record of its root folder, whose page
// is the volume's "Access Privileges" page.
#pragma once

#include <memory>

#include "afp_params.h"
#include "directory_info.h"
#include "net_info.h"

class CVolumeInfoObj : public CNetInfoObj {
public:
    // Reads the volume's parameters (ATKIFSGetVolParams) and its root
    // folder's ("\" appended to the path).
    explicit CVolumeInfoObj(const char* path);
    void InitArrays() override { SizeArrays(2, 2, 3); }

    void Fill(const VolParams& params);

    // Owned; null when the volume could not be read. A root that could not
    // be read stays here (not valid) and gives no page.
    std::unique_ptr<CDirectoryInfoObj> m_pRoot;
};
