#include "util/child_frames.h"

#include "fx/doc_template.h"
#include "fx/document.h"

IMPLEMENT_DYNAMIC(CSizeLimitedChildFrame, CMDIChildWnd)
IMPLEMENT_DYNCREATE(CVestrelLookupFrm, CSizeLimitedChildFrame)
IMPLEMENT_DYNCREATE(CDevTypeFrm, CSizeLimitedChildFrame)

BEGIN_MESSAGE_MAP(CSizeLimitedChildFrame, CMDIChildWnd)
    ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

void CSizeLimitedChildFrame::RecordSize()
{
    RECT r;
    GetWindowRect(&r);
    m_nMaxWidth = r.right - r.left;
    m_nMaxHeight = r.bottom - r.top;
}

void CSizeLimitedChildFrame::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (m_nMaxWidth >= 0) {
        info->ptMaxSize = {m_nMaxWidth, m_nMaxHeight};
        info->ptMaxTrackSize = {m_nMaxWidth, m_nMaxHeight};
    }
    Default();
}

void CVestrelLookupFrm::OnUpdateFrameTitle(BOOL)
{
    CDocument* doc = GetActiveDocument();
    CString title;
    if (doc == nullptr || doc->GetDocTemplate() == nullptr ||
        !doc->GetDocTemplate()->GetDocString(title, CDocTemplate::windowTitle))
        return;
    if (GetWindowText() != title)
        SetWindowText(title.c_str());
}
