// The COM object of a server document: the interfaces a container calls
// (IOleObject, IDataObject, IPersistStorage, IOleInPlaceObject,
// IOleInPlaceActiveObject), each turned into a step of the document, and
// the container's interfaces the document is given. It lives while the
// container holds it; when the last reference goes the document closes.
// When the document goes first, the object stays for the container's
// remaining references and answers that it is not connected. Framework use
// only (fx/ole_server_doc.cpp).
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

#include "fx/interface_map.h"

class COleIPFrameWnd;
class COleServerDoc;

// COM interfaces have no virtual destructors by design: objects are ended
// by Release, never deleted through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

struct FxServerObject final : public CCmdTarget,
                              public IOleObject,
                              public IDataObject,
                              public IPersistStorage,
                              public IOleInPlaceObject,
                              public IOleInPlaceActiveObject {
    DECLARE_INTERFACE_MAP()
    // Its first reference is the one its maker hands to the container.
    explicit FxServerObject(COleServerDoc* doc) : m_pDoc(doc) {}

    COleServerDoc* m_pDoc;  // null once the document is gone

    // The container's side.
    IOleClientSite* m_lpClientSite = nullptr;
    IStorage* m_lpStorage = nullptr;
    BOOL m_bSameAsLoad = FALSE;
    IOleAdviseHolder* m_lpOleAdvise = nullptr;
    IDataAdviseHolder* m_lpDataAdvise = nullptr;
    IOleInPlaceSite* m_lpInPlaceSite = nullptr;  // while active in place

    // The document's in-place frame while it is active in place.
    COleIPFrameWnd* InPlaceFrame() const;
    // Drops every container interface (the document is closing).
    void ReleaseContainer();
    void SendOnSave();
    void SendOnClose();
    void SendOnDataChange();

    FX_IUNKNOWN_METHODS()
    // The container let go: the document closes.
    void OnFinalRelease() override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR containerApp, LPCOLESTR containerObj) override;
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent, LPCRECT rect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_FAIL; }
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP Unadvise(DWORD connection) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advises) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IDataObject
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return DATA_E_FORMATETC; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP DUnadvise(DWORD connection) override;
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA** advises) override;

    // IPersistStorage
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP InitNew(IStorage* storage) override;
    STDMETHODIMP Load(IStorage* storage) override;
    STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
    STDMETHODIMP SaveCompleted(IStorage* storage) override;
    STDMETHODIMP HandsOffStorage() override;

    // IOleWindow (of both in-place interfaces)
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }

    // IOleInPlaceObject
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }

    // IOleInPlaceActiveObject
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

private:
    ~FxServerObject() override = default;
};

#pragma GCC diagnostic pop

// The stream of a container's storage that holds a server document.
bool FxReadContentsStream(IStorage* storage, std::string& bytes);
bool FxWriteContentsStream(IStorage* storage, const std::string& bytes);
