// CWinApp: the one application object of a program. It starts the program
// (InitApplication, InitInstance), runs the message loop with idle-time
// updates, ends it (ExitInstance), owns the document templates, the
// recent-file list and the profile settings, and takes the commands no
// window takes.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <memory>
#include <vector>

#include "fx/cmd_target.h"
#include "fx/wnd.h"

class CDocTemplate;
class CDocument;
class CRecentFileList;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
    DECLARE_MESSAGE_MAP()
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    const char* m_lpCmdLine = "";
    int m_nCmdShow = SW_SHOWNORMAL;
    const char* m_pszAppName = nullptr;
    const char* m_pszExeName = nullptr;
    // Help file used by WinHelp; by default the program's path with the
    // extension ".HLP". Owned (malloc'd), so a program may replace it.
    char* m_pszHelpFilePath = nullptr;
    const char* m_pszRegistryKey = nullptr;
    CWnd* m_pMainWnd = nullptr;
    // A frame the idle-time updates reach besides the main window (the
    // in-place frame of an active server document).
    CWnd* m_pActiveWnd = nullptr;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;

    // Fills the fields above from the module and command line; the program
    // entry calls it before InitApplication.
    void SetupFromModule(HINSTANCE instance, const char* cmdLine, int cmdShow);

    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int Run();
    virtual BOOL OnIdle(LONG count);
    virtual int ExitInstance();
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Runs one message through PreTranslateMessage and dispatch; FALSE at WM_QUIT.
    BOOL PumpMessage();

    // Document types, in the order they were added; the application owns them.
    void AddDocTemplate(CDocTemplate* tmpl);
    const std::vector<CDocTemplate*>& GetDocTemplates() const { return m_templates; }
    // Opens `path` with the type whose extension it has.
    virtual CDocument* OpenDocumentFile(const char* path);
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);

    // Profile settings under HKEY_CURRENT_USER\Software\<registry key>\<app name>.
    void SetRegistryKey(const char* company) { m_pszRegistryKey = company; }
    CString GetProfileString(const char* section, const char* entry, const char* def = "") const;
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);
    UINT GetProfileInt(const char* section, const char* entry, int def) const;
    BOOL WriteProfileInt(const char* section, const char* entry, int value);
    // Reads the recent-file list (`maxMRU` entries).
    void LoadStdProfileSettings(UINT maxMRU = 4);
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(const char* path);

    // The framework's OLE switches on the command line.
    BOOL RunEmbedded() const;
    BOOL RunAutomated() const;

    // The printer chosen with Print Setup or in a print dialog (DEVNAMES and
    // DEVMODE, owned by the application); null until a choice was made or
    // the default printer was read. Print and Print Preview use it.
    HGLOBAL m_hDevNames = nullptr;
    HGLOBAL m_hDevMode = nullptr;
    // Puts the chosen printer into pd's hDevNames and hDevMode, reading the
    // system's default printer first when none was chosen; FALSE when there
    // is no printer.
    BOOL GetPrinterDeviceDefaults(PRINTDLGA* pd);
    // Keeps what a print dialog handed back as the chosen printer. The
    // dialog frees any block it replaced, so nothing is freed here.
    void TakePrinterSelection(HGLOBAL devNames, HGLOBAL devMode);
    // Forgets the chosen printer (one that is gone, say).
    void ClearPrinterSelection();
    // A device context of the chosen printer, with its settings; null when
    // none is chosen or the printer cannot be reached.
    HDC CreatePrinterDC();

    // Help through WinHelp with the help file in use.
    virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);

    BOOL Enable3dControls();

    // Shell open: the main frame answers DDE for the program's name and the
    // "system" topic; RegisterShellFileTypes writes each document type's
    // extension, file type and DDE open command (`compat`: a print command too).
    void EnableShellOpen();
    void RegisterShellFileTypes(BOOL compat = FALSE);
    // Runs a DDE command ([open("path")]); TRUE when a document opened.
    virtual BOOL OnDDECommand(const char* command);
    ATOM m_atomApp = 0;
    ATOM m_atomSystemTopic = 0;

    // Standard command handlers a program lists in its own message table.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    void OnHelpUsing();
    void OnUpdateFileNew(CCmdUI* ui);

protected:
    std::vector<CDocTemplate*> m_templates;
    MSG m_msgCur{};
    CString m_strExeName;
    CString m_strAppName;

    // Document types with a File New name, offered by File New.
    std::vector<CDocTemplate*> NewableTemplates() const;
    CString ProfileKeyPath(const char* section) const;
    void OnOpenRecentFile(UINT id);
    void OnUpdateRecentFileMenu(CCmdUI* ui);
};

CWinApp* AfxGetApp();
// The program's entry: set up, InitApplication, InitInstance, Run.
int AfxWinMain(HINSTANCE instance, const char* cmdLine, int cmdShow);
