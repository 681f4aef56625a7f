#include "rename_printer_dlg.h"

#include "fx/message_box.h"
#include "job_message_pump.h"
#include "job_texts.h"
#include "nbp_names.h"
#include "rename_dialog_ids.h"

BEGIN_MESSAGE_MAP(CRenamePrinterDlg, CDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_REN_ZONE, OnZoneChange)
    ON_CONTROL(LBN_SELCHANGE, IDC_REN_PRINTERS, OnPrinterChange)
    ON_CONTROL(EN_CHANGE, IDC_REN_NEW_NAME, OnNameEdited)
    ON_BN_CLICKED(IDC_REN_STOP_LOOKUP, OnStopLookup)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr int kNewNameLimit = 31;           // an NBP name holds 32; the product allows 31
constexpr int32_t kLookupRetryInterval = 2;
constexpr int32_t kLookupRetryCount = 2;
constexpr int32_t kLookupMaxAnswers = 1024;
constexpr DWORD kLookupPollMs = 360;
constexpr DWORD kZonePollMs = 100;
// The zone list waits without pumping messages, so it must not wait for
// ever: a stack that never answers counts as a network without zones.
constexpr DWORD kZoneListLimitMs = 15000;
constexpr std::size_t kZoneBufferSize = 36;
constexpr char kPrinterType[] = "LaserWriter";
constexpr char kAnyZone[] = "*";

std::string StringOr(UINT id, const char* english)
{
    CString text = FxLoadString(id);
    return text.IsEmpty() ? std::string(english) : std::string(text);
}

}  // namespace

CRenamePrinterDlg::CRenamePrinterDlg(PapStack& stack, JobFiles& files, std::string logFolder, CWnd* parent)
    : CDialog(IDD_RENAME_PRINTER, parent)
{
    m_pJob = std::make_unique<PAPRenameJob>(stack, static_cast<JobHost&>(*this), files, logFolder);
}

CRenamePrinterDlg::~CRenamePrinterDlg() = default;

void CRenamePrinterDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_REN_OLD_NAME, m_oldName);
    DDX_Control(dx, IDC_REN_NEW_NAME, m_newName);
    DDX_Control(dx, IDC_REN_PRINTERS, m_printers);
    DDX_Control(dx, IDC_REN_STATUS, m_status);
    DDX_Control(dx, IDC_REN_ZONE, m_zones);
}

BOOL CRenamePrinterDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_newName.LimitText(kNewNameLimit);
    EnableItem(IDC_REN_PRINTERS, FALSE);
    EnableItem(IDOK, FALSE);
    SetWaitCursor(true);
    LoadZoneList();
    SetWaitCursor(false);
    ::SetFocus(m_zones.m_hWnd);
    // The first lookup runs once the dialog is up.
    PostMessage(WM_COMMAND, MAKEWPARAM(IDC_REN_ZONE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(m_zones.m_hWnd));
    return FALSE;
}

// ---- zones and printers ----------------------------------------------------

void CRenamePrinterDlg::LoadZoneList()
{
    if (m_hZoneEnum)
        return;
    ATEnumHandle zones = 0;
    m_nZoneStatus = ZIPOpenEnum(&zones, 0);
    if (m_nZoneStatus == 0) {
        m_hZoneEnum = zones;
        const DWORD start = GetTickCount();
        do {
            SleepEx(kZonePollMs, FALSE);  // a short wait: no messages are pumped
            m_nZoneStatus = ZIPEnumStatus(zones);
        } while (m_nZoneStatus == kATResultPending && GetTickCount() - start < kZoneListLimitMs);
    }
    m_zones.ResetContent();
    if (m_nZoneStatus != 0) {
        m_zones.AddString(StringOr(IDS_REN_NO_ZONES, "Isolated AppleTalk Network").c_str());
        m_zones.SetCurSel(0);
    } else {
        char name[kZoneBufferSize] = "";
        const uint16_t count = ZIPZoneCount(zones);
        for (uint16_t i = 0; i < count; ++i) {
            name[0] = '\0';
            if (ZIPReadEnum(zones, i, name) == 0)
                m_zones.AddString(name);
        }
        name[0] = '\0';
        m_nZoneStatus = ZIPGetMyZone(name);
        if (m_nZoneStatus == 0)
            m_zones.SendMessage(CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    if (zones)
        ZIPCloseEnum(zones);
    m_hZoneEnum = 0;
    m_zones.EnableWindow(TRUE);
}

void CRenamePrinterDlg::OnZoneChange()
{
    LookupPrinters();
}

void CRenamePrinterDlg::LookupPrinters()
{
    SetDlgItemText(IDC_REN_OLD_NAME, "");
    SetDlgItemText(IDC_REN_NEW_NAME, "");
    SetWaitCursor(true);
    if (m_hZoneEnum || m_bJobStarted) {
        SetWaitCursor(false);
        return;
    }
    if (m_hLookup) {
        NBPCloseEnum(m_hLookup);
        m_hLookup = 0;
    }

    std::memset(&m_target, 0, sizeof m_target);
    NBPSetSlot(m_target.type, kPrinterType);
    const int zone = m_zones.GetCurSel();
    NBPSetSlot(m_target.zone, m_nZoneStatus == 0 && zone >= 0 ? std::string(m_zones.GetLBText(zone)) : kAnyZone);
    NBPSetEntityName(&m_target, "=", nullptr, nullptr);

    EnableControls(FALSE);
    ClearPrinters();
    ATEnumHandle lookup = 0;
    if (NBPOpenEnum(&lookup, kLookupRetryInterval, kLookupRetryCount, kLookupMaxAnswers, &m_target) != 0) {
        m_hLookup = 0;
        EnableControls(TRUE);
        SetWaitCursor(false);
        return;
    }
    m_hLookup = lookup;
    int32_t status = kATResultPending;
    while (status == kATResultPending) {
        PumpJobMessages();
        if (m_hLookup != lookup)
            return;  // Stop Lookup, Cancel or another zone took over meanwhile
        SleepEx(kLookupPollMs, FALSE);
        status = NBPEnumStatus(lookup);
    }

    EnableControls(TRUE);
    EnableItem(IDC_REN_NEW_NAME, FALSE);  // until a printer is selected
    if (status == 0) {
        ShowLookupAnswers(lookup);
    } else {
        if ((status & 0xF) == kNBPStatusNothingFound) {
            const std::string text = FormatPrintfText(StringOr(IDS_REN_NO_PRINTERS, "No Printers Found in Zone %s!"),
                                                      {std::string(m_zones.GetWindowText())});
            FxMessageBox(m_hWnd, text.c_str(), StringOr(IDS_REN_SEARCH_CAPTION, "Printer Search Status").c_str(),
                         MB_OK | MB_ICONSTOP);
        }
        EnableItem(IDOK, FALSE);
    }
    NBPCloseEnum(lookup);
    EnableItem(IDC_REN_STOP_LOOKUP, FALSE);
    m_hLookup = 0;
    SetWaitCursor(false);
}

void CRenamePrinterDlg::ShowLookupAnswers(ATEnumHandle lookup)
{
    const uint16_t count = NBPFoundCount(lookup);
    for (uint16_t i = 0; i < count; ++i) {
        _NBPTuple found{};
        if (NBPReadEnum(lookup, i, &found) != 0)
            continue;
        const int item = m_printers.AddString(NBPSlotText(found.object).c_str());
        if (item < 0)
            continue;
        PrinterRecord record{};
        NBPSetSlot(record.type, NBPSlotText(found.type));
        record.network = found.network;
        record.node = found.node;
        record.socket = found.socket;
        m_records.push_back(record);
        m_printers.SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(m_records.size()));
    }
    m_printers.SetCurSel(0);
    OnPrinterChange();
    EnableItem(IDC_REN_PRINTERS, TRUE);
}

void CRenamePrinterDlg::OnStopLookup()
{
    CloseEnumerations();
    EnableControls(TRUE);
    SetWaitCursor(false);
}

void CRenamePrinterDlg::CloseEnumerations()
{
    if (m_hZoneEnum) {
        ZIPCloseEnum(m_hZoneEnum);
        m_hZoneEnum = 0;
    }
    if (m_hLookup) {
        NBPCloseEnum(m_hLookup);
        m_hLookup = 0;
    }
}

void CRenamePrinterDlg::ClearPrinters()
{
    m_printers.ResetContent();
    m_records.clear();
    m_nSelected = -1;
}

void CRenamePrinterDlg::OnPrinterChange()
{
    m_nSelected = m_printers.GetCurSel();
    const std::string name = m_nSelected >= 0 ? std::string(m_printers.GetText(m_nSelected)) : std::string();
    EnableItem(IDC_REN_NEW_NAME, TRUE);
    SetDlgItemText(IDC_REN_NEW_NAME, name.c_str());
    SetDlgItemText(IDC_REN_OLD_NAME, name.c_str());
    // Only an edit of the proposed name makes Rename available.
    EnableItem(IDOK, FALSE);
}

void CRenamePrinterDlg::OnNameEdited()
{
    if (m_nSelected >= 0 && !m_bJobStarted)
        EnableItem(IDOK, CanRename());
}

// A printer is selected and the name field holds a name.
bool CRenamePrinterDlg::CanRename() const
{
    return m_printers.GetCurSel() >= 0 && ::GetWindowTextLengthA(m_newName.m_hWnd) > 0;
}

// ---- the rename ------------------------------------------------------------

void CRenamePrinterDlg::OnOK()
{
    // Enter reaches here too; only an enabled Rename renames, and only once.
    if (m_bJobStarted || !::IsWindowEnabled(GetDlgItem(IDOK)) || !CanRename())
        return;
    EnableItem(IDC_REN_PRINTERS, FALSE);
    const int selected = m_printers.GetCurSel();
    const auto data = static_cast<std::size_t>(m_printers.SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(selected)));
    if (data == 0 || data > m_records.size()) {
        EnableItem(IDC_REN_PRINTERS, TRUE);
        return;
    }
    const PrinterRecord& record = m_records[data - 1];
    const std::string newName(m_newName.GetWindowText());
    const std::string current(m_printers.GetText(selected));
    NBPSetSlot(m_target.object, current);
    std::memcpy(m_target.type, record.type, sizeof m_target.type);
    m_target.network = record.network;
    m_target.node = record.node;
    m_target.socket = record.socket;
    // The zone keeps the lookup's pattern.

    if (newName == current) {  // byte for byte: a change of case is a new name
        EnableItem(IDC_REN_PRINTERS, TRUE);
        return;
    }
    SetWaitCursor(true);
    EnableControls(FALSE);
    EnableItem(IDC_REN_STOP_LOOKUP, FALSE);
    EnableItem(IDC_REN_ZONE, FALSE);
    m_bJobStarted = true;
    m_pJob->Run(m_target, newName);
    SetWaitCursor(false);
    EndDialog(kJobDialogOK);  // the job has normally ended the dialog already
}

void CRenamePrinterDlg::OnCancel()
{
    CloseEnumerations();
    SetWaitCursor(false);
    if (m_bJobStarted)
        m_pJob->OnCancel();  // the connection and the block go back, then the dialog ends
    else
        EndDialog(kJobDialogCancel);
}

void CRenamePrinterDlg::OnDestroy()
{
    CWnd::OnDestroy();
    CloseEnumerations();
    ClearPrinters();
}

// ---- controls --------------------------------------------------------------

void CRenamePrinterDlg::EnableControls(BOOL on)
{
    EnableItem(IDC_REN_PRINTERS, on);
    EnableItem(IDC_REN_NEW_NAME, on);
    // Never for an empty list: Rename needs a printer and a name.
    EnableItem(IDOK, on && CanRename());
    EnableItem(IDC_REN_STOP_LOOKUP, !on);
}

void CRenamePrinterDlg::EnableItem(int id, BOOL on)
{
    if (HWND item = GetDlgItem(id))
        ::EnableWindow(item, on);
}

// The dialog's class cursor, so that it shows wherever the mouse is over it.
void CRenamePrinterDlg::SetWaitCursor(bool wait)
{
    HCURSOR cursor = ::LoadCursorA(nullptr, wait ? IDC_WAIT : IDC_ARROW);
    if (m_hWnd)
        ::SetClassLongPtrA(m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    ::SetCursor(cursor);
}

// ---- JobHost ---------------------------------------------------------------

void CRenamePrinterDlg::ShowStatus(const std::string& text)
{
    if (m_hWnd)
        SetDlgItemText(IDC_REN_STATUS, text.c_str());
}

void CRenamePrinterDlg::ShowError(const std::string& text) { AfxMessageBox(text.c_str(), MB_OK | MB_ICONSTOP); }

void CRenamePrinterDlg::EndDialog(int code)
{
    if (m_bEnded)
        return;
    m_bEnded = true;
    CDialog::EndDialog(code == kJobDialogOK ? IDOK : IDCANCEL);
}
