#include "fx/document.h"

#include <commdlg.h>

#include <algorithm>

#include "fx/doc_template.h"
#include "fx/fx_ids.h"
#include "fx/message_box.h"
#include "fx/view.h"
#include "fx/win_app.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::~CDocument()
{
    for (CView* view : m_viewList)
        view->m_pDocument = nullptr;
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const char* title)
{
    m_strTitle = title;
    for (CView* view : m_viewList)
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle(TRUE);
}

void CDocument::SetPathName(const char* path, BOOL addToRecentFiles)
{
    char full[MAX_PATH];
    char* filePart = nullptr;
    if (GetFullPathNameA(path, sizeof full, full, &filePart) == 0 || filePart == nullptr) {
        m_strPathName = path;
        SetTitle(path);
    } else {
        m_strPathName = full;
        SetTitle(filePart);
    }
    if (addToRecentFiles)
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName.c_str());
}

void CDocument::AddView(CView* view)
{
    m_viewList.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    std::erase(m_viewList, view);
    view->m_pDocument = nullptr;
    if (m_bAutoDelete && m_viewList.empty())
        OnCloseDocument();
}

BOOL CDocument::OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(id, code, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(id, code, pExtra, pHandlerInfo);
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint)
{
    for (CView* view : m_viewList)
        if (view != sender)
            view->OnUpdate(sender, hint);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        AfxMessageBox(FxFormatStrings(FxLoadString(AFX_IDP_FAILED_TO_OPEN_DOC).c_str(), {path}).c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    CloseHandle(file);
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    CloseHandle(file);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Closing the frames removes the views; keep this object alive until
    // all are gone, then delete it once.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.empty()) {
        CView* view = m_viewList.front();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame != nullptr)
            frame->DestroyWindow();
        if (!m_viewList.empty() && m_viewList.front() == view)
            RemoveView(view);  // a frame that did not go
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    CString prompt = FxFormatStrings(FxLoadString(AFX_IDP_ASK_TO_SAVE).c_str(), {name});
    switch (AfxMessageBox(prompt.c_str(), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoSave(m_strPathName.IsEmpty() ? nullptr : m_strPathName.c_str());
    default:
        return TRUE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd*)
{
    return GetViewCount() > 1 || SaveModified();
}

BOOL CDocument::DoSave(const char* path, BOOL replace)
{
    CString target = path ? path : "";
    if (target.IsEmpty()) {
        char buffer[MAX_PATH] = "";
        CString filter, ext;
        if (m_pDocTemplate != nullptr) {
            m_pDocTemplate->GetDocString(filter, CDocTemplate::filterName);
            m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt);
        }
        lstrcpynA(buffer, m_strTitle.c_str(), sizeof buffer);
        std::string filters;
        if (!filter.IsEmpty())
            filters += filter + '\0' + "*" + ext + '\0';
        filters += std::string("*.*") + '\0' + "*.*" + '\0' + '\0';
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = AfxGetApp() && AfxGetApp()->m_pMainWnd ? AfxGetApp()->m_pMainWnd->m_hWnd : nullptr;
        ofn.lpstrFilter = filters.c_str();
        ofn.lpstrFile = buffer;
        ofn.nMaxFile = sizeof buffer;
        ofn.lpstrDefExt = ext.IsEmpty() ? nullptr : ext.c_str() + (ext[0] == '.' ? 1 : 0);
        ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        if (!GetSaveFileNameA(&ofn))
            return FALSE;
        target = buffer;
    }
    if (!OnSaveDocument(target.c_str()))
        return FALSE;
    if (replace)
        SetPathName(target.c_str());
    return TRUE;
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave()
{
    DoSave(m_strPathName.IsEmpty() ? nullptr : m_strPathName.c_str());
}

void CDocument::OnFileSaveAs()
{
    DoSave(nullptr);
}
