// CVestrelLookupDoc: the document of a lookup window. It holds no data of
// its own: the listing is its view's list, which it reaches through the
// list control the view hands it. Saving writes the listing as text; a
// listing opened from a file gives an empty window that looks up anew. It is
// never modified, so closing never asks to save.
#pragma once

#include <string>

#include "fx/controls.h"
#include "fx/document.h"

class CVestrelLookupDoc : public CDocument {
    DECLARE_DYNCREATE(CVestrelLookupDoc)
public:
    void SetListCtrl(CListCtrl* list) { m_pListCtrl = list; }
    CListCtrl* GetListCtrl() const { return m_pListCtrl; }

    // The listing as saved: one line per list item, in list order.
    std::string ListingText() const;

    BOOL IsModified() override { return FALSE; }
    BOOL OnOpenDocument(const char* path) override;
    BOOL OnSaveDocument(const char* path) override;
    void OnCloseDocument() override;

private:
    CListCtrl* m_pListCtrl = nullptr;
};
