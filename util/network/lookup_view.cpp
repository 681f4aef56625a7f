#include "util/network/lookup_view.h"

#include <cstring>
#include <string>
#include <vector>

#include "netinfo_block.h"
#include "util/child_frames.h"
#include "util/network/lookup_doc.h"
#include "util/network/lookup_item.h"
#include "util/resource.h"

IMPLEMENT_DYNCREATE(CVestrelLookupView, CFormView)

BEGIN_MESSAGE_MAP(CVestrelLookupView, CFormView)
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_RELEASE_LIST, OnReleaseList)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    ON_CONTROL(CBN_CLOSEUP, IDC_LOOKUP_ZONE, OnZoneCloseUp)
    ON_BN_CLICKED(IDC_STOP_LOOKUP, OnStopLookup)
    ON_BN_CLICKED(IDC_LOOKUP_CANCEL, OnCancelLookup)
    ON_NOTIFY(LVN_GETDISPINFOA, IDC_LOOKUP_LIST, OnGetDispInfo)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_LOOKUP_LIST, OnColumnClick)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdateNeedsItems)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, OnUpdateNeedsItems)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateNeedsItems)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateNeedsItems)
END_MESSAGE_MAP()

namespace {

// A zone the lists never offer: the TCP/IP servers' pseudo-zone.
const char kHiddenZone[] = "AppleShare IP Hosts";

// A NUL-terminated name of at most 32 characters from a 34-byte slot, safe
// against a slot without its NUL.
std::string SlotText(const char (&slot)[kNBPSlotSize])
{
    return std::string(slot, strnlen(slot, kNBPSlotSize - 2));
}

int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM column)
{
    const auto* first = reinterpret_cast<const LookupItem*>(a);
    const auto* second = reinterpret_cast<const LookupItem*>(b);
    const int c = static_cast<int>(column);
    return lstrcmpiA(first->Column(c).c_str(), second->Column(c).c_str());
}

}  // namespace

CVestrelLookupView::CVestrelLookupView() : CFormView(IDD_LOOKUP_FORM) {}

CVestrelLookupView::~CVestrelLookupView() = default;

CVestrelLookupDoc* CVestrelLookupView::GetLookupDoc() const
{
    return dynamic_cast<CVestrelLookupDoc*>(GetDocument());
}

void CVestrelLookupView::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_LOOKUP_ZONE, m_zoneCombo);
    DDX_Control(dx, IDC_LOOKUP_STATUS, m_status);
    DDX_Control(dx, IDC_LOOKUP_LIST, m_list);
}

// --- opening ----------------------------------------------------------------

void CVestrelLookupView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    m_hCursor = LoadCursor(nullptr, IDC_ARROW);

    // The view owns the image lists: the list only borrows them.
    ::SetWindowLongPtrA(m_list.m_hWnd, GWL_STYLE, m_list.GetStyle() | LVS_SHAREIMAGELISTS);
    m_pLargeImages = ImageList_Create(32, 32, ILC_MASK | ILC_COLOR32, 4, 4);
    m_pSmallImages = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 4, 4);
    for (int icon : {IDI_DEVICE_NODE, IDI_DEVICE_FILE_SERVER, IDI_DEVICE_LASERWRITER, IDI_DEVICE_OTHER}) {
        for (auto [list, size] : {std::pair{m_pLargeImages, 32}, std::pair{m_pSmallImages, 16}}) {
            HANDLE h = LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(icon), IMAGE_ICON, size, size, 0);
            ImageList_AddIcon(list, static_cast<HICON>(h));
            DestroyIcon(static_cast<HICON>(h));
        }
    }

    const int32_t opened = ZIPOpenEnum(&m_hZoneEnum, 0);
    m_list.EnableWindow(FALSE);
    m_zoneCombo.EnableWindow(FALSE);

    m_list.SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(m_pLargeImages));
    m_list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_pSmallImages));
    RECT r;
    m_list.GetWindowRect(&r);
    const int width = r.right - r.left;
    m_list.InsertColumn(0, FxLoadString(IDS_LOOKUP_COL_NAME).c_str(), LVCFMT_LEFT, width * 4 / 10);
    m_list.InsertColumn(1, FxLoadString(IDS_LOOKUP_COL_TYPE).c_str(), LVCFMT_LEFT, width * 4 / 10);
    m_list.InsertColumn(2, FxLoadString(IDS_LOOKUP_COL_ADDRESS).c_str(), LVCFMT_LEFT, width * 2 / 10 - 18);

    if (m_hWnd != nullptr)
        SetTimer(m_hWnd, kTimerId, kTimerPeriodMs, nullptr);
    if (CVestrelLookupDoc* doc = GetLookupDoc())
        doc->SetListCtrl(&m_list);
    ResizeParentToFit();
    if (auto* frame = dynamic_cast<CSizeLimitedChildFrame*>(GetParentFrame()))
        frame->RecordSize();

    // A zone request that could not even start fails like one that ended
    // badly: the isolated network, looked up in "*".
    if (opened != 0) {
        m_hZoneEnum = 0;
        m_nZoneStatus = opened < 0 ? opened : -1;
        FillZoneList(m_nZoneStatus);
        m_zoneCombo.EnableWindow(TRUE);
        StartLookup();
    }
}

// --- the timer's two phases -------------------------------------------------

void CVestrelLookupView::OnTimer(UINT_PTR id)
{
    if (id != kTimerId) {
        Default();
        return;
    }
    // A tick that arrives while one is being handled does nothing.
    if (m_nTimerDepth++ > 0) {
        --m_nTimerDepth;
        return;
    }
    if (m_hZoneEnum != 0)
        RunZonePhase();
    if (m_hZoneEnum == 0 && m_hLookup != 0)
        RunLookupPhase();
    --m_nTimerDepth;
}

void CVestrelLookupView::RunZonePhase()
{
    m_nZoneStatus = ZIPEnumStatus(m_hZoneEnum);
    if (m_nZoneStatus == kATResultPending) {
        SetTimer(m_hWnd, kTimerId, kTimerPeriodMs, nullptr);
        return;
    }
    FillZoneList(m_nZoneStatus);
    m_zoneCombo.EnableWindow(TRUE);
    ZIPCloseEnum(m_hZoneEnum);
    m_hZoneEnum = 0;
    StartLookup();
}

void CVestrelLookupView::FillZoneList(int32_t status)
{
    const CString isolated = FxLoadString(IDS_ISOLATED_NETWORK);
    m_zoneCombo.ResetContent();
    const uint16_t count = status == 0 ? ZIPZoneCount(m_hZoneEnum) : 0;
    for (uint16_t i = 0; i < count; ++i) {
        char zone[kATZoneNameSize] = "";
        if (ZIPReadEnum(m_hZoneEnum, i, zone) == 0 && lstrcmpiA(zone, kHiddenZone) != 0)
            m_zoneCombo.AddString(zone);
    }
    if (count > 1) {
        char mine[kATZoneNameSize] = "";
        m_nZoneStatus = ZIPGetMyZone(mine);
        if (m_nZoneStatus == 0)
            m_zoneCombo.SendMessage(CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(mine));
        return;
    }
    // One zone: offered with the isolated network after it, and chosen
    // itself. None (or only the hidden one, or a failed request): the
    // isolated network alone.
    const int isolatedIndex = m_zoneCombo.AddString(isolated.c_str());
    m_zoneCombo.SetCurSel(m_zoneCombo.GetCount() > 1 ? (isolatedIndex == 0 ? 1 : 0) : isolatedIndex);
}

void CVestrelLookupView::RunLookupPhase()
{
    const int32_t status = NBPEnumStatus(m_hLookup);
    if (status == kATResultPending)
        return;
    SetViewCursor(IDC_ARROW);
    NudgeCursor();
    m_zoneCombo.EnableWindow(TRUE);
    if (status == 0) {
        const uint16_t count = NBPFoundCount(m_hLookup);
        SetStatusText(IDS_FOUND_IN_ZONE, std::to_string(count).c_str(), m_entity.zone);
        m_list.SendMessage(WM_SETREDRAW, FALSE);
        m_list.SendMessage(LVM_SETITEMCOUNT, count);
        for (uint16_t i = 0; i < count; ++i) {
            _NBPTuple tuple{};
            if (NBPReadEnum(m_hLookup, i, &tuple) == 0)
                AddItem(-1, tuple);
        }
        m_list.SendMessage(WM_SETREDRAW, TRUE);
        m_list.SendMessage(LVM_ENSUREVISIBLE, 0, FALSE);
        m_list.Invalidate();
        m_list.EnableWindow(TRUE);
    } else if (status < 0) {
        SetStatusText(IDS_NONE_FOUND_IN_ZONE, m_entity.zone);
    }
    NBPCloseEnum(m_hLookup);
    m_hLookup = 0;
}

// --- starting and stopping --------------------------------------------------

void CVestrelLookupView::StartLookup()
{
    if (m_hZoneEnum != 0)
        return;
    if (m_hLookup != 0) {
        NBPCloseEnum(m_hLookup);
        m_hLookup = 0;
    }
    GetSelectedZone(m_entity.zone);
    NBPSetEntityName(&m_entity, "=", "=", nullptr);
    SetStatusText(IDS_LOOKING_IN_ZONE, m_entity.zone);
    SetViewCursor(IDC_WAIT);
    NudgeCursor();
    m_list.EnableWindow(FALSE);
    ClearList();
    if (NBPOpenEnum(&m_hLookup, 2, 2, kMaxAnswers, &m_entity) != 0) {
        m_hLookup = 0;
        SetViewCursor(IDC_ARROW);
        NudgeCursor();
        return;
    }
    if (m_hLookup != 0) {
        SetTimer(m_hWnd, kTimerId, kTimerPeriodMs, nullptr);
        m_zoneCombo.EnableWindow(FALSE);
    }
}

void CVestrelLookupView::StopLookup()
{
    m_zoneCombo.EnableWindow(TRUE);
    if (m_hWnd != nullptr)
        KillTimer(m_hWnd, kTimerId);
    if (m_hZoneEnum != 0) {
        ZIPCloseEnum(m_hZoneEnum);
        m_hZoneEnum = 0;
    }
    if (m_hLookup != 0) {
        NBPCloseEnum(m_hLookup);
        m_hLookup = 0;
    }
}

int32_t CVestrelLookupView::GetSelectedZone(char* zone)
{
    std::string chosen = "*";
    if (m_nZoneStatus == 0) {
        const int selected = m_zoneCombo.GetCurSel();
        const CString text = selected >= 0 ? m_zoneCombo.GetLBText(selected) : CString();
        // The isolated network is not a zone: it stands for "*".
        if (!text.IsEmpty() && text != FxLoadString(IDS_ISOLATED_NETWORK))
            chosen = text.substr(0, kATZoneNameSize - 1);
    }
    lstrcpynA(zone, chosen.c_str(), static_cast<int>(kATZoneNameSize));
    return m_nZoneStatus;
}

void CVestrelLookupView::OnZoneCloseUp()
{
    StartLookup();
}

void CVestrelLookupView::OnStopLookup()
{
    SetViewCursor(IDC_ARROW);
    NudgeCursor();
    StopLookup();
}

void CVestrelLookupView::OnCancelLookup()
{
    StopLookup();
    if (CDocument* doc = GetDocument())
        doc->OnCloseDocument();  // this view is gone afterwards
}

// --- the list ---------------------------------------------------------------

int CVestrelLookupView::ImageOfType(const char* type)
{
    if (lstrcmpiA(type, "VestrelNode") == 0)
        return 0;
    if (lstrcmpiA(type, "AFPServer") == 0)
        return 1;
    if (lstrcmpiA(type, "LaserWriter") == 0)
        return 2;
    return 3;
}

int CVestrelLookupView::AddItem(int index, const _NBPTuple& tuple)
{
    auto* item = new LookupItem{SlotText(tuple.object), SlotText(tuple.type),
                                FormatLookupAddress(tuple.network, tuple.node, tuple.socket)};
    LVITEMA lv{};
    lv.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    lv.iItem = index < 0 ? m_list.GetItemCount() : index;
    lv.pszText = LPSTR_TEXTCALLBACKA;
    lv.iImage = ImageOfType(item->m_strType.c_str());
    lv.lParam = reinterpret_cast<LPARAM>(item);
    const int at = static_cast<int>(m_list.SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lv)));
    if (at < 0) {
        delete item;  // nobody else holds it
        return -1;
    }
    m_list.SetItemText(at, 1, LPSTR_TEXTCALLBACKA);
    m_list.SetItemText(at, 2, LPSTR_TEXTCALLBACKA);
    return at;
}

const LookupItem* CVestrelLookupView::ItemAt(int index) const
{
    return reinterpret_cast<const LookupItem*>(m_list.GetItemData(index));
}

void CVestrelLookupView::ClearList()
{
    if (m_list.m_hWnd == nullptr)
        return;
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        delete ItemAt(i);
    m_list.DeleteAllItems();
}

void CVestrelLookupView::SortByColumn(int column)
{
    if (column < 0 || column > 2)
        return;
    m_list.SortItems(&CompareItems, column);
    const int top = static_cast<int>(m_list.SendMessage(LVM_GETTOPINDEX));
    const int page = static_cast<int>(m_list.SendMessage(LVM_GETCOUNTPERPAGE));
    m_list.SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(top), top + page);
    m_list.UpdateWindow();
}

void CVestrelLookupView::OnGetDispInfo(NMHDR* hdr, LRESULT* result)
{
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(hdr);
    const auto* item = reinterpret_cast<const LookupItem*>(info->item.lParam);
    if (item == nullptr)
        item = ItemAt(info->item.iItem);
    if (item != nullptr && (info->item.mask & LVIF_TEXT) && info->item.pszText != nullptr && info->item.cchTextMax > 0)
        lstrcpynA(info->item.pszText, item->Column(info->item.iSubItem).c_str(), info->item.cchTextMax);
    *result = 0;
}

void CVestrelLookupView::OnColumnClick(NMHDR* hdr, LRESULT* result)
{
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
    *result = 0;
}

void CVestrelLookupView::OnUpdateNeedsItems(CCmdUI* ui)
{
    ui->Enable(m_list.m_hWnd != nullptr && m_list.GetItemCount() > 0);
}

// --- the cursor -------------------------------------------------------------

void CVestrelLookupView::SetViewCursor(LPCSTR cursor)
{
    m_hCursor = LoadCursor(nullptr, cursor);
}

LRESULT CVestrelLookupView::OnSetCursor(WPARAM, LPARAM lParam)
{
    // While a lookup runs the hourglass shows over the whole form, its
    // controls included; otherwise each window shows its own cursor. The
    // view keeps its cursor itself rather than changing the dialog class
    // that every dialog of the program shares.
    if (LOWORD(lParam) == HTCLIENT && m_hCursor != LoadCursor(nullptr, IDC_ARROW)) {
        SetCursor(m_hCursor);
        return TRUE;
    }
    return Default();
}

void CVestrelLookupView::NudgeCursor()
{
    // Moving the mouse by one pixel makes the new cursor show at once.
    RECT client;
    GetClientRect(&client);
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    POINT at;
    if (!GetCursorPos(&at))
        return;
    if (PtInRect(&client, at)) {
        POINT up{at.x, at.y - 1};
        at.y += PtInRect(&client, up) ? -1 : 1;
    }
    SetCursorPos(at.x, at.y);
}

// --- texts and closing ------------------------------------------------------

void CVestrelLookupView::SetStatusText(UINT formatId, const char* first, const char* second)
{
    std::vector<std::string> args{first};
    if (second != nullptr)
        args.emplace_back(second);
    m_status.SetWindowText(FxFormatStrings(FxLoadString(formatId).c_str(), args).c_str());
}

void CVestrelLookupView::OnDraw(CDC*)
{
    // The caption is always the window title of the lookup type.
    if (CFrameWnd* frame = GetParentFrame())
        frame->OnUpdateFrameTitle(TRUE);
}

void CVestrelLookupView::ReleaseImagesAndItems()
{
    StopLookup();
    if (m_list.m_hWnd != nullptr) {
        m_list.SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
        m_list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    }
    if (m_pLargeImages != nullptr)
        ImageList_Destroy(m_pLargeImages);
    if (m_pSmallImages != nullptr)
        ImageList_Destroy(m_pSmallImages);
    m_pLargeImages = m_pSmallImages = nullptr;
    ClearList();
}

LRESULT CVestrelLookupView::OnReleaseList(WPARAM, LPARAM)
{
    ReleaseImagesAndItems();
    return 0;
}

void CVestrelLookupView::OnClose()
{
    ReleaseImagesAndItems();
    Default();
}

void CVestrelLookupView::OnDestroy()
{
    // However the window goes, nothing stays pending in the stack.
    ReleaseImagesAndItems();
    CFormView::OnDestroy();
}
