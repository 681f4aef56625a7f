#include "fx/print_preview.h"

#include <algorithm>

#include "fx/win_app.h"
#include "fx/module.h"

IMPLEMENT_DYNAMIC(CPreviewWnd, CWnd)

BEGIN_MESSAGE_MAP(CPreviewWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_COMMAND(ID_PREVIEW_PRINT, OnPrintFromPreview)
    ON_COMMAND(ID_PREVIEW_NEXT, OnNext)
    ON_COMMAND(ID_PREVIEW_PREV, OnPrev)
    ON_COMMAND(ID_PREVIEW_CLOSE, OnClosePreview)
END_MESSAGE_MAP()

namespace {
const int kBarHeight = 30;
}

CPreviewWnd::CPreviewWnd(CView* view, CPrintInfo& info, HDC reference) : m_pView(view)
{
    m_pageSize = {GetDeviceCaps(reference, HORZRES), GetDeviceCaps(reference, VERTRES)};
    // The metafile frame is in 0.01 mm.
    RECT frame{0, 0, GetDeviceCaps(reference, HORZSIZE) * 100, GetDeviceCaps(reference, VERTSIZE) * 100};
    CDC dc;
    dc.m_bPrinting = TRUE;
    dc.m_hDC = reference;
    info.m_rectDraw = {0, 0, m_pageSize.cx, m_pageSize.cy};
    m_pView->OnBeginPrinting(&dc, &info);
    for (info.m_nCurPage = 1; info.m_nCurPage <= info.m_nMaxPage; ++info.m_nCurPage) {
        dc.m_hDC = CreateEnhMetaFileA(reference, nullptr, &frame, nullptr);
        if (dc.m_hDC == nullptr)
            break;
        m_pView->OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting) {
            DeleteEnhMetaFile(CloseEnhMetaFile(dc.m_hDC));
            break;
        }
        m_pView->OnPrint(&dc, &info);
        m_pages.push_back(CloseEnhMetaFile(dc.m_hDC));
    }
    dc.m_hDC = reference;
    m_pView->OnEndPrinting(&dc, &info);
}

void CPreviewWnd::PostNcDestroy()
{
    if (m_pView != nullptr && m_pView->m_pPreviewWnd == this)
        m_pView->m_pPreviewWnd = nullptr;
    delete this;
}

CPreviewWnd::~CPreviewWnd()
{
    for (HENHMETAFILE page : m_pages)
        DeleteEnhMetaFile(page);
}

BOOL CPreviewWnd::Create(CWnd* owner)
{
    RECT r{100, 100, 700, 600};
    if (owner != nullptr)
        owner->GetWindowRect(&r);
    return CreateEx(0, RegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1)),
                    "Print Preview", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, owner ? owner->m_hWnd : nullptr, nullptr);
}

int CPreviewWnd::OnCreate(LPCREATESTRUCTA)
{
    const char* labels[] = {"&Print...", "&Next Page", "Pre&v Page", "&Close"};
    for (UINT i = 0; i < 4; ++i)
        m_buttons[i] = CreateWindowExA(0, "BUTTON", labels[i], WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                       4 + static_cast<int>(i) * 84, 3, 80, kBarHeight - 6, m_hWnd,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(i + 1)), AfxGetInstanceHandle(),
                                       nullptr);
    ShowPage(1);
    return 0;
}

void CPreviewWnd::ShowPage(int page)
{
    if (m_pages.empty())
        page = 1;
    else
        page = std::clamp(page, 1, GetPageCount());
    m_nCurrent = page - 1;
    ::EnableWindow(m_buttons[ID_PREVIEW_NEXT - 1], GetCurrentPage() < GetPageCount());
    ::EnableWindow(m_buttons[ID_PREVIEW_PREV - 1], GetCurrentPage() > 1);
    Invalidate();
}

RECT CPreviewWnd::PageArea() const
{
    RECT client;
    GetClientRect(&client);
    client.top += kBarHeight;
    InflateRect(&client, -10, -10);
    // The page keeps its proportions inside the area.
    const int availW = std::max<int>(1, client.right - client.left), availH = std::max<int>(1, client.bottom - client.top);
    const int pageW = std::max<int>(1, m_pageSize.cx), pageH = std::max<int>(1, m_pageSize.cy);
    int w = availW, h = static_cast<int>(static_cast<long long>(availW) * pageH / pageW);
    if (h > availH) {
        h = availH;
        w = static_cast<int>(static_cast<long long>(availH) * pageW / pageH);
    }
    const int x = client.left + (availW - w) / 2, y = client.top + (availH - h) / 2;
    return {x, y, x + w, y + h};
}

void CPreviewWnd::OnSize(UINT, int, int)
{
    Invalidate();
}

void CPreviewWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT page = PageArea();
    FillRect(dc, &page, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &page, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!m_pages.empty())
        PlayEnhMetaFile(dc, m_pages[static_cast<size_t>(m_nCurrent)], &page);
    EndPaint(m_hWnd, &ps);
}

void CPreviewWnd::OnPrintFromPreview()
{
    CView* view = m_pView;
    DestroyWindow();  // deletes this
    view->OnFilePrint();
}

void CView::OnFilePrintPreview()
{
    if (m_pPreviewWnd != nullptr)
        m_pPreviewWnd->DestroyWindow();
    CPrintInfo info;
    info.m_bPreview = TRUE;
    info.m_bDirect = TRUE;  // the preview asks nothing; Print from it does
    if (!OnPreparePrinting(&info) || info.m_pd.hDC == nullptr) {
        EndPrintJob(info);
        info.m_pd.hDC = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    }
    CWinApp* app = AfxGetApp();
    auto* preview = new CPreviewWnd(this, info, info.m_pd.hDC);
    if (preview->Create(app ? app->m_pMainWnd : nullptr))
        m_pPreviewWnd = preview;
    else if (!FxLastCreateAttached())
        delete preview;
    EndPrintJob(info);
}
