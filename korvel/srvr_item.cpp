#include "korvel/srvr_item.h"

#include "fx/view.h"
#include "korvel/korvel_doc.h"

CKorvelSrvrItem::CKorvelSrvrItem(CKorvelDoc* doc) : COleServerItem(doc) {}

void CKorvelSrvrItem::Serialize(CArchive& ar)
{
    // The embedded item is the whole document (no links).
    if (!IsLinkedItem())
        GetDocument()->Serialize(ar);
}

BOOL CKorvelSrvrItem::OnDraw(CDC* dc, SIZE&)
{
    SetMapMode(dc->m_hDC, MM_ANISOTROPIC);
    SetWindowOrgEx(dc->m_hDC, 0, 0, nullptr);
    SetWindowExtEx(dc->m_hDC, 3000, 3000, nullptr);
    return TRUE;
}

BOOL CKorvelSrvrItem::OnGetExtent(DVASPECT aspect, SIZE& size)
{
    if (aspect != DVASPECT_CONTENT)
        return COleServerItem::OnGetExtent(aspect, size);
    size = {3000, 3000};
    return TRUE;
}
