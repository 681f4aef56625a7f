#include "fx/new_type_dialog.h"

#include "fx/doc_template.h"
#include "fx/fx_ids.h"

CNewTypeDlg::CNewTypeDlg(std::vector<CDocTemplate*> types) : CDialog(AFX_IDD_NEWTYPEDLG), m_types(std::move(types)) {}

BOOL CNewTypeDlg::OnInitDialog()
{
    HWND list = GetDlgItem(AFX_IDC_LISTBOX);
    for (size_t i = 0; i < m_types.size(); ++i) {
        CString name;
        m_types[i]->GetDocString(name, CDocTemplate::fileNewName);
        LRESULT index = ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        ::SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(i));
    }
    ::SendMessageA(list, LB_SETCURSEL, 0, 0);
    return CDialog::OnInitDialog();
}

void CNewTypeDlg::OnOK()
{
    HWND list = GetDlgItem(AFX_IDC_LISTBOX);
    LRESULT sel = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR)
        return;
    size_t index = static_cast<size_t>(::SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(sel), 0));
    m_pSelectedTemplate = index < m_types.size() ? m_types[index] : nullptr;
    CDialog::OnOK();
}
