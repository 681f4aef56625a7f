// The application's chosen printer: what Print Setup (or the last print
// dialog) picked, kept for the life of the program so that Print and Print
// Preview print on it with its settings (orientation, paper).
#include <windows.h>
#include <commdlg.h>

#include "fx/win_app.h"

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pd)
{
    if (m_hDevNames == nullptr) {
        PRINTDLGA defaults{};
        defaults.lStructSize = sizeof defaults;
        defaults.Flags = PD_RETURNDEFAULT;
        if (PrintDlgA(&defaults))
            TakePrinterSelection(defaults.hDevNames, defaults.hDevMode);
    }
    if (m_hDevNames == nullptr)
        return FALSE;
    pd->hDevNames = m_hDevNames;
    pd->hDevMode = m_hDevMode;
    return TRUE;
}

void CWinApp::TakePrinterSelection(HGLOBAL devNames, HGLOBAL devMode)
{
    m_hDevNames = devNames;
    m_hDevMode = devMode;
}

void CWinApp::ClearPrinterSelection()
{
    if (m_hDevNames != nullptr)
        GlobalFree(m_hDevNames);
    if (m_hDevMode != nullptr)
        GlobalFree(m_hDevMode);
    m_hDevNames = m_hDevMode = nullptr;
}

HDC CWinApp::CreatePrinterDC()
{
    if (m_hDevNames == nullptr)
        return nullptr;
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(m_hDevNames));
    if (names == nullptr)
        return nullptr;
    const char* base = reinterpret_cast<const char*>(names);
    const auto* mode = m_hDevMode ? static_cast<const DEVMODEA*>(GlobalLock(m_hDevMode)) : nullptr;
    HDC dc = CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode != nullptr)
        GlobalUnlock(m_hDevMode);
    GlobalUnlock(m_hDevNames);
    return dc;
}

void CWinApp::OnFilePrintSetup()
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    pd.Flags = PD_PRINTSETUP;
    GetPrinterDeviceDefaults(&pd);  // the dialog opens on the current choice
    // OK or Cancel, the handles that come back are the choice.
    PrintDlgA(&pd);
    TakePrinterSelection(pd.hDevNames, pd.hDevMode);
}
