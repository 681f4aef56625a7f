// CKorvelDoc: the extension map ("Korvel.AFPMap") of Korvel's one window.
// Its rows are those of the view's list; after every save that succeeded
// the stack is told that the map changed. When the map file cannot be
// read, the built-in map takes its place.
//
// It is also an OLE server document: embedded in a container, it holds a
// copy of the map kept in the container's storage (no file of its own):
// a new embedding starts from the installed map (the built-in one when
// that cannot be read), Save and Revert write to and read from the
// container's storage, and the stack is not told.
#pragma once

#include "fx/ole_server_doc.h"
#include "tables/korvel_entry.h"
#include "tables/table_document.h"

class CKorvelDoc : public CTableDocumentT<CKorvelEntry, COleServerDoc> {
    DECLARE_DYNCREATE(CKorvelDoc)
public:
    void NotifyTableChanged() override;
    // An embedded map without a path saves into the container (Update).
    BOOL OnSaveDocument(const char* path) override;
    void OnNewEmbedding() override;

    // Inserts the 16 built-in rows at the top, in order, without clearing
    // the table first; nothing without a list.
    void LoadDefaults();
    // The initial load and Revert: opens the map from the path name (an
    // embedded map: from the container's storage); when that fails (the
    // open-failure message has been shown), inserts the built-in rows and
    // marks the map modified. True when the map was read.
    bool LoadMap();

protected:
    COleServerItem* OnGetEmbeddedItem() override;
};
