#include "util/about_dialog.h"

#include "util/app.h"
#include "util/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_ABOUT_PRODUCT, "Quarnet For Windows");
    SetDlgItemText(IDC_ABOUT_VERSION_LINE, (FxLoadString(IDS_VERSION_LABEL) + kAboutFixedVersion).c_str());
    SetDlgItemText(IDC_ABOUT_NOTICE, "AppleTalk printing and network tools for Windows.");
    CVestrelUtilApp* app = GetVestrelUtilApp();
    SetDlgItemText(IDC_ABOUT_APP_VERSION, app ? app->m_strVersion.c_str() : "Unknown");
    return TRUE;
}
