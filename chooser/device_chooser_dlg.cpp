#include "device_chooser_dlg.h"

#include <cstring>

#include "chooser_ids.h"
#include "fx/controls.h"
#include "nbp_names.h"

namespace {
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 100;
constexpr int32_t kMaxPrinters = 200;
// A network without zones shows this one entry, which stands for zone "*".
constexpr char kIsolatedNetwork[] = "Isolated AppleTalk Network";

HWND Item(HWND dlg, int id) { return ::GetDlgItem(dlg, id); }
}  // namespace

BEGIN_MESSAGE_MAP(CDeviceChooserDlg, CDialog)
    ON_WM_TIMER()
    ON_CONTROL(LBN_SELCHANGE, IDC_CHOOSER_ZONES, OnZoneChanged)
END_MESSAGE_MAP()

CDeviceChooserDlg::CDeviceChooserDlg(CWnd* parent) : CDialog(IDD_DEVICE_CHOOSER, parent) {}

CDeviceChooserDlg::~CDeviceChooserDlg() { CloseLookups(); }

void CDeviceChooserDlg::CloseLookups()
{
    if (m_zoneEnum) {
        ZIPCloseEnum(m_zoneEnum);
        m_zoneEnum = 0;
    }
    if (m_nbpEnum) {
        NBPCloseEnum(m_nbpEnum);
        m_nbpEnum = 0;
    }
}

BOOL CDeviceChooserDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hasDefault = PAPGetDefaultPrinter(&m_default) == 0 && m_default.object[0] != '\0';
    if (ZIPOpenEnum(&m_zoneEnum, 0) != 0) {
        m_zoneEnum = 0;
        ShowIsolatedNetwork();
    } else {
        SetDlgItemText(IDC_CHOOSER_MESSAGE, "Looking for zones...");
        ::SetTimer(m_hWnd, kPollTimer, kPollMs, nullptr);
    }
    return TRUE;
}

void CDeviceChooserDlg::OnTimer(UINT_PTR id)
{
    if (id != kPollTimer)
        return;
    if (m_zoneEnum) {
        const int32_t status = ZIPEnumStatus(m_zoneEnum);
        if (status != kATResultPending)
            ZonesDone();
    }
    if (m_nbpEnum) {
        const int32_t status = NBPEnumStatus(m_nbpEnum);
        if (status != kATResultPending)
            PrintersDone(status);
    }
    if (!m_zoneEnum && !m_nbpEnum)
        ::KillTimer(m_hWnd, kPollTimer);
}

void CDeviceChooserDlg::ZonesDone()
{
    HWND zones = Item(m_hWnd, IDC_CHOOSER_ZONES);
    const uint16_t count = ZIPEnumStatus(m_zoneEnum) == 0 ? ZIPZoneCount(m_zoneEnum) : 0;
    for (uint16_t i = 0; i < count; ++i) {
        char zone[40] = {};
        if (ZIPReadEnum(m_zoneEnum, i, zone) == 0)
            ::SendMessageA(zones, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(zone));
    }
    ZIPCloseEnum(m_zoneEnum);
    m_zoneEnum = 0;
    if (count == 0) {
        ShowIsolatedNetwork();
        return;
    }
    // Start in the default printer's zone, else in our own.
    char start[40] = {};
    if (m_hasDefault)
        std::strncpy(start, NBPSlotText(m_default.zone).c_str(), 32);
    else
        ZIPGetMyZone(start);
    LRESULT index = ::SendMessageA(zones, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(start));
    if (index == LB_ERR)
        index = 0;
    ::SendMessageA(zones, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    OnZoneChanged();
}

void CDeviceChooserDlg::ShowIsolatedNetwork()
{
    // No zone list (a network without zones, or one that does not answer):
    // the printers are looked up in "*", the zone of every name there.
    m_isolated = true;
    HWND zones = Item(m_hWnd, IDC_CHOOSER_ZONES);
    ::SendMessageA(zones, LB_RESETCONTENT, 0, 0);
    ::SendMessageA(zones, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kIsolatedNetwork));
    ::SendMessageA(zones, LB_SETCURSEL, 0, 0);
    OnZoneChanged();
}

void CDeviceChooserDlg::OnZoneChanged()
{
    HWND zones = Item(m_hWnd, IDC_CHOOSER_ZONES);
    const LRESULT sel = ::SendMessageA(zones, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR)
        return;
    char zone[80] = {};
    if (::SendMessageA(zones, LB_GETTEXTLEN, static_cast<WPARAM>(sel), 0) >= static_cast<LRESULT>(sizeof zone))
        return;
    ::SendMessageA(zones, LB_GETTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(zone));
    if (m_nbpEnum) {
        NBPCloseEnum(m_nbpEnum);
        m_nbpEnum = 0;
    }
    m_printers.clear();
    ::SendMessageA(Item(m_hWnd, IDC_CHOOSER_PRINTERS), LB_RESETCONTENT, 0, 0);
    NBPSetEntityName(&m_entity, "=", kChooserPrinterType, m_isolated ? "*" : zone);
    if (NBPOpenEnum(&m_nbpEnum, 2, 2, kMaxPrinters, &m_entity) != 0) {
        m_nbpEnum = 0;
        SetDlgItemText(IDC_CHOOSER_MESSAGE, "The printers of this zone could not be looked up.");
        return;
    }
    SetDlgItemText(IDC_CHOOSER_MESSAGE, "Looking for printers...");
    ::SetTimer(m_hWnd, kPollTimer, kPollMs, nullptr);
}

void CDeviceChooserDlg::PrintersDone(int32_t status)
{
    HWND list = Item(m_hWnd, IDC_CHOOSER_PRINTERS);
    const uint16_t count = status == 0 ? NBPFoundCount(m_nbpEnum) : 0;
    for (uint16_t i = 0; i < count; ++i) {
        _NBPTuple tuple{};
        if (NBPReadEnum(m_nbpEnum, i, &tuple) != 0)
            continue;
        const std::string name = NBPSlotText(tuple.object);
        const LRESULT at = ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (at >= 0) {
            m_printers.push_back(tuple);
            ::SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(m_printers.size() - 1));
        }
    }
    NBPCloseEnum(m_nbpEnum);
    m_nbpEnum = 0;
    if (m_printers.empty()) {
        SetDlgItemText(IDC_CHOOSER_MESSAGE, "There are no printers in this zone.");
        return;
    }
    SetDlgItemText(IDC_CHOOSER_MESSAGE, "");
    LRESULT sel = 0;
    if (m_hasDefault) {
        const std::string name = NBPSlotText(m_default.object);
        const LRESULT found =
            ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
        if (found != LB_ERR)
            sel = found;
    }
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(sel), 0);
}

void CDeviceChooserDlg::OnOK()
{
    HWND list = Item(m_hWnd, IDC_CHOOSER_PRINTERS);
    const LRESULT sel = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR) {
        SetDlgItemText(IDC_CHOOSER_MESSAGE, "Select a printer first.");
        return;
    }
    const auto index = static_cast<std::size_t>(::SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(sel), 0));
    if (index >= m_printers.size())
        return;
    m_chosen = m_printers[index];
    if (PAPSetDefaultPrinter(&m_chosen) != 0) {
        SetDlgItemText(IDC_CHOOSER_MESSAGE, "The printer could not be made the default printer.");
        return;
    }
    CloseLookups();
    EndDialog(IDOK);
}

void CDeviceChooserDlg::OnCancel()
{
    CloseLookups();
    EndDialog(IDCANCEL);
}
