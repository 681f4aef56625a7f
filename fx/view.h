// CView: the child window of a frame that shows a document. Commands reach
// the active view first; a view passes what it does not take to its
// document.
#pragma once

#include "fx/frame_wnd.h"

class CDocument;

// A device context as the drawing code sees it.
class CDC {
public:
    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
    DECLARE_MESSAGE_MAP()
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    // Creates the view window as pane `id` of `parent` and joins the
    // document of `context`.
    virtual BOOL Create(CFrameWnd* parent, UINT id, CCreateContext* context);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo) override;

    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
    virtual void OnUpdate(CView* sender, LPARAM hint);
    virtual void OnDraw(CDC* dc) = 0;

protected:
    CDocument* m_pDocument = nullptr;
    friend class CDocument;

    void PostNcDestroy() override;
    void OnPaint();
    int OnMouseActivate(HWND top, UINT hitTest, UINT message);
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    void OnDestroy();
};
