#include "util/devtype/devtype_view.h"

#include "common/install_folder.h"
#include "tables/table_path.h"
#include "util/child_frames.h"
#include "util/devtype/devtype_doc.h"
#include "util/resource.h"

IMPLEMENT_DYNCREATE(CDevTypeView, CTableFormView)

namespace {
TableFormLayout DevTypeLayout()
{
    TableFormLayout layout;
    layout.listId = IDC_DEVTYPE_LIST;
    layout.newId = IDC_DEVTYPE_NEW;
    layout.acceptId = IDC_DEVTYPE_ACCEPT;
    layout.deleteId = IDC_DEVTYPE_DELETE;
    layout.menuNewId = ID_EDIT_NEW_ENTRY;
    layout.menuAcceptId = ID_EDIT_ACCEPT;
    layout.menuDeleteId = ID_EDIT_DELETE;
    layout.revertId = ID_FILE_REVERT;
    layout.countFormatId = IDS_TYPE_COUNT;
    layout.columns = {{IDS_DEVTYPE_COL_TYPE, 124}, {IDS_DEVTYPE_COL_PS, 70}, {IDS_DEVTYPE_COL_REMARK, -1}};
    layout.fields = {
        {IDC_DEVTYPE_TYPE, static_cast<int>(CDevTypeEntry::kMaxPrinterType), "Printer Type MUST be entered!"},
        {IDC_DEVTYPE_REMARK, static_cast<int>(CDevTypeEntry::kMaxRemark), nullptr},
    };
    layout.quotedFields = {IDC_DEVTYPE_TYPE};
    return layout;
}

const CDevTypeEntry& EntryOf(LPARAM data)
{
    return *reinterpret_cast<const CDevTypeEntry*>(data);
}
}  // namespace

CDevTypeView::CDevTypeView() : CTableFormView(IDD_DEVTYPE_FORM, DevTypeLayout()) {}

CDevTypeDoc* CDevTypeView::GetDevTypeDoc() const
{
    return dynamic_cast<CDevTypeDoc*>(GetDocument());
}

CDevTypeEntry* CDevTypeView::EntryAt(int row) const
{
    return m_rows.GetItemEntry(row);
}

void CDevTypeView::AttachRows()
{
    if (CDevTypeDoc* doc = GetDevTypeDoc())
        doc->m_table.m_pListCtrl = &m_rows;
}

void CDevTypeView::DetachRows()
{
    if (CDevTypeDoc* doc = GetDevTypeDoc(); doc && doc->m_table.m_pListCtrl == &m_rows)
        doc->m_table.m_pListCtrl = nullptr;
}

void CDevTypeView::LoadInitialTable()
{
    CDevTypeDoc* doc = GetDevTypeDoc();
    if (doc == nullptr)
        return;
    char program[MAX_PATH] = "";
    DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
    if (n >= sizeof program)
        program[0] = '\0';
    m_strTablePath = GetTablePath(FindInstallFolder(), program, kDevTypeTableFileName);
    doc->SetPathName(m_strTablePath.c_str());
    // A missing table is an empty one, without a message.
    if (GetFileAttributesA(m_strTablePath.c_str()) != INVALID_FILE_ATTRIBUTES)
        doc->OnOpenDocument(m_strTablePath.c_str());
    else
        doc->SetModifiedFlag(FALSE);
}

int CDevTypeView::FindKey(const std::string& key) const
{
    CDevTypeDoc* doc = GetDevTypeDoc();
    return doc ? doc->m_table.FindEntry(key) : -1;
}

const char* CDevTypeView::FlagFromBox() const
{
    return IsDlgButtonChecked(m_hWnd, IDC_DEVTYPE_POSTSCRIPT) == BST_CHECKED ? "Y" : "N";
}

int CDevTypeView::AddRowFromFields()
{
    CDevTypeDoc* doc = GetDevTypeDoc();
    if (doc == nullptr)
        return -1;
    return doc->m_table.AddItemToList(
        -1, std::make_unique<CDevTypeEntry>(FieldText(IDC_DEVTYPE_TYPE), FlagFromBox(), FieldText(IDC_DEVTYPE_REMARK)));
}

bool CDevTypeView::UpdateRowFromFields(int row, bool withKey)
{
    CDevTypeEntry* entry = EntryAt(row);
    if (entry == nullptr)
        return false;
    bool changed = false;
    if (withKey)
        changed |= AssignField(entry->m_strPrinterType, FieldText(IDC_DEVTYPE_TYPE));
    changed |= AssignField(entry->m_strPostScript, FlagFromBox());
    changed |= AssignField(entry->m_strRemark, FieldText(IDC_DEVTYPE_REMARK));
    return changed;
}

void CDevTypeView::FillFieldsFromRow(int row)
{
    if (const CDevTypeEntry* entry = EntryAt(row)) {
        SetDlgItemText(IDC_DEVTYPE_TYPE, entry->m_strPrinterType.c_str());
        CheckDlgButton(m_hWnd, IDC_DEVTYPE_POSTSCRIPT, entry->IsPostScript() ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemText(IDC_DEVTYPE_REMARK, entry->m_strRemark.c_str());
    }
}

bool CDevTypeView::DeleteRow(int row)
{
    CDevTypeDoc* doc = GetDevTypeDoc();
    return doc != nullptr && doc->m_table.DeleteEntry(row);
}

std::string CDevTypeView::ColumnText(LPARAM data, int column) const
{
    if (data == 0)
        return {};
    const CDevTypeEntry& entry = EntryOf(data);
    switch (column) {
    case 0: return entry.m_strPrinterType;
    case 1: return entry.IsPostScript() ? "Yes" : "No";
    case 2: return entry.m_strRemark;
    default: return {};
    }
}

int CDevTypeView::CompareEntries(LPARAM a, LPARAM b, int column) const
{
    const CDevTypeEntry& x = EntryOf(a);
    const CDevTypeEntry& y = EntryOf(b);
    switch (column) {
    case 0: return lstrcmpiA(x.m_strPrinterType.c_str(), y.m_strPrinterType.c_str());
    case 1: return lstrcmpA(x.m_strPostScript.c_str(), y.m_strPostScript.c_str());
    case 2: return lstrcmpiA(x.m_strRemark.c_str(), y.m_strRemark.c_str());
    default: return 0;
    }
}

void CDevTypeView::ClearExtraFields()
{
    CheckDlgButton(m_hWnd, IDC_DEVTYPE_POSTSCRIPT, BST_UNCHECKED);
}

void CDevTypeView::OnFrameFitted(CFrameWnd* frame)
{
    if (auto* limited = dynamic_cast<CSizeLimitedChildFrame*>(frame))
        limited->RecordSize();
}
