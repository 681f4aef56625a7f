#include "table_document.h"

#include "fx/fx_string.h"
#include "fx/message_box.h"
#include "table_file.h"
#include "table_ids.h"

namespace {
void ReportFailure(UINT promptId, const char* path)
{
    AfxMessageBox(FxFormatStrings(FxLoadString(promptId).c_str(), {path ? path : ""}).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
}
}  // namespace

bool ReadTableFileReporting(const char* path, std::string& text)
{
    if (path != nullptr && ReadTableFile(path, text))
        return true;
    ReportFailure(AFX_IDP_FAILED_TO_OPEN_DOC, path);
    return false;
}

bool WriteTableFileReporting(const char* path, CTableStore& table)
{
    std::string text;
    if (path != nullptr && table.StoreTableText(text) && WriteTableFile(path, text))
        return true;
    ReportFailure(AFX_IDP_FAILED_TO_SAVE_DOC, path);
    return false;
}

BOOL FinishTableMerge(CDocument& doc, CView& view, const MergeOutcome& outcome, const std::string& fileTitle)
{
    char text[1024];  // wsprintf's limit
    if (outcome.malformed) {
        wsprintfA(text, FxLoadString(IDS_MERGE_FORMAT_TEXT).c_str(), fileTitle.c_str(), outcome.lineNumber);
        FxMessageBox(view.m_hWnd, text, FxLoadString(IDS_MERGE_FORMAT_CAPTION).c_str(), MB_OK | MB_ICONSTOP);
    } else if (outcome.readFailed) {
        FxMessageBox(view.m_hWnd, FxLoadString(IDS_MERGE_CANNOT_OPEN).c_str(),
                     FxLoadString(IDS_MERGE_PROBLEM_CAPTION).c_str(), MB_OK | MB_ICONSTOP);
    } else {
        wsprintfA(text, FxLoadString(IDS_MERGE_DONE_TEXT).c_str(), outcome.added, outcome.changed);
        if (FxMessageBox(view.m_hWnd, text, FxLoadString(IDS_MERGE_DONE_CAPTION).c_str(),
                         MB_YESNO | MB_ICONQUESTION) == IDYES) {
            const CString path = doc.GetPathName();
            if (doc.OnSaveDocument(path.c_str()))
                return TRUE;
            // The save failure has been shown; the merged rows are still
            // there, and closing must not lose them without asking.
            doc.SetModifiedFlag(TRUE);
            return FALSE;
        }
    }
    // Thrown away: the table as last saved (an emptied table included).
    const CString path = doc.GetPathName();
    doc.OnOpenDocument(path.c_str());
    return FALSE;
}
