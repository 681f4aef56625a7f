// The dialogs of a merge, the same for both tables (each table gives its
// own templates and ids, table_merge_data.h):
//  - the file to merge, chosen with the system's open-file dialog;
//  - CMergeFileDlg: the guideline for rows whose key the table holds;
//  - CDuplicateEntryDlg: one such row beside the table's, and the user's
//    answer (replace the old entry, retain it, or stop merging).
#pragma once

#include <string>
#include <vector>

#include "fx/dialog.h"
#include "table_merge.h"
#include "table_merge_data.h"

// Asks for the file to merge, owned by `owner`; false when the user
// cancels. `defaultExt` is the table's file extension without its dot.
bool ChooseMergeFile(CWnd* owner, const TableMergeResources& resources, const std::string& defaultExt,
                     std::string& path, std::string& title);

class CMergeFileDlg : public CDialog {
    DECLARE_DYNAMIC(CMergeFileDlg)
public:
    CMergeFileDlg(const TableMergeResources& resources, std::string fileTitle, CWnd* parent);

    BOOL OnInitDialog() override;
    void OnOK() override;

    int m_nGuideline = MergeNone;  // set by OK: MergeReplaceTable to MergeCaseByCase

private:
    UINT m_firstGuidelineId;
    std::string m_fileTitle;
};

class CDuplicateEntryDlg : public CDialog {
    DECLARE_DYNAMIC(CDuplicateEntryDlg)
public:
    CDuplicateEntryDlg(const TableMergeResources& resources, CWnd* parent);

    // Shows the two rows (the table's and the file's) and waits for the
    // answer. "Retain Old Entry", Esc and the close box retain.
    DuplicateAnswer Ask(std::vector<DuplicateField> fields);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    UINT m_stopId;
    std::vector<DuplicateField> m_fields;
};
