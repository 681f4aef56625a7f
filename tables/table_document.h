// CTableDocument: what the printer type table and the extension map
// documents share on the framework. The rows live in the form view's list
// (see table_contents.h); this class gives the framework's document steps
// their table meaning:
//  - opening reads the whole file first, so a file that cannot be read
//    leaves the table as it was; then the table is cleared and every
//    well-formed line appended, and the modified flag cleared;
//  - saving writes every row, in the current order, over the file; only a
//    save that succeeded clears the modified flag and tells the stack;
//  - DoSave with no path means the document's own path, so no save the
//    framework starts asks for a name; Save As writes a copy under a name
//    the user picks and the document keeps its own path and title.
#pragma once

#include <string>
#include <string_view>

#include "fx/document.h"

class CTableDocument : public CDocument {
    DECLARE_DYNAMIC(CTableDocument)
    DECLARE_MESSAGE_MAP()
public:
    BOOL OnNewDocument() override;
    void DeleteContents() override;
    BOOL OnOpenDocument(const char* path) override;
    BOOL OnSaveDocument(const char* path) override;
    void OnCloseDocument() override;
    BOOL DoSave(const char* path, BOOL replace = TRUE) override;

    // The table's own steps, on the rows of the view's list.
    virtual void DeleteAllEntries() = 0;
    virtual void LoadTableText(std::string_view text) = 0;
    // False when there is no list to store.
    virtual bool StoreTableText(std::string& text) = 0;
    // Tells the stack that the table file changed; the answer is ignored.
    virtual void NotifyTableChanged() = 0;

    // Writes the table to `path` and reports a failure with the framework's
    // save-failure message; the modified flag is cleared on success. No
    // notification.
    BOOL WriteTable(const char* path);

protected:
    void OnFileSaveCopyAs();
};
