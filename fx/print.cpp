#include <windows.h>
#include <commdlg.h>

#include "fx/document.h"
#include "fx/fx_ids.h"
#include "fx/message_box.h"
#include "fx/view.h"
#include "fx/win_app.h"

BOOL CView::DoPreparePrinting(CPrintInfo* info)
{
    PRINTDLGA& pd = info->m_pd;
    pd.lStructSize = sizeof pd;
    CWinApp* app = AfxGetApp();
    pd.hwndOwner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    if (app == nullptr) {
        pd.Flags |= PD_RETURNDC | (info->m_bDirect ? PD_RETURNDEFAULT : 0);
        return PrintDlgA(&pd) && pd.hDC != nullptr;
    }
    if (info->m_bDirect) {
        // The chosen printer, or the default one when the chosen printer
        // is gone.
        for (int attempt = 0; attempt < 2 && pd.hDC == nullptr; ++attempt) {
            if (!app->GetPrinterDeviceDefaults(&pd))
                return FALSE;
            pd.hDC = app->CreatePrinterDC();
            if (pd.hDC == nullptr)
                app->ClearPrinterSelection();
        }
        return pd.hDC != nullptr;
    }
    // The dialog opens on the chosen printer, and what the user picks in it
    // becomes the choice.
    app->GetPrinterDeviceDefaults(&pd);
    pd.Flags |= PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL ok = PrintDlgA(&pd);
    app->TakePrinterSelection(pd.hDevNames, pd.hDevMode);
    return ok && pd.hDC != nullptr;
}

void CView::EndPrintJob(CPrintInfo& info)
{
    if (info.m_pd.hDC != nullptr)
        DeleteDC(info.m_pd.hDC);
    info.m_pd.hDC = nullptr;
    // The printer's blocks belong to the application when it has one.
    if (AfxGetApp() == nullptr) {
        if (info.m_pd.hDevMode)
            GlobalFree(info.m_pd.hDevMode);
        if (info.m_pd.hDevNames)
            GlobalFree(info.m_pd.hDevNames);
    }
    info.m_pd.hDevMode = info.m_pd.hDevNames = nullptr;
}

BOOL CView::PrintPages(CPrintInfo& info)
{
    CDC dc;
    dc.m_hDC = info.m_pd.hDC;
    dc.m_bPrinting = TRUE;
    if (info.m_strDocName.IsEmpty() && m_pDocument != nullptr)
        info.m_strDocName = m_pDocument->GetTitle();
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = info.m_strDocName.c_str();
    doc.lpszOutput = info.m_strOutput.IsEmpty() ? nullptr : info.m_strOutput.c_str();
    OnBeginPrinting(&dc, &info);
    if (StartDocA(dc.m_hDC, &doc) <= 0) {
        OnEndPrinting(&dc, &info);
        return FALSE;
    }
    info.m_rectDraw = {0, 0, GetDeviceCaps(dc.m_hDC, HORZRES), GetDeviceCaps(dc.m_hDC, VERTRES)};
    BOOL ok = TRUE;
    for (info.m_nCurPage = 1; info.m_nCurPage <= info.m_nMaxPage; ++info.m_nCurPage) {
        OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        if (StartPage(dc.m_hDC) <= 0) {
            ok = FALSE;
            break;
        }
        OnPrint(&dc, &info);
        if (EndPage(dc.m_hDC) <= 0) {
            ok = FALSE;
            break;
        }
    }
    if (ok)
        ok = EndDoc(dc.m_hDC) > 0;
    else
        AbortDoc(dc.m_hDC);
    OnEndPrinting(&dc, &info);
    return ok;
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info)) {
        EndPrintJob(info);
        return;
    }
    if (!PrintPages(info))
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINTING, MB_OK | MB_ICONEXCLAMATION);
    EndPrintJob(info);
}
