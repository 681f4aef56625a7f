#include "fx/dialog.h"

#include <cstdlib>

#include "fx/message_box.h"
#include "fx/win_app.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

HWND CDataExchange::PrepareCtrl(int id)
{
    m_lastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    return m_lastControl;
}

void CDataExchange::Fail(const char* message)
{
    if (!m_bFailed && message != nullptr)
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    m_bFailed = TRUE;
    if (m_lastControl != nullptr) {
        ::SetFocus(m_lastControl);
        ::SendMessageA(m_lastControl, EM_SETSEL, 0, -1);
    }
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    if (dx->m_bFailed)
        return;
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr)
        return;
    if (dx->m_bSaveAndValidate) {
        int n = GetWindowTextLengthA(control);
        std::string text(static_cast<size_t>(n) + 1, '\0');
        n = GetWindowTextA(control, text.data(), n + 1);
        text.resize(static_cast<size_t>(n > 0 ? n : 0));
        value = text;
    } else {
        SetWindowTextA(control, value.c_str());
    }
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    if (dx->m_bFailed)
        return;
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr)
        return;
    if (dx->m_bSaveAndValidate) {
        char text[64] = "";
        GetWindowTextA(control, text, sizeof text);
        char* end = nullptr;
        long v = strtol(text, &end, 10);
        while (end && (*end == ' ' || *end == '\t'))
            ++end;
        if (end == text || (end && *end != '\0') || v < INT_MIN || v > INT_MAX) {
            dx->Fail("Please enter an integer.");
            return;
        }
        value = static_cast<int>(v);
    } else {
        SetWindowTextA(control, std::to_string(value).c_str());
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    if (dx->m_bFailed)
        return;
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd == nullptr)
        control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent)
{
    m_bDialogManaged = true;
}

INT_PTR CDialog::DoModal()
{
    CWinApp* app = AfxGetApp();
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : (app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr);
    m_bModal = TRUE;
    FxSetWindowBeingCreated(this);
    INT_PTR result = DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner, &FxDlgProc,
                                     reinterpret_cast<LPARAM>(this));
    FxSetWindowBeingCreated(nullptr);
    m_bModal = FALSE;
    if (m_hWnd != nullptr)
        Detach();
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    FxSetWindowBeingCreated(this);
    HWND h = CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(templateId), parent ? parent->m_hWnd : nullptr,
                                &FxDlgProc, reinterpret_cast<LPARAM>(this));
    FxSetWindowBeingCreated(nullptr);
    return h != nullptr;
}

void CDialog::EndDialog(int result)
{
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
    else
        DestroyWindow();
}

BOOL CDialog::OnInitDialogMessage()
{
    RECT before{};
    ::GetWindowRect(m_hWnd, &before);
    const BOOL result = OnInitDialog();
    RECT after{};
    ::GetWindowRect(m_hWnd, &after);
    if ((GetStyle() & WS_CHILD) == 0 && after.left == before.left && after.top == before.top)
        CenterWindow();
    return result;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Keyboard navigation (Tab, Esc, Enter). A modal dialog's own loop does
    // this by itself; it reaches here when work inside the dialog pumps
    // messages through the application (a download's waiting loops), which
    // must still let Esc cancel.
    return m_hWnd != nullptr && ::IsDialogMessageA(m_hWnd, msg);
}
