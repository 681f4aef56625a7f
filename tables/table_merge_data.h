// What differs between the merges of the two tables: dialog templates and
// control ids, the table's own file type in the file dialog, and the
// fields the duplicate dialog shows. Everything else is one merge.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CDevTypeEntry;
class CKorvelEntry;

struct TableMergeResources {
    UINT fileDialogId;       // CMergeFileDlg
    UINT firstGuidelineId;   // the radio button of MergeReplaceTable; the other three follow
    UINT duplicateDialogId;  // CDuplicateEntryDlg
    UINT stopId;             // its "Cancel" button: stop merging
    UINT filterId;           // the table's file type: label, then its pattern at filterId + 1
};

// One control of the duplicate dialog and what it shows.
struct DuplicateField {
    UINT id;
    std::string text;  // edit fields
    bool isCheck;      // a display-only check box, checked when `checked`
    bool checked;
};

template <class Entry>
struct TableMergeTraits;

template <>
struct TableMergeTraits<CDevTypeEntry> {
    static const TableMergeResources kResources;
    static std::vector<DuplicateField> DuplicateFields(const CDevTypeEntry& old, const CDevTypeEntry& incoming);
};

template <>
struct TableMergeTraits<CKorvelEntry> {
    static const TableMergeResources kResources;
    static std::vector<DuplicateField> DuplicateFields(const CKorvelEntry& old, const CKorvelEntry& incoming);
};
