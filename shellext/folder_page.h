// The page of a folder on an AppleShare volume (template 142): names,
// attributes, dates, owner, group and the access grid. For a volume's root
// folder it is the volume's "Access Privileges" page and shows only the
// name, owner, group and access grid.
#pragma once

#include "directory_info.h"
#include "net_page.h"

class CFolderPage : public CNetPage {
public:
    CFolderPage(HWND page, CDirectoryInfoObj* record);

private:
    void ShowAccessGrid(DWORD rights);
    // The name of user (function 1) or group (2) `id` on the record's
    // server, or the ID in `idFormat` when the server has no name for it.
    CString OwnerText(int32_t function, long id, UINT idFormat) const;
};
