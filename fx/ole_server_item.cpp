#include "fx/ole_server_item.h"

#include "fx/view.h"

IMPLEMENT_DYNAMIC(COleServerItem, CCmdTarget)

COleServerItem::COleServerItem(COleServerDoc* doc) : m_pDocument(doc) {}

void COleServerItem::Serialize(CArchive&) {}

BOOL COleServerItem::OnGetExtent(DVASPECT, SIZE&)
{
    return FALSE;
}

BOOL COleServerItem::RenderMetafilePicture(STGMEDIUM& medium)
{
    SIZE size{};
    if (!OnGetExtent(DVASPECT_CONTENT, size))
        return FALSE;
    CDC dc;
    dc.m_hDC = CreateMetaFileA(nullptr);
    if (dc.m_hDC == nullptr)
        return FALSE;
    const BOOL drawn = OnDraw(&dc, size);
    HMETAFILE metafile = CloseMetaFile(dc.m_hDC);
    if (!drawn || metafile == nullptr) {
        DeleteMetaFile(metafile);
        return FALSE;
    }
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, sizeof(METAFILEPICT));
    auto* picture = global ? static_cast<METAFILEPICT*>(GlobalLock(global)) : nullptr;
    if (picture == nullptr) {
        GlobalFree(global);
        DeleteMetaFile(metafile);
        return FALSE;
    }
    picture->mm = MM_ANISOTROPIC;
    picture->xExt = size.cx;
    picture->yExt = size.cy;
    picture->hMF = metafile;
    GlobalUnlock(global);
    medium.tymed = TYMED_MFPICT;
    medium.hMetaFilePict = global;
    medium.pUnkForRelease = nullptr;
    return TRUE;
}

BOOL COleServerItem::RenderEnhancedMetafile(STGMEDIUM& medium)
{
    SIZE size{};
    if (!OnGetExtent(DVASPECT_CONTENT, size))
        return FALSE;
    // The frame of an enhanced metafile is in 0.01 mm: HIMETRIC units.
    const RECT frame{0, 0, size.cx, size.cy};
    CDC dc;
    dc.m_hDC = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    if (dc.m_hDC == nullptr)
        return FALSE;
    const BOOL drawn = OnDraw(&dc, size);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc.m_hDC);
    if (!drawn || metafile == nullptr) {
        DeleteEnhMetaFile(metafile);
        return FALSE;
    }
    medium.tymed = TYMED_ENHMF;
    medium.hEnhMetaFile = metafile;
    medium.pUnkForRelease = nullptr;
    return TRUE;
}
