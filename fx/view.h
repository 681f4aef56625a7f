// CView: the child window of a frame that shows a document. Commands reach
// the active view first; a view passes what it does not take to its
// document.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "fx/frame_wnd.h"

class CDocument;
class CPreviewWnd;

// A device context as the drawing code sees it.
class CDC {
public:
    HDC m_hDC = nullptr;
    BOOL m_bPrinting = FALSE;
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL IsPrinting() const { return m_bPrinting; }
};

// One print job of a view: the printer chosen, the pages, and where the
// output goes.
struct CPrintInfo {
    PRINTDLGA m_pd{};                // the print dialog's answer; m_pd.hDC prints
    BOOL m_bDirect = FALSE;          // the default printer, without the dialog
    BOOL m_bPreview = FALSE;         // rendering for print preview
    BOOL m_bContinuePrinting = TRUE; // cleared by OnPrepareDC to end early
    UINT m_nCurPage = 1;
    UINT m_nMaxPage = 1;
    RECT m_rectDraw{};               // the printable area of the page, in device units
    CString m_strOutput;             // a file to print into instead of the printer's port
    CString m_strDocName;            // the job's name
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

    // Printing: OnFilePrint asks OnPreparePrinting (by default the print
    // dialog through DoPreparePrinting), then prints every page from 1 to
    // m_nMaxPage with OnPrepareDC and OnPrint between OnBeginPrinting and
    // OnEndPrinting. Views that print list ID_FILE_PRINT in their table.
    void OnFilePrint();
    // Shows the pages in a preview window (fx/print_preview.h), measured on
    // the chosen printer. The preview goes when the view goes, and a new
    // preview of the view replaces the old one.
    void OnFilePrintPreview();
    CPreviewWnd* GetPreviewWnd() const { return m_pPreviewWnd; }
    BOOL DoPreparePrinting(CPrintInfo* info);
    virtual BOOL OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }
    virtual void OnBeginPrinting(CDC*, CPrintInfo*) {}
    virtual void OnPrepareDC(CDC*, CPrintInfo*) {}
    virtual void OnPrint(CDC* dc, CPrintInfo*) { OnDraw(dc); }
    virtual void OnEndPrinting(CDC*, CPrintInfo*) {}
    // Prints with `info` prepared; FALSE when the job failed.
    BOOL PrintPages(CPrintInfo& info);
    // Lets go of the job's device context (and of its printer blocks when
    // no application keeps them).
    static void EndPrintJob(CPrintInfo& info);
    virtual void OnUpdate(CView* sender, LPARAM hint);
    virtual void OnDraw(CDC* dc) = 0;

protected:
    CDocument* m_pDocument = nullptr;
    CPreviewWnd* m_pPreviewWnd = nullptr;
    friend class CDocument;
    friend class CPreviewWnd;

    void PostNcDestroy() override;
    void OnPaint();
    int OnMouseActivate(HWND top, UINT hitTest, UINT message);
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    void OnDestroy();
};
