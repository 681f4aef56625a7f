// The table documents of both programs on the framework. The rows live in
// the form view's list (see table_contents.h); these steps give the
// framework's document steps their table meaning:
//  - opening reads the whole file first, so a file that cannot be read
//    leaves the table as it was; then the table is cleared and every
//    well-formed line appended, and the modified flag cleared;
//  - saving writes every row, in the current order, over the file; only a
//    save that succeeded clears the modified flag and tells the stack;
//  - DoSave with no path means the document's own path, so no save the
//    framework starts asks for a name; Save As writes a copy under a name
//    the user picks and the document keeps its own path and title;
//  - a merge (MergeNewMap) ends in a save of the merged table or in a
//    reload of the file as last saved.
// Whenever the rows are cleared or read again, the views hear of it
// (kTableRowsReplaced), so that none holds on to a row that went.
//
// The steps are written once, over the record type of the rows and the
// framework document class they extend: `CTableDocumentT<CDevTypeEntry>`
// is a plain document, Korvel's map extends its OLE server document.
// `CTableStore` is what the form view needs from either.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "fx/archive.h"
#include "fx/document.h"
#include "fx/fx_ids.h"
#include "fx/view.h"
#include "merge_dialogs.h"
#include "table_contents.h"
#include "table_file.h"
#include "table_merge.h"
#include "table_merge_data.h"
#include "table_print.h"

// The hint with which a table document tells its views that every row was
// cleared or replaced (UpdateAllViews).
constexpr LPARAM kTableRowsReplaced = 0x7AB1E;

class CTableStore {
public:
    virtual ~CTableStore() = default;

    // The table's own steps, on the rows of the view's list.
    virtual void DeleteAllEntries() = 0;
    virtual void LoadTableText(std::string_view text) = 0;
    // False when there is no list to store.
    virtual bool StoreTableText(std::string& text) = 0;
    // Tells the stack that the table file changed; the answer is ignored.
    virtual void NotifyTableChanged() = 0;

    // Merges the lines of `file` (named `fileTitle` in messages) under
    // `guideline`; true when the merged table was saved. Nothing happens
    // without a view, without rows or with MergeNone.
    virtual BOOL MergeNewMap(int guideline, TableInputFile& file, const std::string& fileTitle) = 0;
    virtual const TableMergeResources& GetMergeResources() const = 0;

    // Printing: the length of the longest key, and the printed line of the
    // row at `row` with the key column `keyWidth` wide.
    virtual int GetLongestKey() const = 0;
    virtual std::string GetPrintLine(int row, int keyWidth) = 0;
};

// Reads the table file `path` whole; a file that cannot be read is reported
// with the framework's open-failure message.
bool ReadTableFileReporting(const char* path, std::string& text);
// Writes every row of `table` over `path`; a failure (no rows to read, a
// file that cannot be written) is reported with the framework's
// save-failure message.
bool WriteTableFileReporting(const char* path, CTableStore& table);

// The end of a merge into `doc`, shown over `view`: a malformed line or a
// file that could not be read is reported; otherwise the summary asks
// whether to save. Yes saves (and notifies); No, or a merge that went
// wrong, reads the file as last saved again. True when the merge was saved.
BOOL FinishTableMerge(CDocument& doc, CView& view, const MergeOutcome& outcome, const std::string& fileTitle);

template <class Entry, class TBase = CDocument>
class CTableDocumentT : public TBase, public CTableStore {
public:
    CTableContents<Entry> m_table;  // m_table.m_pListCtrl: the view's rows

    void DeleteAllEntries() override { m_table.DeleteAllEntries(); }
    void LoadTableText(std::string_view text) override { m_table.LoadText(text); }
    bool StoreTableText(std::string& text) override { return m_table.StoreText(text); }

    BOOL OnNewDocument() override
    {
        if (!TBase::OnNewDocument())
            return FALSE;
        DeleteContents();
        return TRUE;
    }

    void DeleteContents() override
    {
        DeleteAllEntries();
        TBase::DeleteContents();
        this->UpdateAllViews(nullptr, kTableRowsReplaced);
    }

    BOOL OnOpenDocument(const char* path) override
    {
        std::string text;
        if (!ReadTableFileReporting(path, text))
            return FALSE;
        // The list is not redrawn row by row while a whole table loads.
        if (m_table.m_pListCtrl != nullptr)
            m_table.m_pListCtrl->SetRedraw(false);
        DeleteContents();
        LoadTableText(text);
        if (m_table.m_pListCtrl != nullptr)
            m_table.m_pListCtrl->SetRedraw(true);
        this->SetModifiedFlag(FALSE);
        return TRUE;
    }

    BOOL OnSaveDocument(const char* path) override
    {
        const BOOL saved = WriteTable(path);
        if (saved == TRUE)
            NotifyTableChanged();
        return saved;
    }

    // The table as its text lines (an OLE container's storage keeps them).
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            StoreTableText(ar.Bytes());
        else
            LoadTableText(ar.Bytes());
    }

    void OnCloseDocument() override
    {
        DeleteAllEntries();
        TBase::OnCloseDocument();
    }

    BOOL DoSave(const char* path, BOOL replace = TRUE) override
    {
        return TBase::DoSave(path != nullptr ? path : this->m_strPathName.c_str(), replace);
    }

    BOOL MergeNewMap(int guideline, TableInputFile& file, const std::string& fileTitle) override
    {
        CView* view = this->GetViews().empty() ? nullptr : this->GetViews().front();
        CTableRows<Entry>* rows = m_table.m_pListCtrl;
        if (view == nullptr || rows == nullptr || guideline == MergeNone)
            return FALSE;
        rows->SetRedraw(false);
        const MergeOutcome outcome = MergeTableLines(m_table, guideline, file.Lines(),
                                                     [&](const Entry& existing, const Entry& incoming) {
                                                         rows->SetRedraw(true);
                                                         const DuplicateAnswer answer =
                                                             AskDuplicate(view, existing, incoming);
                                                         rows->SetRedraw(false);
                                                         return answer;
                                                     });
        rows->SetRedraw(true);
        if (outcome.changed > 0 && rows->GetItemCount() > 0)
            rows->RedrawItems(0, rows->GetItemCount() - 1);
        const BOOL kept = FinishTableMerge(*this, *view, outcome, fileTitle);
        this->UpdateAllViews(nullptr, kTableRowsReplaced);
        return kept;
    }

    const TableMergeResources& GetMergeResources() const override { return TableMergeTraits<Entry>::kResources; }

    int GetLongestKey() const override
    {
        std::size_t longest = 0;
        for (int i = 0; i < m_table.GetEntryCount(); ++i)
            if (const Entry* entry = m_table.GetEntry(i))
                longest = std::max(longest, entry->GetKey().size());
        return static_cast<int>(longest);
    }

    std::string GetPrintLine(int row, int keyWidth) override
    {
        Entry* entry = m_table.GetEntry(row);
        return entry != nullptr ? TablePrintLine(*entry, keyWidth) : std::string();
    }

    // The Duplicate Entry dialog, made at the first duplicate of the
    // document's life and used again for every later one.
    std::unique_ptr<CDuplicateEntryDlg> m_pDuplicateDlg;

    // Writes the table to `path` and reports a failure with the framework's
    // save-failure message; the modified flag is cleared on success. No
    // notification.
    BOOL WriteTable(const char* path)
    {
        if (!WriteTableFileReporting(path, *this))
            return FALSE;
        this->SetModifiedFlag(FALSE);
        return TRUE;
    }

    // Save As (ID_FILE_SAVE_AS) writes a copy; the document keeps its path.
    BOOL OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo) override
    {
        if (id == ID_FILE_SAVE_AS && code == CN_COMMAND) {
            if (pHandlerInfo == nullptr)
                TBase::DoSave(nullptr, FALSE);
            return TRUE;
        }
        return TBase::OnCmdMsg(id, code, pExtra, pHandlerInfo);
    }

private:
    DuplicateAnswer AskDuplicate(CView* view, const Entry& existing, const Entry& incoming)
    {
        if (!m_pDuplicateDlg)
            m_pDuplicateDlg = std::make_unique<CDuplicateEntryDlg>(GetMergeResources(), view);
        return m_pDuplicateDlg->Ask(TableMergeTraits<Entry>::DuplicateFields(existing, incoming));
    }
};
