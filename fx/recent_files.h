// The recent-file list of File menus: the last opened paths, newest first,
// kept under the application's profile key.
#pragma once

#include <vector>

#include "fx/fx_string.h"

class CCmdUI;

class CRecentFileList {
public:
    CRecentFileList(UINT firstId, const char* section, const char* entryPrefix, int size);

    void Add(const char* path);
    void Remove(int index);
    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_paths.size()); }
    const CString& operator[](int index) const { return m_paths[static_cast<size_t>(index)]; }
    // Puts the entries into the menu in place of the first entry's item.
    void UpdateMenu(CCmdUI* ui) const;
    void ReadList();
    void WriteList() const;

private:
    UINT m_firstId;
    CString m_section;
    CString m_entryPrefix;  // entries are <prefix>1, <prefix>2, ...
    int m_nSize;
    std::vector<CString> m_paths;
};
