#include "table_document.h"

#include "fx/fx_ids.h"
#include "fx/fx_string.h"
#include "fx/message_box.h"
#include "table_file.h"

IMPLEMENT_DYNAMIC(CTableDocument, CDocument)

BEGIN_MESSAGE_MAP(CTableDocument, CDocument)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveCopyAs)
END_MESSAGE_MAP()

BOOL CTableDocument::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    DeleteContents();
    return TRUE;
}

void CTableDocument::DeleteContents()
{
    DeleteAllEntries();
    CDocument::DeleteContents();
}

BOOL CTableDocument::OnOpenDocument(const char* path)
{
    std::string text;
    if (path == nullptr || !ReadTableFile(path, text)) {
        AfxMessageBox(FxFormatStrings(FxLoadString(AFX_IDP_FAILED_TO_OPEN_DOC).c_str(), {path ? path : ""}).c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    DeleteContents();
    LoadTableText(text);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CTableDocument::WriteTable(const char* path)
{
    std::string text;
    if (path != nullptr && StoreTableText(text) && WriteTableFile(path, text)) {
        SetModifiedFlag(FALSE);
        return TRUE;
    }
    AfxMessageBox(FxFormatStrings(FxLoadString(AFX_IDP_FAILED_TO_SAVE_DOC).c_str(), {path ? path : ""}).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL CTableDocument::OnSaveDocument(const char* path)
{
    const BOOL saved = WriteTable(path);
    if (saved == TRUE)
        NotifyTableChanged();
    return saved;
}

void CTableDocument::OnCloseDocument()
{
    DeleteAllEntries();
    CDocument::OnCloseDocument();
}

BOOL CTableDocument::DoSave(const char* path, BOOL replace)
{
    return CDocument::DoSave(path != nullptr ? path : m_strPathName.c_str(), replace);
}

void CTableDocument::OnFileSaveCopyAs()
{
    CDocument::DoSave(nullptr, FALSE);
}
