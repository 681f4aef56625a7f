#include "fx/ole_server_object.h"

#include <shlobj.h>

#include <vector>

#include "fx/ole_ip_frame.h"
#include "fx/ole_server_doc.h"
#include "fx/ole_server_item.h"
#include "fx/win_app.h"

namespace {

const wchar_t kContentsStream[] = L"Contents";
// A document larger than this in a storage is refused rather than read.
constexpr ULONGLONG kMaxContents = 64ull << 20;

std::string Narrow(LPCOLESTR text)
{
    if (text == nullptr)
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<size_t>(n) : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

bool ServesFormat(const FORMATETC& format)
{
    return (format.cfFormat == CF_METAFILEPICT && (format.tymed & TYMED_MFPICT)) ||
           (format.cfFormat == CF_ENHMETAFILE && (format.tymed & TYMED_ENHMF)) ||
           (format.cfFormat == CF_TEXT && (format.tymed & TYMED_HGLOBAL));
}

}  // namespace

bool FxReadContentsStream(IStorage* storage, std::string& bytes)
{
    IStream* stream = nullptr;
    if (storage == nullptr ||
        FAILED(storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
        return false;
    STATSTG stat{};
    bool ok = SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart <= kMaxContents;
    if (ok) {
        bytes.assign(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
        ULONG read = 0;
        ok = bytes.empty() ||
             (SUCCEEDED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) && read == bytes.size());
    }
    stream->Release();
    return ok;
}

bool FxWriteContentsStream(IStorage* storage, const std::string& bytes)
{
    IStream* stream = nullptr;
    if (storage == nullptr ||
        FAILED(storage->CreateStream(kContentsStream, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                     &stream)))
        return false;
    ULONG written = 0;
    const bool ok = bytes.empty() ||
                    (SUCCEEDED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) &&
                     written == bytes.size());
    stream->Release();
    return ok;
}

COleIPFrameWnd* FxServerObject::InPlaceFrame() const
{
    return m_pDoc != nullptr ? m_pDoc->GetInPlaceFrame() : nullptr;
}

void FxServerObject::ReleaseContainer()
{
    auto drop = [](auto*& p) {
        if (p != nullptr)
            p->Release();
        p = nullptr;
    };
    drop(m_lpInPlaceSite);
    drop(m_lpClientSite);
    drop(m_lpStorage);
    drop(m_lpOleAdvise);
    drop(m_lpDataAdvise);
}

void FxServerObject::SendOnSave()
{
    if (m_lpOleAdvise != nullptr)
        m_lpOleAdvise->SendOnSave();
}

void FxServerObject::SendOnClose()
{
    if (m_lpOleAdvise != nullptr)
        m_lpOleAdvise->SendOnClose();
}

void FxServerObject::SendOnDataChange()
{
    if (m_lpDataAdvise != nullptr)
        m_lpDataAdvise->SendOnDataChange(static_cast<IDataObject*>(this), 0, 0);
}

// --- identity -----------------------------------------------------------------

BEGIN_INTERFACE_MAP(FxServerObject, CCmdTarget)
    INTERFACE_PART(IID_IOleObject, IOleObject)
    INTERFACE_PART(IID_IDataObject, IDataObject)
    INTERFACE_PART(IID_IPersistStorage, IPersistStorage)
    INTERFACE_PART(IID_IPersist, IPersistStorage)
    INTERFACE_PART(IID_IOleInPlaceObject, IOleInPlaceObject)
    INTERFACE_PART(IID_IOleWindow, IOleInPlaceObject)
    INTERFACE_PART(IID_IOleInPlaceActiveObject, IOleInPlaceActiveObject)
END_INTERFACE_MAP()

void FxServerObject::OnFinalRelease()
{
    // The object outlives the document's close, which may take and drop
    // references of its own.
    m_dwRef = 1;
    if (COleServerDoc* doc = m_pDoc)
        doc->OnCloseDocument();
    ReleaseContainer();
    delete this;
}

// --- IOleObject -------------------------------------------------------------

STDMETHODIMP FxServerObject::SetClientSite(IOleClientSite* site)
{
    if (site != nullptr)
        site->AddRef();
    if (m_lpClientSite != nullptr)
        m_lpClientSite->Release();
    m_lpClientSite = site;
    return S_OK;
}

STDMETHODIMP FxServerObject::GetClientSite(IOleClientSite** site)
{
    if (site == nullptr)
        return E_POINTER;
    *site = m_lpClientSite;
    if (*site != nullptr)
        (*site)->AddRef();
    return S_OK;
}

STDMETHODIMP FxServerObject::SetHostNames(LPCOLESTR containerApp, LPCOLESTR containerObj)
{
    if (m_pDoc == nullptr)
        return E_UNEXPECTED;
    m_pDoc->SetHostNames(Narrow(containerApp).c_str(), Narrow(containerObj).c_str());
    return S_OK;
}

STDMETHODIMP FxServerObject::Close(DWORD saveOption)
{
    COleServerDoc* doc = m_pDoc;
    if (doc == nullptr)
        return S_OK;
    if (doc->IsModified()) {
        if (saveOption == OLECLOSE_SAVEIFDIRTY)
            doc->UpdateContainer();
        else if (saveOption == OLECLOSE_PROMPTSAVE && !doc->SaveModified())
            return OLE_E_PROMPTSAVECANCELLED;
    }
    AddRef();  // closing releases the container's interfaces, which may hold this object
    doc->OnCloseDocument();
    Release();
    return S_OK;
}

STDMETHODIMP FxServerObject::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker != nullptr)
        *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP FxServerObject::GetClipboardData(DWORD, IDataObject** data)
{
    if (data != nullptr)
        *data = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP FxServerObject::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT)
{
    COleServerDoc* doc = m_pDoc;
    if (doc == nullptr)
        return E_UNEXPECTED;
    switch (verb) {
    case OLEIVERB_HIDE:
        if (doc->IsInPlaceActive())
            doc->DeactivateInPlace();
        else
            doc->OnShowDocument(FALSE);
        return S_OK;
    case OLEIVERB_OPEN:
    case 1:  // "Open"
        doc->OnShowDocument(TRUE);
        return S_OK;
    case OLEIVERB_PRIMARY:  // "Edit"
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        // In place when the container can, otherwise in a window of its own.
        if (!doc->ActivateInPlace())
            doc->OnShowDocument(TRUE);
        return S_OK;
    default:
        if (verb < 0)
            return E_NOTIMPL;
        if (!doc->ActivateInPlace())
            doc->OnShowDocument(TRUE);
        return OLEOBJ_S_INVALIDVERB;
    }
}

STDMETHODIMP FxServerObject::EnumVerbs(IEnumOLEVERB** verbs)
{
    return m_pDoc != nullptr ? OleRegEnumVerbs(m_pDoc->GetClassId(), verbs) : E_UNEXPECTED;
}

STDMETHODIMP FxServerObject::Update()
{
    return m_pDoc != nullptr ? S_OK : E_UNEXPECTED;
}

STDMETHODIMP FxServerObject::GetUserClassID(CLSID* clsid)
{
    return GetClassID(clsid);
}

STDMETHODIMP FxServerObject::GetUserType(DWORD form, LPOLESTR* type)
{
    return m_pDoc != nullptr ? OleRegGetUserType(m_pDoc->GetClassId(), form, type) : E_UNEXPECTED;
}

STDMETHODIMP FxServerObject::GetExtent(DWORD aspect, SIZEL* size)
{
    if (size == nullptr)
        return E_POINTER;
    COleServerItem* item = m_pDoc != nullptr ? m_pDoc->GetEmbeddedItem() : nullptr;
    SIZE extent{};
    if (item == nullptr || !item->OnGetExtent(static_cast<DVASPECT>(aspect), extent))
        return E_FAIL;
    size->cx = extent.cx;
    size->cy = extent.cy;
    return S_OK;
}

STDMETHODIMP FxServerObject::Advise(IAdviseSink* sink, DWORD* connection)
{
    if (m_lpOleAdvise == nullptr && FAILED(CreateOleAdviseHolder(&m_lpOleAdvise)))
        return E_OUTOFMEMORY;
    return m_lpOleAdvise->Advise(sink, connection);
}

STDMETHODIMP FxServerObject::Unadvise(DWORD connection)
{
    return m_lpOleAdvise != nullptr ? m_lpOleAdvise->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP FxServerObject::EnumAdvise(IEnumSTATDATA** advises)
{
    if (advises != nullptr)
        *advises = nullptr;
    return m_lpOleAdvise != nullptr ? m_lpOleAdvise->EnumAdvise(advises) : E_FAIL;
}

STDMETHODIMP FxServerObject::GetMiscStatus(DWORD, DWORD* status)
{
    if (status == nullptr)
        return E_POINTER;
    // Nothing inside a server document can be linked to.
    *status = OLEMISC_CANTLINKINSIDE;
    return S_OK;
}

// --- IDataObject ------------------------------------------------------------

STDMETHODIMP FxServerObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (format == nullptr || medium == nullptr)
        return E_INVALIDARG;
    HRESULT hr = QueryGetData(format);
    if (hr != S_OK)
        return hr;
    COleServerItem* item = m_pDoc->GetEmbeddedItem();
    if (format->cfFormat == CF_METAFILEPICT)
        return item->RenderMetafilePicture(*medium) ? S_OK : E_FAIL;
    if (format->cfFormat == CF_ENHMETAFILE)
        return item->RenderEnhancedMetafile(*medium) ? S_OK : E_FAIL;
    // CF_TEXT: the document's data as it is stored, which for a table is
    // its text lines.
    std::string bytes;
    if (!m_pDoc->SaveEmbedding(bytes))
        return E_FAIL;
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, bytes.size() + 1);
    char* text = global ? static_cast<char*>(GlobalLock(global)) : nullptr;
    if (text == nullptr) {
        GlobalFree(global);
        return E_OUTOFMEMORY;
    }
    memcpy(text, bytes.c_str(), bytes.size() + 1);
    GlobalUnlock(global);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = global;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

STDMETHODIMP FxServerObject::QueryGetData(FORMATETC* format)
{
    if (format == nullptr)
        return E_INVALIDARG;
    if (m_pDoc == nullptr || m_pDoc->GetEmbeddedItem() == nullptr)
        return E_UNEXPECTED;
    if (format->dwAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (format->lindex != -1)
        return DV_E_LINDEX;
    return ServesFormat(*format) ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP FxServerObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out)
{
    if (in == nullptr || out == nullptr)
        return E_INVALIDARG;
    *out = *in;
    out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP FxServerObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats)
{
    if (formats == nullptr)
        return E_POINTER;
    *formats = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    FORMATETC list[] = {
        {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT},
        {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF},
        {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
    };
    return SHCreateStdEnumFmtEtc(static_cast<UINT>(std::size(list)), list, formats);
}

STDMETHODIMP FxServerObject::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection)
{
    if (m_lpDataAdvise == nullptr && FAILED(CreateDataAdviseHolder(&m_lpDataAdvise)))
        return E_OUTOFMEMORY;
    return m_lpDataAdvise->Advise(static_cast<IDataObject*>(this), format, flags, sink, connection);
}

STDMETHODIMP FxServerObject::DUnadvise(DWORD connection)
{
    return m_lpDataAdvise != nullptr ? m_lpDataAdvise->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP FxServerObject::EnumDAdvise(IEnumSTATDATA** advises)
{
    if (advises != nullptr)
        *advises = nullptr;
    return m_lpDataAdvise != nullptr ? m_lpDataAdvise->EnumAdvise(advises) : OLE_E_ADVISENOTSUPPORTED;
}

// --- IPersistStorage --------------------------------------------------------

STDMETHODIMP FxServerObject::GetClassID(CLSID* clsid)
{
    if (clsid == nullptr)
        return E_POINTER;
    if (m_pDoc == nullptr)
        return E_UNEXPECTED;
    *clsid = m_pDoc->GetClassId();
    return S_OK;
}

STDMETHODIMP FxServerObject::IsDirty()
{
    return m_pDoc != nullptr && m_pDoc->IsModified() ? S_OK : S_FALSE;
}

STDMETHODIMP FxServerObject::InitNew(IStorage* storage)
{
    if (m_pDoc == nullptr)
        return E_UNEXPECTED;
    if (storage == nullptr)
        return E_POINTER;
    if (m_lpStorage != nullptr)
        return CO_E_ALREADYINITIALIZED;
    storage->AddRef();
    m_lpStorage = storage;
    m_pDoc->OnNewEmbedding();
    return S_OK;
}

STDMETHODIMP FxServerObject::Load(IStorage* storage)
{
    if (m_pDoc == nullptr)
        return E_UNEXPECTED;
    if (storage == nullptr)
        return E_POINTER;
    if (m_lpStorage != nullptr)
        return CO_E_ALREADYINITIALIZED;
    std::string bytes;
    if (!FxReadContentsStream(storage, bytes) || !m_pDoc->LoadEmbedding(bytes))
        return STG_E_READFAULT;
    storage->AddRef();
    m_lpStorage = storage;
    return S_OK;
}

STDMETHODIMP FxServerObject::Save(IStorage* storage, BOOL sameAsLoad)
{
    if (m_pDoc == nullptr)
        return E_UNEXPECTED;
    std::string bytes;
    if (!m_pDoc->SaveEmbedding(bytes) || !FxWriteContentsStream(storage, bytes))
        return STG_E_WRITEFAULT;
    m_bSameAsLoad = sameAsLoad;
    return S_OK;
}

STDMETHODIMP FxServerObject::SaveCompleted(IStorage* storage)
{
    if (m_pDoc == nullptr)
        return E_UNEXPECTED;
    if (storage != nullptr) {
        storage->AddRef();
        if (m_lpStorage != nullptr)
            m_lpStorage->Release();
        m_lpStorage = storage;
    }
    if (storage != nullptr || m_bSameAsLoad)
        m_pDoc->SetModifiedFlag(FALSE);
    m_bSameAsLoad = FALSE;
    SendOnSave();
    return S_OK;
}

STDMETHODIMP FxServerObject::HandsOffStorage()
{
    if (m_lpStorage != nullptr)
        m_lpStorage->Release();
    m_lpStorage = nullptr;
    return S_OK;
}

// --- in place ---------------------------------------------------------------

STDMETHODIMP FxServerObject::GetWindow(HWND* window)
{
    if (window == nullptr)
        return E_POINTER;
    COleIPFrameWnd* frame = InPlaceFrame();
    *window = frame != nullptr ? frame->m_hWnd : nullptr;
    return *window != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP FxServerObject::InPlaceDeactivate()
{
    if (m_pDoc != nullptr)
        m_pDoc->DeactivateInPlace();
    return S_OK;
}

STDMETHODIMP FxServerObject::UIDeactivate()
{
    if (m_pDoc != nullptr)
        m_pDoc->OnDeactivateUI(FALSE);
    return S_OK;
}

STDMETHODIMP FxServerObject::SetObjectRects(LPCRECT pos, LPCRECT clip)
{
    COleIPFrameWnd* frame = InPlaceFrame();
    if (frame == nullptr || pos == nullptr)
        return E_UNEXPECTED;
    frame->SetObjectRects(*pos, clip != nullptr ? *clip : *pos);
    return S_OK;
}

STDMETHODIMP FxServerObject::TranslateAccelerator(LPMSG msg)
{
    // A container in this process runs the message loop: the keys of the
    // server's windows get the server's accelerators here.
    if (msg == nullptr || m_pDoc == nullptr || !m_pDoc->IsInPlaceActive())
        return S_FALSE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->PreTranslateMessage(msg) ? S_OK : S_FALSE;
}

STDMETHODIMP FxServerObject::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow*, BOOL frameWindow)
{
    COleIPFrameWnd* frame = InPlaceFrame();
    if (frame == nullptr)
        return E_UNEXPECTED;
    frame->ResizeBorder(border, frameWindow);
    return S_OK;
}
