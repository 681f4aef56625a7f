#include "fx/doc_template.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "fx/document.h"
#include "fx/frame_wnd.h"
#include "fx/fx_ids.h"
#include "fx/message_box.h"
#include "fx/view.h"
#include "fx/win_app.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT id, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                           const CRuntimeClass* viewClass)
    : m_nIDResource(id), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
}

CDocTemplate::~CDocTemplate()
{
    if (m_hMenuEmbedding != nullptr)
        DestroyMenu(m_hMenuEmbedding);
    if (m_hMenuInPlaceServer != nullptr)
        DestroyMenu(m_hMenuInPlaceServer);
}

void CDocTemplate::LoadTemplate()
{
    m_strDocStrings.LoadString(m_nIDResource);
    HINSTANCE module = AfxGetResourceHandle();
    if (m_nIDEmbeddingResource != 0 && m_hMenuEmbedding == nullptr) {
        m_hMenuEmbedding = LoadMenuA(module, MAKEINTRESOURCEA(m_nIDEmbeddingResource));
        m_hAccelEmbedding = LoadAcceleratorsA(module, MAKEINTRESOURCEA(m_nIDEmbeddingResource));
    }
    if (m_nIDServerResource != 0 && m_hMenuInPlaceServer == nullptr) {
        m_hMenuInPlaceServer = LoadMenuA(module, MAKEINTRESOURCEA(m_nIDServerResource));
        m_hAccelInPlaceServer = LoadAcceleratorsA(module, MAKEINTRESOURCEA(m_nIDServerResource));
    }
}

void CDocTemplate::SetServerInfo(UINT idOleEmbedding, UINT idOleInPlaceServer, const CRuntimeClass* ipFrameClass)
{
    m_nIDEmbeddingResource = idOleEmbedding;
    m_nIDServerResource = idOleInPlaceServer;
    m_pIPFrameClass = ipFrameClass;
}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const
{
    text = FxSubString(m_strDocStrings, static_cast<int>(index));
    return !text.IsEmpty();
}

BOOL CDocTemplate::MatchesExtension(const char* path) const
{
    CString ext;
    if (!GetDocString(ext, filterExt) || path == nullptr)
        return FALSE;
    size_t len = strlen(path);
    if (len < ext.size())
        return FALSE;
    const char* tail = path + len - ext.size();
    return std::equal(ext.begin(), ext.end(), tail, [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

void CDocTemplate::AddDocument(CDocument* doc)
{
    doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc)
{
    doc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    if (object == nullptr || !object->IsKindOf(RUNTIME_CLASS(CDocument))) {
        delete object;
        return nullptr;
    }
    CDocument* doc = static_cast<CDocument*>(object);
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc)
{
    CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    if (object == nullptr || !object->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        delete object;
        return nullptr;
    }
    CFrameWnd* frame = static_cast<CFrameWnd*>(object);
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;  // the frame has deleted itself
    return frame;
}

BOOL CDocTemplate::SaveAllModified()
{
    for (CDocument* doc : std::vector<CDocument*>(GetDocuments()))
        if (!doc->SaveModified())
            return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    for (CDocument* doc : std::vector<CDocument*>(GetDocuments()))
        doc->OnCloseDocument();
}

CMultiDocTemplate::CMultiDocTemplate(UINT id, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                                     const CRuntimeClass* viewClass)
    : CDocTemplate(id, docClass, frameClass, viewClass)
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    for (CDocument* doc : std::vector<CDocument*>(m_docList))
        doc->m_pDocTemplate = nullptr;
    if (m_hMenuShared != nullptr)
        DestroyMenu(m_hMenuShared);
}

void CMultiDocTemplate::LoadTemplate()
{
    CDocTemplate::LoadTemplate();
    HINSTANCE module = AfxGetResourceHandle();
    if (m_hMenuShared == nullptr)
        m_hMenuShared = LoadMenuA(module, MAKEINTRESOURCEA(m_nIDResource));
    if (m_hAccelTable == nullptr)
        m_hAccelTable = LoadAcceleratorsA(module, MAKEINTRESOURCEA(m_nIDResource));
}

void CMultiDocTemplate::AddDocument(CDocument* doc)
{
    CDocTemplate::AddDocument(doc);
    m_docList.push_back(doc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* doc)
{
    CDocTemplate::RemoveDocument(doc);
    std::erase(m_docList, doc);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* doc)
{
    CString name;
    if (!GetDocString(name, docName))
        name = FxLoadString(AFX_IDS_UNTITLED);
    CString title;
    title.Format("%s%u", name.c_str(), ++m_nUntitledCount);
    doc->SetTitle(title.c_str());
}

CDocument* CMultiDocTemplate::OpenDocumentFile(const char* path, BOOL makeVisible)
{
    CDocument* doc = CreateNewDocument();
    if (doc == nullptr) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return nullptr;
    }
    // The document must outlive a failed frame; it is deleted below.
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    CFrameWnd* frame = CreateNewFrame(doc);
    doc->m_bAutoDelete = autoDelete;
    if (frame == nullptr) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        delete doc;
        return nullptr;
    }
    if (path == nullptr) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            frame->DestroyWindow();
            return nullptr;
        }
    } else {
        if (!doc->OnOpenDocument(path)) {
            frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(path);
    }
    frame->InitialUpdateFrame(doc, makeVisible);
    return doc;
}

CSingleDocTemplate::CSingleDocTemplate(UINT id, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                                       const CRuntimeClass* viewClass)
    : CDocTemplate(id, docClass, frameClass, viewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    for (CDocument* doc : std::vector<CDocument*>(m_docList))
        doc->m_pDocTemplate = nullptr;
}

void CSingleDocTemplate::AddDocument(CDocument* doc)
{
    CDocTemplate::AddDocument(doc);
    m_docList.assign(1, doc);
}

void CSingleDocTemplate::RemoveDocument(CDocument* doc)
{
    CDocTemplate::RemoveDocument(doc);
    std::erase(m_docList, doc);
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* doc)
{
    CString name;
    if (!GetDocString(name, docName))
        name = FxLoadString(AFX_IDS_UNTITLED);
    doc->SetTitle(name.c_str());
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* path, BOOL makeVisible)
{
    CDocument* doc = m_docList.empty() ? nullptr : m_docList.front();
    CFrameWnd* frame = nullptr;
    bool created = false;
    if (doc != nullptr) {
        if (!doc->SaveModified())
            return nullptr;
        if (!doc->GetViews().empty())
            frame = doc->GetViews().front()->GetParentFrame();
    } else {
        doc = CreateNewDocument();
        if (doc == nullptr) {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            return nullptr;
        }
        BOOL autoDelete = doc->m_bAutoDelete;
        doc->m_bAutoDelete = FALSE;
        frame = CreateNewFrame(doc);
        doc->m_bAutoDelete = autoDelete;
        if (frame == nullptr) {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            delete doc;
            return nullptr;
        }
        created = true;
    }
    // A failed open leaves a reused document as it was read last; a new
    // window for it goes again.
    if (path == nullptr) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            if (created)
                frame->DestroyWindow();
            return nullptr;
        }
    } else {
        if (!doc->OnOpenDocument(path)) {
            if (created)
                frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(path);
    }
    CWinApp* app = AfxGetApp();
    if (created && app != nullptr && app->m_pMainWnd == nullptr)
        app->m_pMainWnd = frame;
    if (frame != nullptr)
        frame->InitialUpdateFrame(doc, makeVisible);
    return doc;
}
