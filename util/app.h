// The VestrelUtil application object: start-up (one instance, OLE, the
// document types, the main frame), the version text, the help file and the
// commands the application handles.
#pragma once

#include <windows.h>

#include "fx/ole.h"
#include "fx/win_app.h"

class CDocTemplate;

class CVestrelUtilApp : public CWinApp {
    DECLARE_MESSAGE_MAP()
public:
    CVestrelUtilApp();

    CString m_strVersion = "Unknown";
    VS_FIXEDFILEINFO m_fileInfo{};
    COleTemplateServer m_server;
    CString m_strWndClass;
    CString m_strHelpPath;
    CString m_strProductDir;
    CDocTemplate* m_pLookupTemplate = nullptr;
    CDocTemplate* m_pTypesTemplate = nullptr;

    BOOL InitApplication() override;
    BOOL InitInstance() override;
    int ExitInstance() override;

    const CString& GetProductDir() const { return m_strProductDir; }
    // The help file help calls use: the registry's when it was consulted.
    const char* HelpFileInUse() const;

    // Steps of start-up, each usable on its own.
    void ReadVersion();
    void LookUpHelp();
    // Starts "WinHlp32.exe" with the help file in use.
    void LaunchHelp();

protected:
    void OnAppAbout();
    void OnHelpTopics() { LaunchHelp(); }
    void OnHelpUtilities();
    void OnHelpTroubleshooting();
    void OnNetworkLookup();
    void OnPrinterTypeEntry();
    void OnUpdateNetworkLookup(CCmdUI* ui);
    void OnUpdatePrinterTypeEntry(CCmdUI* ui);
};

CVestrelUtilApp* GetVestrelUtilApp();
