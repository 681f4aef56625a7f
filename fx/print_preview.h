// Print preview: the view's pages rendered, as they would be printed, into
// enhanced metafiles, and shown one at a time in a preview window over the
// main frame with Print, Next Page, Prev Page and Close buttons.
#pragma once

#include <vector>

#include "fx/view.h"

class CPreviewWnd : public CWnd {
    DECLARE_DYNAMIC(CPreviewWnd)
    DECLARE_MESSAGE_MAP()
public:
    // Renders every page of `view` with `reference` (the chosen printer's
    // device context, or the screen's when there is no printer): the view's
    // OnBeginPrinting measures on it, so fonts and page count are those of
    // the printout.
    CPreviewWnd(CView* view, CPrintInfo& info, HDC reference);
    ~CPreviewWnd() override;

    BOOL Create(CWnd* owner);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    int GetCurrentPage() const { return m_nCurrent + 1; }
    HENHMETAFILE GetPage(int page) const { return m_pages[static_cast<size_t>(page - 1)]; }
    void ShowPage(int page);

    enum : UINT { ID_PREVIEW_PRINT = 1, ID_PREVIEW_NEXT = 2, ID_PREVIEW_PREV = 3, ID_PREVIEW_CLOSE = 4 };

protected:
    void PostNcDestroy() override;
    int OnCreate(LPCREATESTRUCTA cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    void OnNext() { ShowPage(GetCurrentPage() + 1); }
    void OnPrev() { ShowPage(GetCurrentPage() - 1); }
    void OnClosePreview() { DestroyWindow(); }
    void OnPrintFromPreview();

private:
    CView* m_pView;
    std::vector<HENHMETAFILE> m_pages;
    SIZE m_pageSize{};  // device units of the reference
    int m_nCurrent = 0;
    HWND m_buttons[4]{};
    RECT PageArea() const;
};
