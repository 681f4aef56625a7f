// CDialog: modal and modeless dialogs from resource templates, with data
// exchange between members and controls (DoDataExchange).
#pragma once

#include "fx/wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    BOOL m_bFailed = FALSE;   // a value was refused; the control has the focus
    HWND PrepareCtrl(int id);
    // Refuses the value of the last prepared control with `message`.
    void Fail(const char* message);

private:
    HWND m_lastControl = nullptr;
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// Attaches `control` to the dialog's control `id` the first time.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
    DECLARE_MESSAGE_MAP()
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);

    UINT m_nIDHelp = 0;

    virtual INT_PTR DoModal();
    // Creates the dialog modeless; it lives until DestroyWindow.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Runs OnInitDialog; a top-level dialog that it did not move then opens
    // centred over its owner.
    BOOL OnInitDialogMessage() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    BOOL m_bModal = FALSE;
};
