// The page of a file on an AppleShare volume (template 143): long and short
// name, type and creator, attributes, backup date and fork lengths. Every
// control only shows.
#pragma once

#include "file_info.h"
#include "net_page.h"

class CFilePage : public CNetPage {
public:
    CFilePage(HWND page, CFileInfoObj* record);
};
