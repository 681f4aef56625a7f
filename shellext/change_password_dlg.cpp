#include "change_password_dlg.h"

#include "fx/message_box.h"
#include "message_pump.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CChangePasswordDlg, CDialog)
    ON_BN_CLICKED(IDC_PASSWORD_OK, OnPasswordOK)
    ON_BN_CLICKED(IDC_PASSWORD_CANCEL, OnCancel)
    ON_WM_DESTROY()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CChangePasswordDlg::CChangePasswordDlg(const char* oldPassword, int* done)
    : CDialog(IDD_CHANGE_PASSWORD), m_pDone(done), m_strOldPassword(oldPassword)
{
}

BOOL CChangePasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int id : {IDC_OLD_PASSWORD, IDC_NEW_PASSWORD, IDC_VERIFY_PASSWORD})
        ::SendDlgItemMessageA(m_hWnd, id, EM_LIMITTEXT, kMaxPassword, 0);
    HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    if (parent != nullptr) {
        RECT outer, own;
        ::GetWindowRect(parent, &outer);
        GetWindowRect(&own);
        const int width = own.right - own.left, height = own.bottom - own.top;
        MoveWindow(outer.left + (outer.right - outer.left - width) / 2,
                   outer.top + (outer.bottom - outer.top - height) / 2, width, height, FALSE);
        ::EnableWindow(parent, FALSE);
    }
    for (int id : {IDC_OLD_PASSWORD, IDC_NEW_PASSWORD, IDC_VERIFY_PASSWORD})
        SetDlgItemText(id, "");
    return TRUE;
}

void CChangePasswordDlg::ShowError(UINT textId, UINT captionId)
{
    FxMessageBox(m_hWnd, FxLoadString(textId).c_str(), FxLoadString(captionId).c_str(), MB_OK | MB_ICONERROR);
}

void CChangePasswordDlg::OnPasswordOK()
{
    ++m_nOKPresses;
    if (GetDlgItemText(IDC_OLD_PASSWORD) != m_strOldPassword) {
        if (m_nOKPresses < 3) {
            ShowError(IDS_REENTER_OLD_PASSWORD, IDS_OLD_PASSWORD_WRONG);
            ::SetFocus(GetDlgItem(IDC_OLD_PASSWORD));
            return;
        }
        ShowError(IDS_STRIKE_THREE_TEXT, IDS_STRIKE_THREE);
        m_nResult = 0;
        DestroyWindow();
        return;
    }
    const CString newPassword = GetDlgItemText(IDC_NEW_PASSWORD);
    if (newPassword != GetDlgItemText(IDC_VERIFY_PASSWORD)) {
        ShowError(IDS_VERIFY_MISMATCH, IDS_VERIFY_FAILURE);
        ::SetFocus(GetDlgItem(IDC_NEW_PASSWORD));
        return;
    }
    m_strNewPassword = newPassword;
    m_nResult = 1;
    DestroyWindow();
}

void CChangePasswordDlg::OnCancel()
{
    m_nResult = 0;
    DestroyWindow();
}

void CChangePasswordDlg::RaiseParent()
{
    if (m_pParentWnd != nullptr)
        ::SetWindowPos(m_pParentWnd->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CChangePasswordDlg::OnDestroy()
{
    Default();
    RaiseParent();
    *m_pDone = 1;
}

void CChangePasswordDlg::OnClose()
{
    *m_pDone = 1;
    RaiseParent();
    Default();
}

BOOL RunChangePasswordDialog(HWND owner, CString& password)
{
    // The shell's window, wrapped for the framework while the dialog lives.
    CWnd wrapper;
    CWnd* parent = CWnd::FromHandle(owner);
    if (parent == nullptr && owner != nullptr && wrapper.Attach(owner))
        parent = &wrapper;

    int done = 0;
    BOOL confirmed = FALSE;
    {
        CChangePasswordDlg dialog(password.c_str(), &done);
        if (dialog.Create(IDD_CHANGE_PASSWORD, parent)) {
            while (!done) {
                PumpShellMessages();
                if (!done)
                    WaitMessage();
            }
        }
        if (dialog.m_nResult == 1) {
            password = dialog.m_strNewPassword;
            confirmed = TRUE;
        }
    }
    if (owner != nullptr)
        ::EnableWindow(owner, TRUE);
    wrapper.Detach();
    return confirmed;
}
