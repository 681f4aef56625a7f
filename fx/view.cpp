#include "fx/view.h"

#include "fx/document.h"
#include "fx/fx_ids.h"
#include "fx/print_preview.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::~CView()
{
    if (m_pPreviewWnd != nullptr)
        m_pPreviewWnd->DestroyWindow();
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return cs.lpszClass != nullptr;
}

BOOL CView::Create(CFrameWnd* parent, UINT id, CCreateContext* context)
{
    if (context != nullptr && context->m_pCurrentDoc != nullptr)
        context->m_pCurrentDoc->AddView(this);
    RECT r;
    parent->GetClientRect(&r);
    if (!CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, r.right, r.bottom, parent->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
        if (!FxLastCreateAttached())
            delete this;
        return FALSE;
    }
    return TRUE;
}

BOOL CView::OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(id, code, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(id, code, pExtra, pHandlerInfo);
}

void CView::OnUpdate(CView*, LPARAM)
{
    Invalidate();
}

void CView::OnPaint()
{
    PAINTSTRUCT ps;
    CDC dc;
    dc.m_hDC = BeginPaint(m_hWnd, &ps);
    OnDraw(&dc);
    EndPaint(m_hWnd, &ps);
}

int CView::OnMouseActivate(HWND, UINT, UINT)
{
    // A click in a view makes it its frame's active view.
    int r = static_cast<int>(Default());
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetActiveView(this);
    return r;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnDestroy()
{
    if (m_pPreviewWnd != nullptr)
        m_pPreviewWnd->DestroyWindow();  // a preview never outlives its view
    if (CFrameWnd* frame = GetParentFrame(); frame && frame->GetActiveView() == this)
        frame->SetActiveView(nullptr);
    Default();
}

void CView::PostNcDestroy()
{
    delete this;
}
