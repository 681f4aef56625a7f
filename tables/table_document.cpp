#include "table_document.h"

#include "fx/fx_string.h"
#include "fx/message_box.h"
#include "table_file.h"

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
