// CKorvelSrvrItem: the map as a container embeds it. Its data is the
// document's own (the map's text lines); its picture is an empty 30 mm
// square (3000 x 3000 HIMETRIC), whatever the map holds.
#pragma once

#include "fx/ole_server_item.h"

class CKorvelDoc;

class CKorvelSrvrItem : public COleServerItem {
public:
    explicit CKorvelSrvrItem(CKorvelDoc* doc);

    void Serialize(CArchive& ar) override;
    BOOL OnDraw(CDC* dc, SIZE& size) override;
    BOOL OnGetExtent(DVASPECT aspect, SIZE& size) override;
};
