// The page of an AppleShare volume (template 133): display and AFP names,
// bytes total and free, creation, modification and backup dates, the
// read-only and password flags. Every control only shows.
#pragma once

#include "net_page.h"
#include "volume_info.h"

class CVolumePage : public CNetPage {
public:
    CVolumePage(HWND page, CVolumeInfoObj* record);
};
