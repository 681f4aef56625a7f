#include "korvel/korvel_doc.h"

#include "common/install_folder.h"
#include "korvel/default_map.h"
#include "korvel/srvr_item.h"
#include "stack/tarpin32.h"
#include "tables/table_file.h"
#include "tables/table_path.h"

IMPLEMENT_DYNCREATE(CKorvelDoc, COleServerDoc)

void CKorvelDoc::NotifyTableChanged()
{
    // What the stack answers does not change the save.
    VSXNotifyKorvelChanged(0);
}

void CKorvelDoc::LoadDefaults()
{
    if (m_table.m_pListCtrl == nullptr)
        return;
    for (size_t i = 0; i < kDefaultMap.size(); ++i) {
        const DefaultMapRow& row = kDefaultMap[i];
        m_table.AddItemToList(static_cast<int>(i), std::make_unique<CKorvelEntry>(row.extension, row.macType,
                                                                                 row.macCreator, row.remark));
    }
}

bool CKorvelDoc::LoadMap()
{
    if (IsEmbedded() ? ReloadFromStorage() : OnOpenDocument(GetPathName().c_str()))
        return true;
    LoadDefaults();
    SetModifiedFlag(TRUE);
    return false;
}

BOOL CKorvelDoc::OnSaveDocument(const char* path)
{
    if (IsEmbedded() && (path == nullptr || *path == '\0'))
        return UpdateContainer();
    return CTableDocumentT::OnSaveDocument(path);
}

void CKorvelDoc::OnNewEmbedding()
{
    // A new object holds the installed map, read without a message (the
    // program runs for the container, out of sight); without one, the
    // built-in map.
    DeleteContents();
    char program[MAX_PATH] = "";
    const DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
    if (n >= sizeof program)
        program[0] = '\0';
    std::string text;
    if (ReadTableFile(GetTablePath(FindInstallFolder(), program, kKorvelTableFileName), text)) {
        LoadTableText(text);
        SetModifiedFlag(FALSE);
    } else {
        LoadDefaults();
        SetModifiedFlag(TRUE);
    }
}

COleServerItem* CKorvelDoc::OnGetEmbeddedItem()
{
    return new CKorvelSrvrItem(this);
}
