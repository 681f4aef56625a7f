#include "printer_status_dlg.h"

#include <cstring>

#include "chooser_ids.h"
#include "kestra32.h"
#include "molven32.h"
#include "nbp_names.h"

namespace {
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 100;
constexpr unsigned kCancelWaitMs = 2000;
// The stack's answer when no default printer has been set; any other
// failure means the network (the stack's service) cannot be reached.
constexpr int32_t kNoDefaultPrinter = -1;
}  // namespace

BEGIN_MESSAGE_MAP(CPrinterStatusDlg, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CPrinterStatusDlg::CPrinterStatusDlg(CWnd* parent) : CDialog(IDD_PRINTER_STATUS, parent) {}

CPrinterStatusDlg::~CPrinterStatusDlg() { Release(); }

BOOL CPrinterStatusDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const int32_t found = PAPGetDefaultPrinter(&m_printer);
    if (found != 0 && found != kNoDefaultPrinter) {
        SetDlgItemText(IDC_STATUS_PRINTER, "(unknown)");
        SetDlgItemText(IDC_STATUS_TEXT, "The AppleTalk network cannot be reached.");
        return TRUE;
    }
    if (found != 0 || m_printer.object[0] == '\0') {
        SetDlgItemText(IDC_STATUS_PRINTER, "(none)");
        SetDlgItemText(IDC_STATUS_TEXT, "No printer has been chosen. Use Choose... on the Printer menu.");
        return TRUE;
    }
    const std::string name =
        NBPSlotText(m_printer.object) + ":" + NBPSlotText(m_printer.type) + "@" + NBPSlotText(m_printer.zone);
    SetDlgItemText(IDC_STATUS_PRINTER, name.c_str());
    void* block = nullptr;
    if (MPPAlloc(&block, sizeof(Requests)) != 0 || !block) {
        SetDlgItemText(IDC_STATUS_TEXT, "The status could not be asked for.");
        return TRUE;
    }
    m_pRequests = static_cast<Requests*>(block);
    std::memset(m_pRequests, 0, sizeof(Requests));
    SetDlgItemText(IDC_STATUS_TEXT, "Asking the printer...");
    AskStatus();
    ::SetTimer(m_hWnd, kPollTimer, kPollMs, nullptr);
    return TRUE;
}

void CPrinterStatusDlg::AskStatus()
{
    PAPParamBlock& status = m_pRequests->status;
    status.printer = m_printer;
    status.BeginRequest(kPAPStatus);
    ATALKDispatch(&status);
    m_bAnswered = false;
}

void CPrinterStatusDlg::OnTimer(UINT_PTR id)
{
    if (!m_pRequests)
        return;
    if (id == kPollTimer) {
        const int32_t result = m_pRequests->status.Result();
        if (result == kATResultPending || m_bAnswered)
            return;
        m_bAnswered = true;
        if (result == 0) {
            const std::string text = m_pRequests->status.StatusString();
            SetDlgItemText(IDC_STATUS_TEXT, text.empty() ? "(no status)" : text.c_str());
        } else {
            SetDlgItemText(IDC_STATUS_TEXT, "The printer could not be found on the network.");
        }
        ::SetTimer(m_hWnd, kPollTimer + 1, kStatusRefreshMs, nullptr);
    } else {
        ::KillTimer(m_hWnd, kPollTimer + 1);
        AskStatus();
    }
}

// Cancels a status request still out and gives the block back; a stack
// that never answers the cancel holds the window at most kCancelWaitMs.
void CPrinterStatusDlg::Release()
{
    if (!m_pRequests)
        return;
    if (m_pRequests->status.Result() == kATResultPending) {
        PAPParamBlock& cancel = m_pRequests->cancel;
        cancel.requestId = m_pRequests->status.requestId;
        cancel.BeginRequest(kPAPCancel);
        ATALKDispatch(&cancel);
        // Timed by the clock: a 1 ms sleep can last a whole timer tick.
        const DWORD start = ::GetTickCount();
        while (cancel.Result() == kATResultPending && ::GetTickCount() - start < kCancelWaitMs)
            ::SleepEx(1, FALSE);
    }
    MPPFree(m_pRequests);
    m_pRequests = nullptr;
}

void CPrinterStatusDlg::OnCancel()
{
    ::KillTimer(m_hWnd, kPollTimer);
    ::KillTimer(m_hWnd, kPollTimer + 1);
    Release();
    EndDialog(IDCANCEL);
}
