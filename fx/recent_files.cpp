#include "fx/recent_files.h"

#include <algorithm>

#include "fx/cmd_target.h"
#include "fx/win_app.h"

CRecentFileList::CRecentFileList(UINT firstId, const char* section, const char* entryPrefix, int size)
    : m_firstId(firstId), m_section(section), m_entryPrefix(entryPrefix), m_nSize(size)
{
}

void CRecentFileList::Add(const char* path)
{
    auto same = [&](const CString& p) { return lstrcmpiA(p.c_str(), path) == 0; };
    m_paths.erase(std::remove_if(m_paths.begin(), m_paths.end(), same), m_paths.end());
    m_paths.insert(m_paths.begin(), CString(path));
    if (m_paths.size() > static_cast<size_t>(m_nSize))
        m_paths.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < GetCount())
        m_paths.erase(m_paths.begin() + index);
}

void CRecentFileList::UpdateMenu(CCmdUI* ui) const
{
    HMENU menu = ui->m_hMenu;
    if (menu == nullptr)
        return;
    // Take out the entries of the last time, then put in the current ones.
    for (int i = 1; i < m_nSize; ++i)
        DeleteMenu(menu, m_firstId + static_cast<UINT>(i), MF_BYCOMMAND);
    if (m_paths.empty()) {
        ui->Enable(FALSE);
        return;
    }
    for (size_t i = 0; i < m_paths.size(); ++i) {
        CString text;
        text.Format("&%u %s", static_cast<unsigned>(i + 1), m_paths[i].c_str());
        UINT id = m_firstId + static_cast<UINT>(i);
        if (i == 0)
            ModifyMenuA(menu, ui->m_nIndex, MF_BYPOSITION | MF_STRING, id, text.c_str());
        else
            InsertMenuA(menu, ui->m_nIndex + static_cast<UINT>(i), MF_BYPOSITION | MF_STRING, id, text.c_str());
    }
    ui->Enable(TRUE);
    // The caller's loop continues after the last entry.
    ui->m_nIndex += static_cast<UINT>(m_paths.size() - 1);
}

void CRecentFileList::ReadList()
{
    m_paths.clear();
    CWinApp* app = AfxGetApp();
    for (int i = 0; i < m_nSize && app; ++i) {
        CString entry = m_entryPrefix + std::to_string(i + 1);
        CString path = app->GetProfileString(m_section.c_str(), entry.c_str());
        if (!path.IsEmpty())
            m_paths.push_back(path);
    }
}

void CRecentFileList::WriteList() const
{
    CWinApp* app = AfxGetApp();
    for (int i = 0; i < m_nSize && app; ++i) {
        CString entry = m_entryPrefix + std::to_string(i + 1);
        app->WriteProfileString(m_section.c_str(), entry.c_str(),
                                i < GetCount() ? m_paths[static_cast<size_t>(i)].c_str() : "");
    }
}
