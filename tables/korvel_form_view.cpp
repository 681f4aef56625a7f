#include "korvel_form_view.h"

#include "korvel_form_ids.h"

IMPLEMENT_DYNAMIC(CKorvelFormView, CTableFormView)

namespace {
constexpr UINT ID_REVERT_MAP = 57601;

TableFormLayout KorvelLayout()
{
    TableFormLayout layout;
    layout.listId = IDC_KORVEL_LIST;
    layout.newId = IDC_KORVEL_NEW;
    layout.acceptId = IDC_KORVEL_ACCEPT;
    layout.deleteId = IDC_KORVEL_DELETE;
    layout.menuNewId = ID_KORVEL_NEW_ENTRY;
    layout.menuAcceptId = ID_KORVEL_ACCEPT;
    layout.menuDeleteId = ID_KORVEL_DELETE;
    layout.revertId = ID_REVERT_MAP;
    layout.countFormatId = IDS_ITEM_COUNT;
    layout.columns = {{IDS_KORVEL_COL_EXTENSION, 100}, {IDS_KORVEL_COL_TYPE, 76},
                      {IDS_KORVEL_COL_CREATOR, 76}, {IDS_KORVEL_COL_REMARK, -1}};
    layout.fields = {
        {IDC_KORVEL_EXTENSION, static_cast<int>(CKorvelEntry::kMaxExtension), "PC Extension MUST be entered!"},
        {IDC_KORVEL_TYPE, static_cast<int>(CKorvelEntry::kMacCodeLength), "MAC Type MUST be entered!"},
        {IDC_KORVEL_CREATOR, static_cast<int>(CKorvelEntry::kMacCodeLength), "MAC Creator MUST be entered!"},
        {IDC_KORVEL_REMARK, static_cast<int>(CKorvelEntry::kMaxRemark), nullptr},
    };
    layout.quotedFields = {IDC_KORVEL_TYPE, IDC_KORVEL_CREATOR};
    return layout;
}

const CKorvelEntry& EntryOf(LPARAM data)
{
    return *reinterpret_cast<const CKorvelEntry*>(data);
}
}  // namespace

CKorvelFormView::CKorvelFormView() : CTableFormView(IDD_KORVEL_FORM, KorvelLayout()) {}

void CKorvelFormView::OnInitialUpdate()
{
    if (m_extensionEdit.m_hWnd == nullptr)
        m_extensionEdit.SubclassDlgItem(IDC_KORVEL_EXTENSION, this);
    CTableFormView::OnInitialUpdate();
}

void CKorvelFormView::AttachRows()
{
    if (CTableContents<CKorvelEntry>* table = GetTableContents())
        table->m_pListCtrl = &m_rows;
}

void CKorvelFormView::DetachRows()
{
    if (CTableContents<CKorvelEntry>* table = GetTableContents(); table && table->m_pListCtrl == &m_rows)
        table->m_pListCtrl = nullptr;
}

int CKorvelFormView::FindKey(const std::string& key) const
{
    CTableContents<CKorvelEntry>* table = GetTableContents();
    return table ? table->FindEntry(key) : -1;
}

int CKorvelFormView::AddRowFromFields()
{
    CTableContents<CKorvelEntry>* table = GetTableContents();
    if (table == nullptr)
        return -1;
    return table->AddItemToList(-1, std::make_unique<CKorvelEntry>(
                                        FieldText(IDC_KORVEL_EXTENSION), FieldText(IDC_KORVEL_TYPE),
                                        FieldText(IDC_KORVEL_CREATOR), FieldText(IDC_KORVEL_REMARK)));
}

bool CKorvelFormView::UpdateRowFromFields(int row, bool withKey)
{
    CKorvelEntry* entry = EntryAt(row);
    if (entry == nullptr)
        return false;
    bool changed = false;
    if (withKey)
        changed |= AssignField(entry->m_strExtension, FieldText(IDC_KORVEL_EXTENSION));
    changed |= AssignField(entry->m_strMacType, FieldText(IDC_KORVEL_TYPE));
    changed |= AssignField(entry->m_strMacCreator, FieldText(IDC_KORVEL_CREATOR));
    changed |= AssignField(entry->m_strRemark, FieldText(IDC_KORVEL_REMARK));
    return changed;
}

void CKorvelFormView::FillFieldsFromRow(int row)
{
    if (const CKorvelEntry* entry = EntryAt(row)) {
        SetDlgItemText(IDC_KORVEL_EXTENSION, entry->m_strExtension.c_str());
        SetDlgItemText(IDC_KORVEL_TYPE, entry->m_strMacType.c_str());
        SetDlgItemText(IDC_KORVEL_CREATOR, entry->m_strMacCreator.c_str());
        SetDlgItemText(IDC_KORVEL_REMARK, entry->m_strRemark.c_str());
    }
}

bool CKorvelFormView::DeleteRow(int row)
{
    CTableContents<CKorvelEntry>* table = GetTableContents();
    return table != nullptr && table->DeleteEntry(row);
}

std::string CKorvelFormView::ColumnText(LPARAM data, int column) const
{
    if (data == 0)
        return {};
    const CKorvelEntry& entry = EntryOf(data);
    switch (column) {
    case 0: return entry.m_strExtension;
    case 1: return entry.m_strMacType;
    case 2: return entry.m_strMacCreator;
    case 3: return entry.m_strRemark;
    default: return {};
    }
}

int CKorvelFormView::CompareEntries(LPARAM a, LPARAM b, int column) const
{
    const CKorvelEntry& x = EntryOf(a);
    const CKorvelEntry& y = EntryOf(b);
    switch (column) {
    case 0: return lstrcmpiA(x.m_strExtension.c_str(), y.m_strExtension.c_str());
    case 1: return lstrcmpA(x.m_strMacType.c_str(), y.m_strMacType.c_str());
    case 2: return lstrcmpA(x.m_strMacCreator.c_str(), y.m_strMacCreator.c_str());
    case 3: return lstrcmpiA(x.m_strRemark.c_str(), y.m_strRemark.c_str());
    default: return 0;
    }
}
