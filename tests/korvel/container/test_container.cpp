#include "test_container.h"

#include <algorithm>

namespace vtest {

namespace {

constexpr UINT WM_DEACTIVATE_OBJECT = WM_APP + 1;
// Where the object sits in the site window: larger than its natural
// 30 mm, as after the user has made it bigger, so that its form is usable.
constexpr RECT kObjectRect{16, 16, 16 + 612, 16 + 380};

LRESULT CALLBACK ContainerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* container = reinterpret_cast<TestContainer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (container != nullptr && hwnd == container->m_frame)
        return container->HandleFrameMessage(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ContainerWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = L"KorvelTestContainer";
    RegisterClassW(&wc);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpszClassName = L"KorvelTestSite";
    RegisterClassW(&wc);
}

}  // namespace

TestContainer::TestContainer()
{
    RegisterClasses();
    m_ownMenu = CreateMenu();
    m_filePopup = CreatePopupMenu();
    AppendMenuW(m_filePopup, MF_STRING, kFileSave, L"&Save");
    m_windowPopup = CreatePopupMenu();
    AppendMenuW(m_windowPopup, MF_STRING, kWindowTile, L"&Tile");
    AppendMenuW(m_ownMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(m_filePopup), L"&File");
    AppendMenuW(m_ownMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(m_windowPopup), L"&Window");
    m_frame = CreateWindowExW(0, L"KorvelTestContainer", L"Sample Container", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              40, 40, 680, 520, nullptr, m_ownMenu, GetModuleHandleW(nullptr), this);
    m_site = CreateWindowExW(WS_EX_CLIENTEDGE, L"KorvelTestSite", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             0, 0, m_frame, nullptr, GetModuleHandleW(nullptr), nullptr);
    LayoutSite();
    ShowWindow(m_frame, SW_SHOWNORMAL);
    UpdateWindow(m_frame);
}

TestContainer::~TestContainer()
{
    if (m_object != nullptr)
        Close();
    ReleaseFile();
    DestroyWindow(m_frame);
    // The container's own popups are not destroyed with the frame when the
    // frame shows another menu.
    DestroyMenu(m_ownMenu);
}

HRESULT TestContainer::MakeObject(REFCLSID clsid, IClassFactory* factory)
{
    if (factory != nullptr)
        return factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&m_object));
    // The object straight from its local server: Wine's default handler
    // does not pass on the in-place interfaces of a local server.
    return CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IOleObject, reinterpret_cast<void**>(&m_object));
}

HRESULT TestContainer::Connect()
{
    HRESULT hr = m_object->SetClientSite(this);
    if (SUCCEEDED(hr))
        hr = m_object->SetHostNames(L"Sample Container", L"Sample");
    if (SUCCEEDED(hr))
        m_object->Advise(static_cast<IAdviseSink*>(this), &m_adviseConnection);
    return hr;
}

HRESULT TestContainer::Create(REFCLSID clsid, const std::wstring& path, IClassFactory* factory)
{
    HRESULT hr = StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_TRANSACTED,
                                  0, &m_root);
    if (SUCCEEDED(hr))
        hr = m_root->CreateStorage(L"Object", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &m_storage);
    if (SUCCEEDED(hr))
        hr = MakeObject(clsid, factory);
    if (SUCCEEDED(hr))
        hr = Connect();
    IPersistStorage* persist = nullptr;
    if (SUCCEEDED(hr))
        hr = m_object->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist));
    if (SUCCEEDED(hr)) {
        hr = persist->InitNew(m_storage);
        persist->Release();
    }
    return hr;
}

HRESULT TestContainer::Load(REFCLSID clsid, const std::wstring& path, IClassFactory* factory)
{
    HRESULT hr = StgOpenStorage(path.c_str(), nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_TRANSACTED,
                                nullptr, 0, &m_root);
    if (SUCCEEDED(hr))
        hr = m_root->OpenStorage(L"Object", nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr, 0, &m_storage);
    CLSID stored{};
    if (SUCCEEDED(hr) && SUCCEEDED(ReadClassStg(m_storage, &stored)) && stored != clsid)
        hr = E_UNEXPECTED;
    if (SUCCEEDED(hr))
        hr = MakeObject(clsid, factory);
    IPersistStorage* persist = nullptr;
    if (SUCCEEDED(hr))
        hr = m_object->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist));
    if (SUCCEEDED(hr)) {
        hr = persist->Load(m_storage);
        persist->Release();
    }
    if (SUCCEEDED(hr))
        hr = Connect();
    return hr;
}

HRESULT TestContainer::Save()
{
    IPersistStorage* persist = nullptr;
    if (m_object == nullptr ||
        FAILED(m_object->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist))))
        return E_UNEXPECTED;
    HRESULT hr = OleSave(persist, m_storage, TRUE);
    persist->SaveCompleted(nullptr);
    persist->Release();
    if (SUCCEEDED(hr))
        hr = m_storage->Commit(STGC_DEFAULT);
    if (SUCCEEDED(hr))
        hr = m_root->Commit(STGC_DEFAULT);
    return hr;
}

HRESULT TestContainer::DoVerb(LONG verb)
{
    if (m_object == nullptr)
        return E_UNEXPECTED;
    RECT rect = kObjectRect;
    return m_object->DoVerb(verb, nullptr, this, 0, m_site, &rect);
}

void TestContainer::ReleaseObject()
{
    if (m_inPlaceObject != nullptr)
        m_inPlaceObject->Release();
    m_inPlaceObject = nullptr;
    if (m_activeObject != nullptr)
        m_activeObject->Release();
    m_activeObject = nullptr;
    if (m_object != nullptr)
        m_object->Release();
    m_object = nullptr;
}

HRESULT TestContainer::Close(DWORD saveOption)
{
    if (m_object == nullptr)
        return S_OK;
    if (m_inPlaceObject != nullptr)
        m_inPlaceObject->InPlaceDeactivate();
    if (m_adviseConnection != 0)
        m_object->Unadvise(m_adviseConnection);
    m_adviseConnection = 0;
    const HRESULT hr = m_object->Close(saveOption);
    m_object->SetClientSite(nullptr);
    ReleaseObject();
    return hr;
}

void TestContainer::ReleaseFile()
{
    if (m_storage != nullptr)
        m_storage->Release();
    m_storage = nullptr;
    if (m_root != nullptr)
        m_root->Release();
    m_root = nullptr;
}

HRESULT TestContainer::GetData(CLIPFORMAT format, DWORD tymed, STGMEDIUM& medium)
{
    IDataObject* data = nullptr;
    if (m_object == nullptr || FAILED(m_object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data))))
        return E_UNEXPECTED;
    FORMATETC fmt{format, nullptr, DVASPECT_CONTENT, -1, tymed};
    const HRESULT hr = data->GetData(&fmt, &medium);
    data->Release();
    return hr;
}

std::string TestContainer::StoredBytes()
{
    IStream* stream = nullptr;
    if (m_storage == nullptr ||
        FAILED(m_storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
        return "<no stream>";
    std::string bytes;
    char buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0)
        bytes.append(buffer, read);
    stream->Release();
    return bytes;
}

std::string TestContainer::Text()
{
    STGMEDIUM medium{};
    if (FAILED(GetData(CF_TEXT, TYMED_HGLOBAL, medium)))
        return "<no text>";
    std::string text = static_cast<const char*>(GlobalLock(medium.hGlobal));
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return text;
}

bool TestContainer::PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms)
            return false;
        // Short waits: what is awaited may happen in another process,
        // without a message to this one.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(ms - spent, 50), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            // An object in this process gets its keys first.
            if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && m_activeObject != nullptr &&
                m_activeObject->TranslateAccelerator(&msg) == S_OK)
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

void TestContainer::MenuCommand(UINT id)
{
    PostMessageW(m_frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void TestContainer::Resize(int width, int height)
{
    SetWindowPos(m_frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

void TestContainer::LayoutSite()
{
    RECT r;
    GetClientRect(m_frame, &r);
    r.left += m_border.left;
    r.top += m_border.top;
    r.right -= m_border.right;
    r.bottom -= m_border.bottom;
    MoveWindow(m_site, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

LRESULT TestContainer::HandleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        if (id == kFileSave || id == kWindowTile) {
            m_ownCommands.push_back(id);
        } else if (m_objectWindow != nullptr && lParam == 0) {
            // Not the container's: the active object's menu item.
            m_forwardedCommands.push_back(id);
            PostMessageW(m_objectWindow, WM_COMMAND, wParam, 0);
        }
        return 0;
    }
    case WM_SIZE: {
        LayoutSite();
        if (m_activeObject != nullptr) {
            RECT border;
            GetClientRect(m_frame, &border);
            m_activeObject->ResizeBorder(&border, &m_frameObject, TRUE);
        }
        return 0;
    }
    case WM_DEACTIVATE_OBJECT:
        if (m_inPlaceObject != nullptr)
            m_inPlaceObject->InPlaceDeactivate();
        return 0;
    default:
        return DefWindowProcW(m_frame, message, wParam, lParam);
    }
}

// --- COM ----------------------------------------------------------------------

STDMETHODIMP TestContainer::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleInPlaceSite || iid == IID_IOleWindow)
        *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IAdviseSink)
        *out = static_cast<IAdviseSink*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    return S_OK;
}

STDMETHODIMP TestContainer::SaveObject()
{
    ++m_saveObjectCalls;
    return Save();
}

STDMETHODIMP TestContainer::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestContainer::GetContainer(IOleContainer** container)
{
    *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP TestContainer::OnShowWindow(BOOL show)
{
    m_showWindow += show ? 1 : -1;
    return S_OK;
}

STDMETHODIMP TestContainer::GetWindow(HWND* window)
{
    *window = m_site;
    return S_OK;
}

STDMETHODIMP TestContainer::OnInPlaceActivate()
{
    m_inPlaceActive = true;
    if (m_inPlaceObject == nullptr && m_object != nullptr)
        m_object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_inPlaceObject));
    return S_OK;
}

STDMETHODIMP TestContainer::OnUIActivate()
{
    m_uiActive = true;
    return S_OK;
}

STDMETHODIMP TestContainer::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    *frame = &m_frameObject;
    *doc = nullptr;  // a single-document container: the frame is the document window
    *pos = kObjectRect;
    GetClientRect(m_site, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = m_frame;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP TestContainer::OnUIDeactivate(BOOL)
{
    m_uiActive = false;
    ++m_uiDeactivations;
    ::SetMenu(m_frame, m_ownMenu);
    m_border = {};
    LayoutSite();
    // The object's activation ends with its user interface.
    PostMessageW(m_frame, WM_DEACTIVATE_OBJECT, 0, 0);
    return S_OK;
}

STDMETHODIMP TestContainer::OnInPlaceDeactivate()
{
    m_inPlaceActive = false;
    m_objectWindow = nullptr;
    if (m_inPlaceObject != nullptr)
        m_inPlaceObject->Release();
    m_inPlaceObject = nullptr;
    return S_OK;
}

STDMETHODIMP TestContainer::OnPosRectChange(LPCRECT rect)
{
    ++m_posRequests;
    m_requestedRect = *rect;
    RECT clip;
    GetClientRect(m_site, &clip);
    if (m_inPlaceObject != nullptr)
        m_inPlaceObject->SetObjectRects(rect, &clip);
    return S_OK;
}

STDMETHODIMP TestContainer::Frame::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
        *out = static_cast<IOleInPlaceFrame*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP TestContainer::Frame::GetWindow(HWND* window)
{
    *window = c->m_frame;
    return S_OK;
}

STDMETHODIMP TestContainer::Frame::GetBorder(LPRECT border)
{
    GetClientRect(c->m_frame, border);
    return S_OK;
}

STDMETHODIMP TestContainer::Frame::RequestBorderSpace(LPCBORDERWIDTHS widths)
{
    RECT r;
    GetClientRect(c->m_frame, &r);
    return widths->top + widths->bottom < r.bottom / 2 ? S_OK : INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP TestContainer::Frame::SetBorderSpace(LPCBORDERWIDTHS widths)
{
    c->m_border = widths != nullptr ? *widths : BORDERWIDTHS{};
    c->LayoutSite();
    return S_OK;
}

STDMETHODIMP TestContainer::Frame::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR name)
{
    if (active != nullptr)
        active->AddRef();
    if (c->m_activeObject != nullptr)
        c->m_activeObject->Release();
    c->m_activeObject = active;
    c->m_activeObjectName = name != nullptr ? name : L"";
    return S_OK;
}

STDMETHODIMP TestContainer::Frame::InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths)
{
    // The File group first, the Window group fifth.
    const bool file = InsertMenuW(shared, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(c->m_filePopup),
                                  L"&File") != FALSE;
    const bool window = AppendMenuW(shared, MF_POPUP, reinterpret_cast<UINT_PTR>(c->m_windowPopup), L"&Window") != FALSE;
    c->m_containerMenusInserted = file && window;
    widths->width[0] = file ? 1 : 0;
    widths->width[2] = 0;
    widths->width[4] = window ? 1 : 0;
    c->m_insertedWidths = *widths;
    return S_OK;
}

STDMETHODIMP TestContainer::Frame::SetMenu(HMENU shared, HOLEMENU oleMenu, HWND objectWindow)
{
    if (shared == nullptr) {
        ::SetMenu(c->m_frame, c->m_ownMenu);
        OleSetMenuDescriptor(nullptr, c->m_frame, nullptr, nullptr, nullptr);
        c->m_sharedMenu = nullptr;
        c->m_menuShown = false;
        return S_OK;
    }
    c->m_sharedMenu = shared;
    c->m_objectWindow = objectWindow;
    c->m_menuShown = ::SetMenu(c->m_frame, shared) != FALSE;
    if (!c->m_menuShown)
        ::SetMenu(c->m_frame, c->m_ownMenu);
    OleSetMenuDescriptor(oleMenu, c->m_frame, objectWindow, this, c->m_activeObject);
    return S_OK;
}

STDMETHODIMP TestContainer::Frame::RemoveMenus(HMENU shared)
{
    for (int i = GetMenuItemCount(shared) - 1; i >= 0; --i) {
        HMENU popup = GetSubMenu(shared, i);
        if (popup == c->m_filePopup || popup == c->m_windowPopup)
            RemoveMenu(shared, static_cast<UINT>(i), MF_BYPOSITION);
    }
    return S_OK;
}

STDMETHODIMP TestContainer::Frame::SetStatusText(LPCOLESTR text)
{
    c->m_statusTexts.emplace_back(text != nullptr ? text : L"");
    return S_OK;
}

}  // namespace vtest
