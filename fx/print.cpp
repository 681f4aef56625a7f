#include <windows.h>
#include <commdlg.h>

#include "fx/document.h"
#include "fx/fx_ids.h"
#include "fx/message_box.h"
#include "fx/view.h"
#include "fx/win_app.h"

BOOL CView::DoPreparePrinting(CPrintInfo* info)
{
    info->m_pd.lStructSize = sizeof info->m_pd;
    CWinApp* app = AfxGetApp();
    info->m_pd.hwndOwner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    info->m_pd.Flags |= PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    if (info->m_bDirect)
        info->m_pd.Flags |= PD_RETURNDEFAULT;
    return PrintDlgA(&info->m_pd) && info->m_pd.hDC != nullptr;
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
    if (!OnPreparePrinting(&info))
        return;
    if (!PrintPages(info))
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINTING, MB_OK | MB_ICONEXCLAMATION);
    DeleteDC(info.m_pd.hDC);
    if (info.m_pd.hDevMode)
        GlobalFree(info.m_pd.hDevMode);
    if (info.m_pd.hDevNames)
        GlobalFree(info.m_pd.hDevNames);
}
