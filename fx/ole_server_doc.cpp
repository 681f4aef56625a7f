#include "fx/ole_server_doc.h"

#include "fx/archive.h"
#include "fx/doc_template.h"
#include "fx/fx_ids.h"
#include "fx/message_box.h"
#include "fx/ole_ip_frame.h"
#include "fx/ole_server_item.h"
#include "fx/ole_server_object.h"
#include "fx/view.h"
#include "fx/win_app.h"

IMPLEMENT_DYNAMIC(COleServerDoc, CDocument)

BEGIN_MESSAGE_MAP(COleServerDoc, CDocument)
    ON_COMMAND(ID_FILE_UPDATE, OnFileUpdate)
    ON_COMMAND(ID_FILE_SAVE_COPY_AS, OnFileSaveCopyAs)
END_MESSAGE_MAP()

namespace {
// The class id of the client a document is being made for, while it is.
thread_local const CLSID* t_clientClsid = nullptr;

std::wstring Widen(const CString& text)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), n);
    out.resize(out.size() - 1);
    return out;
}
}  // namespace

CDocument* FxCreateDocumentForClient(CDocTemplate* tmpl, REFCLSID clsid)
{
    t_clientClsid = &clsid;
    CDocument* doc = tmpl->OpenDocumentFile(nullptr, FALSE);
    t_clientClsid = nullptr;
    return doc;
}

COleServerDoc::COleServerDoc()
{
    if (t_clientClsid != nullptr) {
        m_bEmbedded = TRUE;
        m_clsid = *t_clientClsid;
    }
}

COleServerDoc::~COleServerDoc()
{
    if (m_pObject != nullptr) {
        m_pObject->m_pDoc = nullptr;
        m_pObject = nullptr;
    }
    delete m_pEmbeddedItem;
}

COleServerItem* COleServerDoc::GetEmbeddedItem()
{
    if (m_pEmbeddedItem == nullptr)
        m_pEmbeddedItem = OnGetEmbeddedItem();
    return m_pEmbeddedItem;
}

IUnknown* COleServerDoc::GetOleObject()
{
    if (!m_bEmbedded || m_bClosing)
        return nullptr;
    if (m_pObject == nullptr)
        m_pObject = new FxServerObject(this);  // with the reference returned
    else
        m_pObject->ExternalAddRef();
    return static_cast<IOleObject*>(m_pObject);
}

CView* COleServerDoc::FirstView() const
{
    return m_viewList.empty() ? nullptr : m_viewList.front();
}

// --- data ---------------------------------------------------------------------

void COleServerDoc::OnNewEmbedding()
{
    OnNewDocument();
}

BOOL COleServerDoc::SaveEmbedding(std::string& bytes)
{
    COleServerItem* item = GetEmbeddedItem();
    if (item == nullptr)
        return FALSE;
    bytes.clear();
    CArchive ar(CArchive::store, bytes);
    item->Serialize(ar);
    return TRUE;
}

BOOL COleServerDoc::LoadEmbedding(const std::string& bytes)
{
    COleServerItem* item = GetEmbeddedItem();
    if (item == nullptr)
        return FALSE;
    std::string copy = bytes;
    DeleteContents();
    CArchive ar(CArchive::load, copy);
    item->Serialize(ar);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL COleServerDoc::ReloadFromStorage()
{
    std::string bytes;
    if (m_pObject == nullptr || !FxReadContentsStream(m_pObject->m_lpStorage, bytes))
        return FALSE;
    return LoadEmbedding(bytes);
}

BOOL COleServerDoc::UpdateContainer()
{
    if (m_pObject == nullptr || m_pObject->m_lpClientSite == nullptr)
        return FALSE;
    // The container saves the object into its storage (Save, then
    // SaveCompleted, which clears the modified flag).
    return SUCCEEDED(m_pObject->m_lpClientSite->SaveObject());
}

void COleServerDoc::SetHostNames(const char*, const char* containerObject)
{
    m_strHostObj = containerObject != nullptr ? containerObject : "";
    CString name;
    if (m_pDocTemplate == nullptr || !m_pDocTemplate->GetDocString(name, CDocTemplate::docName))
        name = GetTitle();
    SetTitle(m_strHostObj.IsEmpty() ? name.c_str()
                                    : FxFormatStrings(FxLoadString(AFX_IDS_OBJ_TITLE_INPLACE).c_str(),
                                                      {name, m_strHostObj})
                                          .c_str());
}

void COleServerDoc::RequestPositionChange(const RECT& rect)
{
    if (m_pObject != nullptr && m_pObject->m_lpInPlaceSite != nullptr)
        m_pObject->m_lpInPlaceSite->OnPosRectChange(&rect);
}

// --- activation ---------------------------------------------------------------

BOOL COleServerDoc::ActivateInPlace()
{
    if (m_pInPlaceFrame != nullptr)
        return TRUE;
    CView* view = FirstView();
    const CRuntimeClass* frameClass = m_pDocTemplate != nullptr ? m_pDocTemplate->m_pIPFrameClass : nullptr;
    if (m_pObject == nullptr || m_pObject->m_lpClientSite == nullptr || view == nullptr || frameClass == nullptr)
        return FALSE;
    IOleInPlaceSite* site = nullptr;
    if (FAILED(m_pObject->m_lpClientSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&site))))
        return FALSE;
    if (site->CanInPlaceActivate() != S_OK) {
        site->Release();
        return FALSE;
    }
    site->OnInPlaceActivate();
    HWND parent = nullptr;
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* uiDoc = nullptr;
    RECT pos{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    CObject* object = nullptr;
    if (SUCCEEDED(site->GetWindow(&parent)) && SUCCEEDED(site->GetWindowContext(&frame, &uiDoc, &pos, &clip, &info)))
        object = frameClass->CreateObject();
    auto* ipFrame = object != nullptr && object->IsKindOf(RUNTIME_CLASS(COleIPFrameWnd))
                        ? static_cast<COleIPFrameWnd*>(object)
                        : nullptr;
    if (ipFrame == nullptr || parent == nullptr || frame == nullptr) {
        delete object;
        if (frame != nullptr)
            frame->Release();
        if (uiDoc != nullptr)
            uiDoc->Release();
        site->OnInPlaceDeactivate();
        site->Release();
        return FALSE;
    }
    // The frame owns the container's frame and document windows from here.
    if (!ipFrame->CreateInPlace(this, parent, frame, uiDoc, info)) {
        site->OnInPlaceDeactivate();
        site->Release();
        return FALSE;
    }
    m_pOrigFrame = view->GetParentFrame();
    ipFrame->AdoptView(view);
    m_pInPlaceFrame = ipFrame;
    m_pObject->m_lpInPlaceSite = site;
    ipFrame->SetObjectRects(pos, clip);

    // The activation's user interface: merged menus and bars on the
    // container, and the container told which object is active.
    site->OnUIActivate();
    CString name;
    if (m_pDocTemplate == nullptr || !m_pDocTemplate->GetDocString(name, CDocTemplate::docName))
        name = GetTitle();
    ipFrame->ShowServerUI(static_cast<IOleInPlaceActiveObject*>(m_pObject), Widen(name).c_str());
    m_bUIActive = TRUE;
    ipFrame->ShowWindow(SW_SHOW);
    ::SetFocus(view->m_hWnd);
    if (CWinApp* app = AfxGetApp())
        app->m_pActiveWnd = ipFrame;
    m_pObject->m_lpClientSite->ShowObject();
    return TRUE;
}

void COleServerDoc::DeactivateUI(BOOL notifyContainer)
{
    if (!m_bUIActive || m_pInPlaceFrame == nullptr)
        return;
    m_bUIActive = FALSE;
    m_pInPlaceFrame->HideServerUI();
    if (notifyContainer && m_pObject != nullptr && m_pObject->m_lpInPlaceSite != nullptr)
        m_pObject->m_lpInPlaceSite->OnUIDeactivate(FALSE);
}

void COleServerDoc::OnDeactivateUI(BOOL)
{
    DeactivateUI(TRUE);
}

void COleServerDoc::DeactivateInPlace()
{
    COleIPFrameWnd* ipFrame = m_pInPlaceFrame;
    if (ipFrame == nullptr)
        return;
    // The container may end the activation while it is told about the
    // user interface going (a call back into this document): it is ended
    // once.
    DeactivateUI(TRUE);
    if (m_pInPlaceFrame != ipFrame)
        return;
    m_pInPlaceFrame = nullptr;
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pActiveWnd == ipFrame)
        app->m_pActiveWnd = nullptr;
    if (CView* view = FirstView(); view != nullptr && m_pOrigFrame != nullptr)
        ipFrame->ReturnView(view, m_pOrigFrame);
    ipFrame->DestroyWindow();  // the frame deletes itself
    if (m_pObject != nullptr && m_pObject->m_lpInPlaceSite != nullptr) {
        IOleInPlaceSite* site = m_pObject->m_lpInPlaceSite;
        m_pObject->m_lpInPlaceSite = nullptr;
        site->OnInPlaceDeactivate();
        site->Release();
    }
}

void COleServerDoc::OnShowDocument(BOOL show)
{
    if (show && m_pInPlaceFrame != nullptr)
        DeactivateInPlace();
    CView* view = FirstView();
    CFrameWnd* frame = view != nullptr ? view->GetParentFrame() : nullptr;
    if (frame == nullptr)
        return;
    IOleClientSite* site = m_pObject != nullptr ? m_pObject->m_lpClientSite : nullptr;
    if (show) {
        // The window of an embedded document: its own menu and keys
        // (Update, Save Copy As).
        if (m_bEmbedded && m_pDocTemplate != nullptr && m_pDocTemplate->m_hMenuEmbedding != nullptr) {
            ::SetMenu(frame->m_hWnd, m_pDocTemplate->m_hMenuEmbedding);
            frame->m_hAccelTable = m_pDocTemplate->m_hAccelEmbedding;
        }
        frame->OnUpdateFrameTitle(TRUE);
        frame->ShowWindow(SW_SHOW);
        ::SetForegroundWindow(frame->m_hWnd);
        frame->SetActiveView(view);
        ::SetFocus(view->m_hWnd);
        if (site != nullptr) {
            site->ShowObject();
            site->OnShowWindow(TRUE);
        }
    } else if (frame->IsWindowVisible()) {
        frame->ShowWindow(SW_HIDE);
        if (site != nullptr)
            site->OnShowWindow(FALSE);
    }
}

// --- closing ------------------------------------------------------------------

BOOL COleServerDoc::SaveModified()
{
    if (!m_bEmbedded)
        return CDocument::SaveModified();
    if (!IsModified() || m_pObject == nullptr || m_pObject->m_lpClientSite == nullptr)
        return TRUE;
    const CString container = m_strHostObj.IsEmpty() ? GetTitle() : m_strHostObj;
    const CString prompt = FxFormatStrings(FxLoadString(AFX_IDP_ASK_TO_UPDATE).c_str(), {container});
    switch (AfxMessageBox(prompt.c_str(), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return UpdateContainer();
    default:
        return TRUE;
    }
}

void COleServerDoc::OnCloseDocument()
{
    if (m_bClosing)
        return;
    m_bClosing = TRUE;
    DeactivateInPlace();
    if (FxServerObject* object = m_pObject) {
        // The container hears that the object closed, and its remaining
        // references find no document. (The object stays connected: a call
        // in progress, such as the container's Close, still gets its
        // answer; the references go with the container or with this
        // process.)
        m_pObject = nullptr;
        object->m_pDoc = nullptr;
        object->AddRef();
        object->SendOnClose();
        object->ReleaseContainer();
        object->Release();
    }
    CDocument::OnCloseDocument();
}

void COleServerDoc::OnFileUpdate()
{
    UpdateContainer();
}

void COleServerDoc::OnFileSaveCopyAs()
{
    DoSave(nullptr, FALSE);
}
