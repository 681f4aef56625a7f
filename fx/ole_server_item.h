// COleServerItem: what a container embeds of a server document: the picture
// it shows (OnDraw, in the extent OnGetExtent gives) and the data it keeps
// (Serialize). The document makes its item on first use (OnGetEmbeddedItem)
// and deletes it with itself. Only embedded items exist here: no links.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "fx/cmd_target.h"

class CArchive;
class CDC;
class COleServerDoc;

class COleServerItem : public CCmdTarget {
    DECLARE_DYNAMIC(COleServerItem)
public:
    explicit COleServerItem(COleServerDoc* doc);

    COleServerDoc* GetDocument() const { return m_pDocument; }
    // Items of this framework are always the document's embedded item.
    BOOL IsLinkedItem() const { return FALSE; }

    // Stores or loads the item's data; by default nothing.
    virtual void Serialize(CArchive& ar);
    // Draws the item into `dc` (a metafile); `size` is its extent in
    // HIMETRIC units. FALSE when there is no picture.
    virtual BOOL OnDraw(CDC* dc, SIZE& size) = 0;
    // The item's size in HIMETRIC units for `aspect`; FALSE when it has
    // none (the framework's default for every aspect).
    virtual BOOL OnGetExtent(DVASPECT aspect, SIZE& size);

    // The picture as a metafile picture (CF_METAFILEPICT) or an enhanced
    // metafile (CF_ENHMETAFILE) in `medium`; FALSE when the item has no
    // extent or does not draw.
    BOOL RenderMetafilePicture(STGMEDIUM& medium);
    BOOL RenderEnhancedMetafile(STGMEDIUM& medium);

private:
    COleServerDoc* m_pDocument;
};
