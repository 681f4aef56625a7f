// The frames of in-place activation.
//  - COleIPFrameWnd: the server's frame while its document is active in
//    place: a child of the container's window holding the document's view
//    (and the resize bar), with the server's accelerators, its menus
//    merged into the container's, and its control bars on the container's
//    windows. Commands go view, document, this frame, application.
//  - COleCntrFrameWnd: one of the container's windows (frame or document)
//    seen as a frame for the server's control bars: it asks the container
//    for border space and places the bars inside the container's border.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "fx/frame_wnd.h"

class COleServerDoc;
class CView;

class COleCntrFrameWnd : public CFrameWnd {
public:
    COleCntrFrameWnd() = default;
    ~COleCntrFrameWnd() override;

    // Hosts bars on the container's window `hwnd`, whose border space
    // `window` hands out (not owned).
    void AttachContainer(HWND hwnd, IOleInPlaceUIWindow* window);
    // Destroys the bars and lets the container's window go.
    void DetachContainer();
    const std::vector<CControlBar*>& Bars() const { return m_controlBars; }
    // Asks for the space the visible bars need and places them.
    void RecalcLayout() override;

private:
    IOleInPlaceUIWindow* m_lpUIWindow = nullptr;
};

class COleIPFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(COleIPFrameWnd)
    DECLARE_MESSAGE_MAP()
public:
    COleIPFrameWnd() = default;
    ~COleIPFrameWnd() override;

    // Width of the hatched border the resize bar draws around the object.
    static constexpr int kResizeBorder = 4;

    COleServerDoc* m_pDoc = nullptr;
    IOleInPlaceFrame* m_lpFrame = nullptr;
    IOleInPlaceUIWindow* m_lpDocFrame = nullptr;  // null for a single-document container
    OLEINPLACEFRAMEINFO m_frameInfo{};
    RECT m_rectPos{};  // the object's place in the container's window

    // Creates the frame's control bars on the container's frame window
    // (and document window, when there is one); by default none.
    virtual BOOL OnCreateControlBars(CFrameWnd* pWndFrame, CFrameWnd* pWndDoc);

    // Steps of activation (COleServerDoc). CreateInPlace takes over the
    // references to `frame` and `uiDoc`; on failure the object is gone.
    BOOL CreateInPlace(COleServerDoc* doc, HWND parent, IOleInPlaceFrame* frame, IOleInPlaceUIWindow* uiDoc,
                       const OLEINPLACEFRAMEINFO& info);
    void AdoptView(CView* view);
    void ReturnView(CView* view, CFrameWnd* home);
    void SetObjectRects(const RECT& pos, const RECT& clip);
    void ShowServerUI(IOleInPlaceActiveObject* active, const wchar_t* name);
    void HideServerUI();
    // The container's border changed: the bars are placed again.
    void ResizeBorder(LPCRECT border, BOOL frameWindow);
    // The resize bar: the user dragged the object to `rect`.
    void RequestPositionChange(const RECT& rect);

    void RecalcLayout() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo) override;
    using CFrameWnd::SetMessageText;
    // Prompts go to the container's status line.
    void SetMessageText(const char* text) override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();

private:
    COleCntrFrameWnd m_frameBars;
    COleCntrFrameWnd m_docBars;
    HMENU m_hSharedMenu = nullptr;
    HOLEMENU m_hOleMenu = nullptr;

    void LayoutObject();
    void MergeMenus();
    void UnmergeMenus();
};
