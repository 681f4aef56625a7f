// The Korvel application object: start-up (one instance, OLE, the one
// document type and its server, the command line), the help file and the
// commands the application handles.
#pragma once

#include "fx/ole.h"
#include "fx/win_app.h"

class CKorvelApp : public CWinApp {
    DECLARE_MESSAGE_MAP()
public:
    CKorvelApp();

    COleTemplateServer m_server;
    CString m_strWndClass;
    CString m_strHelpPath;  // empty until the registry named the folder

    BOOL InitApplication() override;
    BOOL InitInstance() override;
    int ExitInstance() override;

    // The file named on the command line, if any (the first word that is
    // not a switch, without its quotes).
    CString CommandLineFile() const;
    // Help file: "QRN2_01.hlp" in the installation folder, when the
    // registry names it.
    void LookUpHelp();
    // Starts "WinHlp32.exe" with m_strHelpPath.
    void LaunchHelp();

protected:
    void OnAppAbout();
    void OnHelpTopics() { LaunchHelp(); }
    void OnHelpExtensionMapper();
    void OnHelpTroubleshooting();
};

CKorvelApp* GetKorvelApp();

// Class id of Korvel's server document.
extern const CLSID CLSID_KorvelDocument;
