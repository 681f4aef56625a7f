// Document templates: one per document type, tying a document class, a
// frame class and a view class to a resource id whose string holds the
// type's document strings and whose menu, accelerators and icon the
// type's windows use.
#pragma once

#include <vector>

#include "fx/cmd_target.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName
    };

    CDocTemplate(UINT id, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;

    virtual void LoadTemplate();
    BOOL GetDocString(CString& text, DocStringIndex index) const;

    // A server document type: the menu and keys of resource
    // `idOleEmbedding` for a document opened in its own window from a
    // container, those of `idOleInPlaceServer` and the frame class
    // `ipFrameClass` for in-place activation. Loaded by LoadTemplate.
    void SetServerInfo(UINT idOleEmbedding, UINT idOleInPlaceServer, const CRuntimeClass* ipFrameClass);
    UINT m_nIDEmbeddingResource = 0;
    UINT m_nIDServerResource = 0;
    const CRuntimeClass* m_pIPFrameClass = nullptr;
    HMENU m_hMenuEmbedding = nullptr;
    HACCEL m_hAccelEmbedding = nullptr;
    HMENU m_hMenuInPlaceServer = nullptr;
    HACCEL m_hAccelInPlaceServer = nullptr;

    // How well `path` fits this type: by its extension.
    BOOL MatchesExtension(const char* path) const;

    virtual const std::vector<CDocument*>& GetDocuments() const = 0;
    virtual void AddDocument(CDocument* doc);
    virtual void RemoveDocument(CDocument* doc);
    // Opens `path`, or a new untitled document when it is null.
    virtual CDocument* OpenDocumentFile(const char* path, BOOL makeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* doc) = 0;
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);

protected:
    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* doc);
};

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT id, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                      const CRuntimeClass* viewClass);
    ~CMultiDocTemplate() override;

    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;

    void LoadTemplate() override;
    const std::vector<CDocument*>& GetDocuments() const override { return m_docList; }
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;
    CDocument* OpenDocumentFile(const char* path, BOOL makeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* doc) override;

private:
    std::vector<CDocument*> m_docList;
    UINT m_nUntitledCount = 0;
};

// One document at a time (single-document programs): opening another file
// or a new document reuses the document and its frame, after asking to save
// a modified one. The first frame becomes the program's main window.
class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT id, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                       const CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

    const std::vector<CDocument*>& GetDocuments() const override { return m_docList; }
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;
    CDocument* OpenDocumentFile(const char* path, BOOL makeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* doc) override;

private:
    std::vector<CDocument*> m_docList;  // none or one
};
