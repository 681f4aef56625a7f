// CKorvelDoc: the extension map ("Korvel.AFPMap") of Korvel's one window.
// Its rows are those of the view's list; after every save that succeeded
// the stack is told that the map changed. When the map file cannot be
// read, the built-in map takes its place.
#pragma once

#include "tables/korvel_entry.h"
#include "tables/table_document.h"

class CKorvelDoc : public CTableDocumentT<CKorvelEntry> {
    DECLARE_DYNCREATE(CKorvelDoc)
public:
    void NotifyTableChanged() override;

    // Inserts the 16 built-in rows at the top, in order, without clearing
    // the table first; nothing without a list.
    void LoadDefaults();
    // The initial load and Revert: opens the map from the path name; when
    // that fails (the open-failure message has been shown), inserts the
    // built-in rows and marks the map modified. True when the file opened.
    bool LoadMap();
};
