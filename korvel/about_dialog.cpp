#include "korvel/about_dialog.h"

#include <vector>

#include "korvel/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_ABOUT_PRODUCT, "Quarnet For Windows");
    SetDlgItemText(IDC_ABOUT_VERSION_LINE, (FxLoadString(IDS_VERSION_LABEL) + "2.51.17.73").c_str());
    SetDlgItemText(IDC_ABOUT_NOTICE, "Maps PC file extensions to Macintosh types and creators.");
    // Left as the dialog has it when the version cannot be read.
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    CString version;
    if (n > 0 && n < sizeof path && ReadVersionString(path, "\\StringFileInfo\\040904b0\\FileVersion", version))
        SetDlgItemText(IDC_ABOUT_APP_VERSION, version.c_str());
    return TRUE;
}

bool ReadVersionString(const char* modulePath, const char* subBlock, CString& text)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(modulePath, &handle);
    if (size == 0)
        return false;
    std::vector<char> data(size + 1);
    if (!GetFileVersionInfoA(modulePath, 0, size, data.data()))
        return false;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), subBlock, reinterpret_cast<void**>(&value), &length) || value == nullptr)
        return false;
    text.assign(value, length > 0 && value[length - 1] == '\0' ? length - 1 : length);
    return true;
}
