// CDocument: the data of one open file (or untitled window) and the views
// that show it. Commands reach the document after its active view and
// before its template.
#pragma once

#include <vector>

#include "fx/cmd_target.h"

class CArchive;
class CView;
class CDocTemplate;
class CFrameWnd;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
    DECLARE_MESSAGE_MAP()
public:
    CDocument() = default;
    ~CDocument() override;

    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bAutoDelete = TRUE;  // deleted when its last view goes

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const char* title);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const char* path, BOOL addToRecentFiles = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_viewList; }
    int GetViewCount() const { return static_cast<int>(m_viewList.size()); }
    void UpdateAllViews(CView* sender, LPARAM hint = 0);

    // After the document itself, commands go to its template.
    BOOL OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo) override;

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const char* path);
    virtual BOOL OnSaveDocument(const char* path);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    // The document's data into or out of an archive (an OLE container's
    // storage); by default nothing.
    virtual void Serialize(CArchive&) {}
    // Asks to save a modified document; FALSE when the user cancels.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    // Saves under `path`, or asks for a name when it is null.
    virtual BOOL DoSave(const char* path, BOOL replace = TRUE);

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_viewList;

    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();
};
