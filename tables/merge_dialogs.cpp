#include "merge_dialogs.h"

#include <commdlg.h>

#include "fx/fx_string.h"
#include "table_ids.h"

IMPLEMENT_DYNAMIC(CMergeFileDlg, CDialog)
IMPLEMENT_DYNAMIC(CDuplicateEntryDlg, CDialog)

namespace {
constexpr int kGuidelines = 4;

// One label/pattern pair of the file dialog's filter list.
void AddFilter(std::string& filter, UINT labelId)
{
    filter += FxLoadString(labelId);
    filter += '\0';
    filter += FxLoadString(labelId + 1);
    filter += '\0';
}
}  // namespace

bool ChooseMergeFile(CWnd* owner, const TableMergeResources& resources, const std::string& defaultExt,
                     std::string& path, std::string& title)
{
    std::string filter;
    AddFilter(filter, resources.filterId);
    AddFilter(filter, IDS_MERGE_FILTER_TEXT);
    AddFilter(filter, IDS_MERGE_FILTER_ALL);
    const CString dialogTitle = FxLoadString(IDS_MERGE_DIALOG_TITLE);
    char file[261] = "";
    char fileTitle[261] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner != nullptr ? owner->m_hWnd : nullptr;
    ofn.lpstrFilter = filter.c_str();  // the list ends in the string's own terminator
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = sizeof fileTitle;
    ofn.lpstrTitle = dialogTitle.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_LONGNAMES | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn))
        return false;
    path = file;
    title = fileTitle;
    return true;
}

CMergeFileDlg::CMergeFileDlg(const TableMergeResources& resources, std::string fileTitle, CWnd* parent)
    : CDialog(resources.fileDialogId, parent),
      m_firstGuidelineId(resources.firstGuidelineId),
      m_fileTitle(std::move(fileTitle))
{
}

BOOL CMergeFileDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_MERGE_FILE_NAME, m_fileTitle.c_str());
    const int first = static_cast<int>(m_firstGuidelineId);
    CheckRadioButton(m_hWnd, first, first + kGuidelines - 1, first + MergeCaseByCase - 1);
    return TRUE;
}

void CMergeFileDlg::OnOK()
{
    for (int i = 0; i < kGuidelines; ++i)
        if (IsDlgButtonChecked(m_hWnd, static_cast<int>(m_firstGuidelineId) + i) == BST_CHECKED)
            m_nGuideline = MergeReplaceTable + i;
    CDialog::OnOK();
}

CDuplicateEntryDlg::CDuplicateEntryDlg(const TableMergeResources& resources, CWnd* parent)
    : CDialog(resources.duplicateDialogId, parent), m_stopId(resources.stopId)
{
}

DuplicateAnswer CDuplicateEntryDlg::Ask(std::vector<DuplicateField> fields)
{
    m_fields = std::move(fields);
    const INT_PTR answer = DoModal();
    if (answer == IDOK)
        return DuplicateAnswer::Replace;
    if (answer == static_cast<INT_PTR>(m_stopId))
        return DuplicateAnswer::Stop;
    return DuplicateAnswer::Retain;
}

BOOL CDuplicateEntryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const DuplicateField& field : m_fields) {
        if (field.isCheck)
            CheckDlgButton(m_hWnd, static_cast<int>(field.id), field.checked ? BST_CHECKED : BST_UNCHECKED);
        else
            SetDlgItemText(static_cast<int>(field.id), field.text.c_str());
    }
    // The answer has the focus, not a field (whose text would show selected).
    ::SetFocus(GetDlgItem(IDOK));
    return FALSE;
}

BOOL CDuplicateEntryDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == m_stopId && HIWORD(wParam) == BN_CLICKED) {
        EndDialog(static_cast<int>(m_stopId));
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
