#include "korvel/korvel_doc.h"

#include "korvel/default_map.h"
#include "stack/tarpin32.h"

IMPLEMENT_DYNCREATE(CKorvelDoc, CDocument)

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
    if (OnOpenDocument(GetPathName().c_str()))
        return true;
    LoadDefaults();
    SetModifiedFlag(TRUE);
    return false;
}
