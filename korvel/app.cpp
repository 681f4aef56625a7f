#include "korvel/app.h"

#include "common/help_launch.h"
#include "common/install_folder.h"
#include "common/single_instance.h"
#include "fx/doc_template.h"
#include "fx/message_box.h"
#include "korvel/about_dialog.h"
#include "korvel/ipframe.h"
#include "korvel/korvel_doc.h"
#include "korvel/korvel_view.h"
#include "korvel/main_frame.h"
#include "korvel/resource.h"

// {5C7BCAC0-9158-11CF-B6FC-0000C0373BD0}
const CLSID CLSID_KorvelDocument = {0x5C7BCAC0, 0x9158, 0x11CF, {0xB6, 0xFC, 0x00, 0x00, 0xC0, 0x37, 0x3B, 0xD0}};

BEGIN_MESSAGE_MAP(CKorvelApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_HELP_INDEX, OnHelpTopics)
    ON_COMMAND(ID_HELP_EXTENSION_MAPPER, OnHelpExtensionMapper)
    ON_COMMAND(ID_HELP_TROUBLESHOOTING, OnHelpTroubleshooting)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CKorvelApp::CKorvelApp() = default;

CKorvelApp* GetKorvelApp()
{
    return dynamic_cast<CKorvelApp*>(AfxGetApp());
}

BOOL CKorvelApp::InitApplication()
{
    if (!CWinApp::InitApplication())
        return FALSE;
    m_strWndClass = "VestrelKorvelMainWnd";
    // The main frame's class is the framework's single-document frame class
    // under the program's own name, by which a second start finds the first.
    return CFrameWnd::RegisterFrameClass() && CWnd::RegisterClassCopy(CFrameWnd::kWndClass, m_strWndClass.c_str());
}

BOOL CKorvelApp::InitInstance()
{
    const bool forClient = RunEmbedded() || RunAutomated();
    // A start for a container serves that container's object alone, so it
    // does not hand over to a running instance (nor does the user's start
    // hand over to it).
    if (!forClient && BringExistingInstanceToFront(m_strWndClass.c_str()))
        return FALSE;
    if (!AfxOleInit()) {
        AfxMessageBox(IDP_OLE_INIT_FAILED);
        return FALSE;
    }
    Enable3dControls();
    SetRegistryKey("VESTREL");
    LoadStdProfileSettings(3);

    auto* tmpl = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CKorvelDoc), RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(CKorvelView));
    tmpl->SetServerInfo(IDR_SRVR_EMBEDDED, IDR_SRVR_INPLACE, RUNTIME_CLASS(CInPlaceFrame));
    AddDocTemplate(tmpl);
    m_server.ConnectTemplate(CLSID_KorvelDocument, tmpl, TRUE);

    if (forClient) {
        // No window until the container shows the document.
        COleObjectFactory::RegisterAll();
        return TRUE;
    }
    m_server.UpdateRegistry(OAT_INPLACE_SERVER);
    const CString file = CommandLineFile();
    if (tmpl->OpenDocumentFile(file.IsEmpty() ? nullptr : file.c_str()) == nullptr)
        return FALSE;
    LookUpHelp();
    return TRUE;
}

int CKorvelApp::ExitInstance()
{
    int code = CWinApp::ExitInstance();
    AfxOleTerm();
    return code;
}

CString CKorvelApp::CommandLineFile() const
{
    const char* p = m_lpCmdLine;
    while (*p != '\0') {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '\0')
            break;
        const bool quoted = *p == '"';
        const char* start = quoted ? p + 1 : p;
        const char* end = start;
        while (*end != '\0' && (quoted ? *end != '"' : (*end != ' ' && *end != '\t')))
            ++end;
        if (!quoted && (*start == '/' || *start == '-')) {
            p = end;
            continue;  // a switch
        }
        return CString(std::string(start, end));
    }
    return {};
}

void CKorvelApp::LookUpHelp()
{
    // No key, or a key whose "Path" is missing or empty: the framework's
    // default help path stays.
    std::optional<std::string> folder = FindInstallFolder();
    if (!folder)
        return;
    m_strHelpPath = *folder + "QRN2_01.hlp";
    free(m_pszHelpFilePath);
    m_pszHelpFilePath = _strdup(m_strHelpPath.c_str());
}

void CKorvelApp::LaunchHelp()
{
    LaunchWinHelp(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, m_strHelpPath.c_str());
}

void CKorvelApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CKorvelApp::OnHelpExtensionMapper()
{
    WinHelp(HIDC_EXTENSION_MAPPER, HELP_CONTEXT);
}

void CKorvelApp::OnHelpTroubleshooting()
{
    WinHelp(HIDC_TROUBLESHOOTING, HELP_CONTEXT);
}
