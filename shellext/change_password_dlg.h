// The Change Password dialog (template 148) of the context-menu command:
// old password (which must be the session's), new password and its
// confirmation, each at most 8 characters. It runs modeless over the
// shell's window, which it disables; the command waits for its done flag
// while the thread's messages are pumped.
//
// OK: a wrong old password is refused twice ("Old Password Incorrect!");
// the third wrong one ends the dialog without a change ("Strike Three!").
// Every press counts, also one refused only for a confirmation that does
// not match. Cancel, Esc and the close box end it without a change.
#pragma once

#include "fx/dialog.h"

class CChangePasswordDlg : public CDialog {
    DECLARE_MESSAGE_MAP()
public:
    // `oldPassword` is the password the old password must match; `done`
    // is set when the dialog window is gone.
    CChangePasswordDlg(const char* oldPassword, int* done);

    int m_nOKPresses = 0;
    int m_nResult = 0;         // 1: a new password was confirmed
    int* m_pDone;
    CString m_strOldPassword;  // expected
    CString m_strNewPassword;  // empty until confirmed

    // The longest password each edit takes.
    static constexpr int kMaxPassword = 8;

    BOOL OnInitDialog() override;
    void OnOK() override { OnPasswordOK(); }
    void OnCancel() override;

private:
    void OnPasswordOK();
    void OnDestroy();
    void OnClose();
    void RaiseParent();
    void ShowError(UINT textId, UINT captionId);
};

// Runs the dialog over `owner` (the shell's window, or none) until it ends:
// TRUE and the new password in `password` when one was confirmed. `password`
// holds the session's password on the way in.
BOOL RunChangePasswordDialog(HWND owner, CString& password);
