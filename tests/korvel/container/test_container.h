// A small OLE container for the tests, written on plain Win32 and OLE calls
// (no framework): one frame window with a menu (File and Window groups) and
// one site window in which the object is shown. It embeds an object in a
// compound file (substorage "Object"), saves and loads it, runs its verbs,
// and hosts in-place activation: the object's menus merged with the
// container's, border space for the object's bars, and, while an object is
// active, a menu command the container does not know is forwarded to the
// object's window (a container's own way to deliver it when the system's
// menu redirection does not reach the object). It records what the object
// asks of it, for the tests to read.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

namespace vtest {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class TestContainer final : public IOleClientSite, public IOleInPlaceSite, public IAdviseSink {
public:
    // Menu commands of the container itself.
    static constexpr UINT kFileSave = 100;
    static constexpr UINT kWindowTile = 101;

    TestContainer();
    ~TestContainer();
    TestContainer(const TestContainer&) = delete;
    TestContainer& operator=(const TestContainer&) = delete;

    // A new object of class `clsid` (from its local server, or from
    // `factory` when given) embedded in a new compound file `path`.
    HRESULT Create(REFCLSID clsid, const std::wstring& path, IClassFactory* factory = nullptr);
    // The object embedded in compound file `path`, loaded.
    HRESULT Load(REFCLSID clsid, const std::wstring& path, IClassFactory* factory = nullptr);
    // The object saved into its storage and the file committed.
    HRESULT Save();
    HRESULT DoVerb(LONG verb);
    // Closes the object and lets it go.
    HRESULT Close(DWORD saveOption = OLECLOSE_NOSAVE);
    // Lets the compound file go (another process may open it then).
    void ReleaseFile();
    // The object's text (CF_TEXT), through IDataObject.
    std::string Text();
    // The stream "Contents" of the object's storage as the container's
    // file holds it (where the object keeps its data).
    std::string StoredBytes();
    HRESULT GetData(CLIPFORMAT format, DWORD tymed, STGMEDIUM& medium);

    // Runs the message loop (the object's calls arrive through it) until
    // `done` or `ms` milliseconds; true when `done`.
    bool PumpUntil(const std::function<bool()>& done, DWORD ms = 10000);
    // A menu command as the frame receives it from its menu.
    void MenuCommand(UINT id);
    // Moves and sizes the frame (the active object is told of the border).
    void Resize(int width, int height);

    IOleObject* m_object = nullptr;
    IOleInPlaceObject* m_inPlaceObject = nullptr;
    IOleInPlaceActiveObject* m_activeObject = nullptr;
    HWND m_frame = nullptr;
    HWND m_site = nullptr;
    HMENU m_ownMenu = nullptr;
    HMENU m_filePopup = nullptr;
    HMENU m_windowPopup = nullptr;
    bool m_allowInPlace = true;

    // What the object did.
    bool m_inPlaceActive = false;
    bool m_uiActive = false;
    int m_uiDeactivations = 0;
    HWND m_objectWindow = nullptr;       // the window SetMenu named
    HMENU m_sharedMenu = nullptr;        // the shared menu SetMenu installed
    bool m_menuShown = false;            // ::SetMenu accepted it
    OLEMENUGROUPWIDTHS m_insertedWidths{};
    bool m_containerMenusInserted = false;
    BORDERWIDTHS m_border{};             // the last border space set
    std::vector<std::wstring> m_statusTexts;
    std::vector<UINT> m_forwardedCommands;
    std::vector<UINT> m_ownCommands;
    RECT m_requestedRect{};
    int m_posRequests = 0;
    int m_saveObjectCalls = 0;
    int m_onSave = 0;
    int m_onClose = 0;
    int m_showWindow = 0;                // OnShowWindow(TRUE) minus OnShowWindow(FALSE)
    std::wstring m_activeObjectName;

    // IUnknown (the container lives as long as the test's object).
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow of the site: the site window.
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return m_allowInPlace ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT rect) override;
    // IAdviseSink
    STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override {}
    STDMETHODIMP_(void) OnRename(IMoniker*) override {}
    STDMETHODIMP_(void) OnSave() override { ++m_onSave; }
    STDMETHODIMP_(void) OnClose() override { ++m_onClose; }

    // The frame's and the site's window procedure.
    LRESULT HandleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The frame window as the object sees it (its own IOleWindow: the frame
    // window, not the site's).
    struct Frame final : public IOleInPlaceFrame {
        TestContainer* c;
        explicit Frame(TestContainer* container) : c(container) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override { return 2; }
        STDMETHODIMP_(ULONG) Release() override { return 1; }
        STDMETHODIMP GetWindow(HWND* window) override;
        STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }
        STDMETHODIMP GetBorder(LPRECT border) override;
        STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
        STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
        STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR name) override;
        STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
        STDMETHODIMP SetMenu(HMENU shared, HOLEMENU oleMenu, HWND objectWindow) override;
        STDMETHODIMP RemoveMenus(HMENU shared) override;
        STDMETHODIMP SetStatusText(LPCOLESTR text) override;
        STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
        STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
    };
    Frame m_frameObject{this};

private:
    IStorage* m_root = nullptr;
    IStorage* m_storage = nullptr;
    DWORD m_adviseConnection = 0;

    HRESULT MakeObject(REFCLSID clsid, IClassFactory* factory);
    HRESULT Connect();
    void LayoutSite();
    void ReleaseObject();
};

#pragma GCC diagnostic pop

}  // namespace vtest
