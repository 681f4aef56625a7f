#include "table_form_view.h"

#include <commdlg.h>

#include "fx/doc_template.h"
#include "fx/fx_string.h"
#include "fx/message_box.h"
#include "table_document.h"
#include "table_ids.h"

IMPLEMENT_DYNAMIC(CTableFormView, CFormView)

BEGIN_MESSAGE_MAP(CTableFormView, CFormView)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
constexpr UINT ID_STATUS_COUNT_PANE = 59144;
constexpr UINT ID_MERGE = 32776;
constexpr UINT ID_PRINT = 57607;
constexpr UINT ID_PRINT_DIRECT = 57608;
constexpr UINT ID_PRINT_PREVIEW = 57609;
constexpr UINT ID_SAVE = 57603;

const char kOverwriteCaption[] = "PC Extension already Exists!";
const char kOverwriteText[] = "The PC Extension must be unique in the table:\n Do you wish to Overwrite/Modify?\n";
const char kRequiredCaption[] = "Entry Required!";

struct SortContext {
    const CTableFormView* view;
    int column;
};
}  // namespace

CTableFormView::CTableFormView(UINT templateId, TableFormLayout layout)
    : CFormView(templateId), m_layout(std::move(layout))
{
}

CTableStore* CTableFormView::GetTableStore() const
{
    return dynamic_cast<CTableStore*>(GetDocument());
}

// The initial update runs again when a single-document program reuses the
// view for File New: the list and fields are set up only the first time.
void CTableFormView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    if (!m_bFormReady)
        SetUpForm();
    GoIdle();

    AttachRows();
    LoadInitialTable();

    if (int count = m_listCtrl.GetItemCount(); count > 0)
        m_listCtrl.SendMessage(LVM_REDRAWITEMS, 0, count - 1);
    FitFrameToForm();
}

void CTableFormView::OnUpdate(CView* sender, LPARAM hint)
{
    if (hint == kTableRowsReplaced)
        GoIdle();
    else
        CFormView::OnUpdate(sender, hint);
}

void CTableFormView::SetUpForm()
{
    m_bFormReady = true;
    m_strCountFormat = FxLoadString(m_layout.countFormatId);

    m_listCtrl.Attach(GetDlgItem(static_cast<int>(m_layout.listId)));
    ::SetWindowLongPtrA(m_listCtrl.m_hWnd, GWL_STYLE, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL);
    ::SetWindowPos(m_listCtrl.m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);

    RECT client;
    m_listCtrl.GetClientRect(&client);
    int used = 0;
    for (const auto& column : m_layout.columns)
        if (column.width > 0)
            used += column.width;
    for (int i = 0; i < static_cast<int>(m_layout.columns.size()); ++i) {
        const auto& column = m_layout.columns[i];
        int width = column.width > 0 ? column.width : client.right - used;
        m_listCtrl.InsertColumn(i, FxLoadString(column.headingId).c_str(), LVCFMT_LEFT, width);
    }

    for (const auto& field : m_layout.fields)
        ::SendMessageA(GetDlgItem(static_cast<int>(field.id)), EM_LIMITTEXT, static_cast<WPARAM>(field.limit), 0);
    for (UINT id : m_layout.quotedFields) {
        m_quotedEdits.push_back(std::make_unique<CNoQuoteEdit>());
        m_quotedEdits.back()->SubclassDlgItem(id, this);
    }
}

void CTableFormView::FitFrameToForm()
{
    ResizeParentToFit();
    if (CFrameWnd* frame = GetParentFrame())
        OnFrameFitted(frame);
}

void CTableFormView::OnDestroy()
{
    if (CTableStore* table = GetTableStore())
        table->DeleteAllEntries();
    DetachRows();
    m_listCtrl.Detach();
    CFormView::OnDestroy();
}

// --- the entry area -------------------------------------------------------

void CTableFormView::ClearFields(bool enable)
{
    for (const auto& field : m_layout.fields) {
        HWND edit = GetDlgItem(static_cast<int>(field.id));
        ::SetWindowTextA(edit, "");
        ::EnableWindow(edit, enable);
    }
    ClearExtraFields();
}

void CTableFormView::EnableButtons(bool accept, bool del)
{
    ::EnableWindow(GetDlgItem(static_cast<int>(m_layout.acceptId)), accept);
    ::EnableWindow(GetDlgItem(static_cast<int>(m_layout.deleteId)), del);
}

void CTableFormView::GoIdle()
{
    ClearFields(false);
    EnableButtons(false, false);
    m_bNewEntry = FALSE;
    m_nEditItem = -1;
    m_loadedEntry = 0;
}

void CTableFormView::FocusKeyField()
{
    ::SetFocus(GetDlgItem(static_cast<int>(m_layout.fields.front().id)));
}

void CTableFormView::RedrawRow(int row)
{
    m_listCtrl.SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
}

int CTableFormView::LoadedRow() const
{
    if (m_loadedEntry == 0)
        return -1;
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = m_loadedEntry;
    return static_cast<int>(m_listCtrl.SendMessage(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void CTableFormView::OnNewEntry()
{
    ClearFields(true);
    EnableButtons(true, false);
    FocusKeyField();
    m_bNewEntry = TRUE;
    m_nEditItem = -1;
    m_loadedEntry = 0;
}

void CTableFormView::LoadRow(int row)
{
    if (row < 0 || row >= m_listCtrl.GetItemCount())
        return;
    ClearFields(true);
    EnableButtons(true, true);
    FillFieldsFromRow(row);
    m_bNewEntry = FALSE;
    m_nEditItem = row;
    m_loadedEntry = m_listCtrl.GetItemData(row);
}

void CTableFormView::DeleteRowModified(int row)
{
    if (DeleteRow(row))
        if (CDocument* doc = GetDocument())
            doc->SetModifiedFlag(TRUE);
}

bool CTableFormView::AskToOverwrite(int foundRow)
{
    HWND owner = GetTopLevelFrame() ? GetTopLevelFrame()->m_hWnd : m_hWnd;
    if (FxMessageBox(owner, kOverwriteText, kOverwriteCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    if (UpdateRowFromFields(foundRow, false)) {
        RedrawRow(foundRow);
        GetDocument()->SetModifiedFlag(TRUE);
    }
    ClearFields(false);
    return true;
}

void CTableFormView::OnAccept()
{
    if (!IsButtonEnabled(m_layout.acceptId))
        return;  // Alt+A reaches here whatever the button's state
    HWND owner = GetTopLevelFrame() ? GetTopLevelFrame()->m_hWnd : m_hWnd;
    for (const auto& field : m_layout.fields) {
        if (field.required != nullptr && FieldText(field.id).IsEmpty()) {
            FxMessageBox(owner, field.required, kRequiredCaption, MB_OK | MB_ICONSTOP);
            ::SetFocus(GetDlgItem(static_cast<int>(field.id)));
            return;
        }
    }
    const int found = FindKey(FieldText(m_layout.fields.front().id));
    bool changed = false;
    if (m_bNewEntry) {
        if (found < 0) {
            const int row = AddRowFromFields();
            if (row >= 0) {
                m_listCtrl.SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
                changed = true;
            }
            GoIdle();
        } else if (AskToOverwrite(found)) {
            GoIdle();
        } else {
            FocusKeyField();
        }
    } else {
        const int loaded = LoadedRow();
        if (loaded < 0) {
            GoIdle();  // the loaded row is gone
        } else if (found < 0 || found == loaded) {
            if (UpdateRowFromFields(loaded, true)) {
                RedrawRow(loaded);
                changed = true;
            }
            GoIdle();
        } else if (AskToOverwrite(found)) {
            DeleteRowModified(LoadedRow());
            GoIdle();
        } else {
            FocusKeyField();
        }
    }
    if (changed)
        GetDocument()->SetModifiedFlag(TRUE);
}

void CTableFormView::OnDeleteEntry()
{
    if (!IsButtonEnabled(m_layout.deleteId))
        return;
    const int found = FindKey(FieldText(m_layout.fields.front().id));
    if (found >= 0)
        DeleteRowModified(found);
    GoIdle();
}

bool CTableFormView::RevertTable()
{
    CDocument* doc = GetDocument();
    return doc != nullptr && doc->OnOpenDocument(doc->GetPathName().c_str());
}

void CTableFormView::OnRevert()
{
    if (RevertTable())
        GoIdle();  // the loaded record went with the old rows
}

void CTableFormView::OnSave()
{
    if (CDocument* doc = GetDocument()) {
        CString path = doc->GetPathName();
        doc->OnSaveDocument(path.c_str());
    }
}

LRESULT CTableFormView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    static const UINT fileDialogHelp = RegisterWindowMessageA(HELPMSGSTRINGA);
    if (message == fileDialogHelp) {
        if (CFrameWnd* frame = GetTopLevelFrame())
            frame->SendMessage(WM_COMMAND, ID_HELP_INDEX);
        return 0;
    }
    return CFormView::WindowProc(message, wParam, lParam);
}

void CTableFormView::OnMerge()
{
    CTableStore* table = GetTableStore();
    CDocument* doc = GetDocument();
    if (table == nullptr || doc == nullptr)
        return;
    const TableMergeResources& resources = table->GetMergeResources();
    CString ext;
    if (CDocTemplate* tmpl = doc->GetDocTemplate())
        tmpl->GetDocString(ext, CDocTemplate::filterExt);
    if (!ext.empty() && ext[0] == '.')
        ext.erase(0, 1);
    std::string path, title;
    if (!ChooseMergeFile(this, resources, ext, path, title))
        return;
    TableInputFile file(path);
    if (!file.IsOpen()) {
        FxMessageBox(m_hWnd, FxLoadString(IDS_MERGE_CANNOT_OPEN).c_str(), FxLoadString(IDS_MERGE_PROBLEM_CAPTION).c_str(),
                     MB_OK | MB_ICONSTOP);
        return;
    }
    CMergeFileDlg choice(resources, title, this);
    if (choice.DoModal() != IDOK)
        return;
    table->MergeNewMap(choice.m_nGuideline, file, title);
}

CString CTableFormView::CountText() const
{
    char text[64];
    wsprintfA(text, m_strCountFormat.c_str(), m_listCtrl.GetItemCount());
    return text;
}

// --- the list ---------------------------------------------------------------

void CTableFormView::SortByColumn(int column)
{
    SortContext context{this, column};
    m_listCtrl.SortItems(&CompareRows, reinterpret_cast<LPARAM>(&context));
    if (m_loadedEntry != 0)
        m_nEditItem = LoadedRow();
    const int top = static_cast<int>(m_listCtrl.SendMessage(LVM_GETTOPINDEX));
    const int page = static_cast<int>(m_listCtrl.SendMessage(LVM_GETCOUNTPERPAGE));
    m_listCtrl.SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(top), top + page);
    m_listCtrl.UpdateWindow();
}

int CALLBACK CTableFormView::CompareRows(LPARAM a, LPARAM b, LPARAM data)
{
    const auto* sort = reinterpret_cast<const SortContext*>(data);
    return sort->view->CompareEntries(a, b, sort->column);
}

int CTableFormView::HitTestRow(POINT client) const
{
    LVHITTESTINFO hit{};
    hit.pt = client;
    return static_cast<int>(m_listCtrl.SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void CTableFormView::OnRowClick()
{
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(m_listCtrl.m_hWnd, &at);
    if (HitTestRow(at) >= 0)
        return;
    const int row = HitTestRow({4, at.y});
    if (row >= 0) {
        m_listCtrl.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        RedrawRow(row);
    }
}

void CTableFormView::OnRowDoubleClick()
{
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(m_listCtrl.m_hWnd, &at);
    const int row = HitTestRow({4, at.y});
    if (row >= 0)
        LoadRow(row);
}

BOOL CTableFormView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr || header->idFrom != m_layout.listId)
        return CFormView::OnNotify(wParam, lParam, result);
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText != nullptr && info->item.cchTextMax > 0) {
            const std::string text = ColumnText(m_listCtrl.GetItemData(info->item.iItem), info->item.iSubItem);
            lstrcpynA(info->item.pszText, text.c_str(), info->item.cchTextMax);
        }
        break;
    }
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED))
            LoadRow(change->iItem);
        break;
    }
    case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
        break;
    case NM_CLICK:
        OnRowClick();
        break;
    case NM_DBLCLK:
        OnRowDoubleClick();
        break;
    default:
        return CFormView::OnNotify(wParam, lParam, result);
    }
    *result = 0;
    return TRUE;
}

// --- commands ---------------------------------------------------------------

BOOL CTableFormView::OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo)
{
    enum class Action { None, New, Accept, Delete, Revert, Save, Merge, Print, PrintDirect, Preview, Count };
    Action action = Action::None;
    if (id == m_layout.newId || id == m_layout.menuNewId)
        action = Action::New;
    else if (id == m_layout.acceptId || id == m_layout.menuAcceptId)
        action = Action::Accept;
    else if (id == m_layout.deleteId || id == m_layout.menuDeleteId)
        action = Action::Delete;
    else if (id == m_layout.revertId)
        action = Action::Revert;
    else if (id == ID_SAVE)
        action = Action::Save;
    else if (id == ID_MERGE)
        action = Action::Merge;
    else if (id == ID_PRINT)
        action = Action::Print;
    else if (id == ID_PRINT_DIRECT)
        action = Action::PrintDirect;
    else if (id == ID_PRINT_PREVIEW)
        action = Action::Preview;
    else if (id == ID_STATUS_COUNT_PANE)
        action = Action::Count;
    // Save and Revert have no state of their own here: each program's route
    // decides when they are enabled.
    const bool programRule = action == Action::Revert || action == Action::Save;
    if (action == Action::None || (code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI) ||
        (code == CN_UPDATE_COMMAND_UI && programRule))
        return CFormView::OnCmdMsg(id, code, pExtra, pHandlerInfo);
    if (pHandlerInfo != nullptr)
        return TRUE;

    if (code == CN_UPDATE_COMMAND_UI) {
        auto* ui = static_cast<CCmdUI*>(pExtra);
        switch (action) {
        case Action::New: ui->Enable(IsButtonEnabled(m_layout.newId)); break;
        case Action::Accept: ui->Enable(IsButtonEnabled(m_layout.acceptId)); break;
        case Action::Delete: ui->Enable(IsButtonEnabled(m_layout.deleteId)); break;
        case Action::Merge:
        case Action::Print:
        case Action::PrintDirect:
        case Action::Preview: ui->Enable(TRUE); break;
        case Action::Count: ui->Enable(TRUE); ui->SetText(CountText().c_str()); break;
        default: break;
        }
        return TRUE;
    }
    switch (action) {
    case Action::New: OnNewEntry(); break;
    case Action::Accept: OnAccept(); break;
    case Action::Delete: OnDeleteEntry(); break;
    case Action::Revert: OnRevert(); break;
    case Action::Save: OnSave(); break;
    case Action::Merge: OnMerge(); break;
    case Action::Print: OnFilePrint(); break;
    case Action::PrintDirect: OnFilePrintDirect(); break;
    case Action::Preview: OnFilePrintPreview(); break;
    default: return CFormView::OnCmdMsg(id, code, pExtra, pHandlerInfo);
    }
    return TRUE;
}
