// CTableFormView: the form that shows and edits a table document. A report
// list of every row sits above an entry area (one field per record field,
// New, Accept and Delete). The list is the document's row container; the
// derived view of each table supplies the record-specific steps (fields,
// column texts, comparisons) and the layout of its form template.
//
// The entry area is in one of three states: idle (fields empty and
// disabled, Accept and Delete disabled), new entry (fields enabled, Accept
// enabled) and row loaded (fields filled, Accept and Delete enabled). The
// loaded row is held by its record, so it is still the row Accept updates
// after a sort or after other rows were added or deleted.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fx/controls.h"
#include "fx/form_view.h"
#include "listing_printer.h"
#include "no_quote_edit.h"

// Where a table form's controls are and what its commands are.
struct TableFormLayout {
    struct Column {
        UINT headingId;  // string table entry
        int width;       // pixels; -1: what is left of the list's client width
    };
    struct Field {
        UINT id;
        int limit;             // characters
        const char* required;  // message when left empty; null when optional
    };
    UINT listId;
    UINT newId, acceptId, deleteId;                 // the buttons
    UINT menuNewId, menuAcceptId, menuDeleteId;     // the Edit menu
    UINT revertId;
    UINT countFormatId;                             // "%d ..." for the count pane
    std::vector<Column> columns;
    std::vector<Field> fields;  // the key field first
    // Fields written between double quotes in the file: they refuse the
    // double quote (CNoQuoteEdit).
    std::vector<UINT> quotedFields;
};

class CTableStore;

class CTableFormView : public CFormView {
    DECLARE_DYNAMIC(CTableFormView)
    DECLARE_MESSAGE_MAP()
public:
    CTableFormView(UINT templateId, TableFormLayout layout);

    void OnInitialUpdate() override;
    // The document cleared or replaced every row (kTableRowsReplaced): the
    // entry area goes idle, since the loaded row may be gone.
    void OnUpdate(CView* sender, LPARAM hint) override;
    BOOL OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The merge's file dialog asks its owner, the view, for help with a
    // registered message: the program's help topics answer.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CListCtrl m_listCtrl;
    BOOL m_bNewEntry = FALSE;
    int m_nEditItem = -1;          // the loaded row's index when it was loaded
    std::string m_strTablePath;
    CString m_strCountFormat;

    // The entry-area actions, as the buttons and the Edit menu run them.
    void OnNewEntry();
    void OnAccept();
    void OnDeleteEntry();
    void OnRevert();
    void OnSave();
    // File > Merge: the file, the guideline, then the document's merge.
    void OnMerge();

    // Printing the table (table_form_print.cpp): every row as one line,
    // in the list's order, under a header with the document's name and the
    // page number. Print Direct prints on the chosen printer without the
    // print dialog.
    void OnFilePrintDirect();
    BOOL OnPreparePrinting(CPrintInfo* info) override;
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;
    // The printing state of one job, measured when it begins.
    CListingPrinter m_printer;
    int m_nPrintKeyWidth = 0;
    CString m_strPageFormat;
    // Sorts the rows ascending by `column`.
    void SortByColumn(int column);
    // Fills the fields from the row at `row` and enables them.
    void LoadRow(int row);
    // The loaded row's current index; -1 when no row is loaded.
    int LoadedRow() const;
    CString CountText() const;

protected:
    TableFormLayout m_layout;
    bool m_bFormReady = false;  // the list and fields are set up (once per window)
    bool m_bPrintDirect = false;  // the job being prepared asks no questions
    LPARAM m_loadedEntry = 0;  // the record of the loaded row
    std::vector<std::unique_ptr<CNoQuoteEdit>> m_quotedEdits;

    CTableStore* GetTableStore() const;

    // The table's own steps. Rows are list indices; entries are the rows'
    // item data.
    virtual void AttachRows() = 0;  // hands the list to the document
    virtual void DetachRows() = 0;
    virtual void LoadInitialTable() = 0;
    // Revert: reads the table file again; true when it was read (the entry
    // area then goes idle). By default the document's open step.
    virtual bool RevertTable();
    virtual int FindKey(const std::string& key) const = 0;
    virtual int AddRowFromFields() = 0;  // the new row's index or -1
    // Assigns each field that differs to the row's record; the key only
    // when `withKey`. True when anything changed.
    virtual bool UpdateRowFromFields(int row, bool withKey) = 0;
    virtual void FillFieldsFromRow(int row) = 0;
    virtual bool DeleteRow(int row) = 0;  // frees the record too
    virtual std::string ColumnText(LPARAM entry, int column) const = 0;
    virtual int CompareEntries(LPARAM a, LPARAM b, int column) const = 0;
    // Clears the controls that are not edit fields (a check box).
    virtual void ClearExtraFields() {}
    // The frame was fitted to the form.
    virtual void OnFrameFitted(CFrameWnd*) {}

    // The rows go with the list: their records are freed first.
    void OnDestroy();
    CString FieldText(UINT id) const { return GetDlgItemText(static_cast<int>(id)); }
    // Copies a field's text into a record field; true when that changed it.
    static bool AssignField(std::string& field, const std::string& text)
    {
        if (field == text)
            return false;
        field = text;
        return true;
    }
    void ClearFields(bool enable);
    void EnableButtons(bool accept, bool del);
    void GoIdle();
    // Deletes a row and marks the document modified.
    void DeleteRowModified(int row);
    // Asks whether the row with the same key is to be overwritten; on Yes
    // updates it without its key and returns true.
    bool AskToOverwrite(int foundRow);
    void FocusKeyField();
    void RedrawRow(int row);

private:
    void SetUpForm();
    // The list's comparison: `data` is the view and the column being sorted.
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM data);
    void OnRowClick();
    void OnRowDoubleClick();
    int HitTestRow(POINT client) const;
    void FitFrameToForm();
    bool IsButtonEnabled(UINT id) const { return ::IsWindowEnabled(GetDlgItem(static_cast<int>(id))) != FALSE; }
};
