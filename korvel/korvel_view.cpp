#include "korvel/korvel_view.h"

#include "common/install_folder.h"
#include "korvel/korvel_doc.h"
#include "korvel/main_frame.h"
#include "korvel/resource.h"
#include "tables/table_path.h"

IMPLEMENT_DYNCREATE(CKorvelView, CKorvelFormView)

BEGIN_MESSAGE_MAP(CKorvelView, CKorvelFormView)
    ON_COMMAND(ID_CANCEL_EDIT_SRVR, OnCancelEditSrvr)
END_MESSAGE_MAP()

CKorvelDoc* CKorvelView::GetKorvelDoc() const
{
    return dynamic_cast<CKorvelDoc*>(GetDocument());
}

CTableContents<CKorvelEntry>* CKorvelView::GetTableContents() const
{
    CKorvelDoc* doc = GetKorvelDoc();
    return doc != nullptr ? &doc->m_table : nullptr;
}

void CKorvelView::LoadInitialTable()
{
    CKorvelDoc* doc = GetKorvelDoc();
    // An embedded map is read from its container (InitNew or Load).
    if (doc == nullptr || doc->IsEmbedded())
        return;
    std::string path = doc->GetPathName();
    if (path.empty()) {
        char program[MAX_PATH] = "";
        DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
        if (n >= sizeof program)
            program[0] = '\0';
        path = GetTablePath(FindInstallFolder(), program, kKorvelTableFileName);
    }
    m_strTablePath = path;
    doc->SetPathName(path.c_str());
    doc->LoadMap();
}

bool CKorvelView::RevertTable()
{
    CKorvelDoc* doc = GetKorvelDoc();
    return doc != nullptr && doc->LoadMap();
}

void CKorvelView::OnCancelEditSrvr()
{
    if (CKorvelDoc* doc = GetKorvelDoc())
        doc->OnDeactivateUI(FALSE);
}

void CKorvelView::OnFrameFitted(CFrameWnd* frame)
{
    if (auto* main = dynamic_cast<CMainFrame*>(frame))
        main->RecordSize();
}
