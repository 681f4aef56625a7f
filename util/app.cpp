#include "util/app.h"

#include "common/help_launch.h"
#include "common/single_instance.h"
#include "fx/doc_template.h"
#include "fx/message_box.h"
#include "util/about_dialog.h"
#include "util/automation_doc.h"
#include "util/child_frames.h"
#include "util/devtype/devtype_doc.h"
#include "util/devtype/devtype_view.h"
#include "util/help_lookup.h"
#include "util/main_frame.h"
#include "util/network/lookup_doc.h"
#include "util/network/lookup_view.h"
#include "util/printer/job_ticket.h"
#include "util/printer/win32_pap_stack.h"
#include "util/resource.h"
#include "util/version_text.h"

namespace {
// Class id of the automation document type.
const CLSID kVestrelUtilDocClsid = {0x402F5370, 0x79CB, 0x11CE, {0x90, 0x9F, 0x00, 0xC0, 0x6C, 0x33, 0x69, 0x41}};
}  // namespace

BEGIN_MESSAGE_MAP(CVestrelUtilApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_HELP_INDEX, OnHelpTopics)
    ON_COMMAND(ID_HELP_FINDER, OnHelpTopics)
    ON_COMMAND(ID_CONTEXT_HELP, OnHelpTopics)
    ON_COMMAND(ID_DEFAULT_HELP, OnHelpTopics)
    ON_COMMAND(ID_HELP_UTILITIES, OnHelpUtilities)
    ON_COMMAND(ID_HELP_TROUBLESHOOTING, OnHelpTroubleshooting)
    ON_COMMAND(ID_HELP_USING, OnHelpUsing)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_UPDATE_COMMAND_UI(ID_FILE_NEW, OnUpdateFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND(ID_NETWORK_LOOKUP, OnNetworkLookup)
    ON_UPDATE_COMMAND_UI(ID_NETWORK_LOOKUP, OnUpdateNetworkLookup)
    ON_COMMAND(ID_PRINTER_TYPE_ENTRY, OnPrinterTypeEntry)
    ON_UPDATE_COMMAND_UI(ID_PRINTER_TYPE_ENTRY, OnUpdatePrinterTypeEntry)
END_MESSAGE_MAP()

CVestrelUtilApp::CVestrelUtilApp() = default;

CVestrelUtilApp* GetVestrelUtilApp()
{
    return dynamic_cast<CVestrelUtilApp*>(AfxGetApp());
}

BOOL CVestrelUtilApp::InitApplication()
{
    if (!CWinApp::InitApplication())
        return FALSE;
    m_strWndClass = "VestrelUtilMainWnd";
    // The main frame's class is the framework's MDI frame class under the
    // program's own name, by which a second start finds the first.
    return CMDIFrameWnd::RegisterFrameClass() &&
           CWnd::RegisterClassCopy(CMDIFrameWnd::kWndClass, m_strWndClass.c_str());
}

BOOL CVestrelUtilApp::InitInstance()
{
    if (BringExistingInstanceToFront(m_strWndClass.c_str()))
        return FALSE;
    if (!AfxOleInit()) {
        AfxMessageBox(IDP_OLE_INIT_FAILED);
        return FALSE;
    }
    Enable3dControls();
    SetRegistryKey("VESTREL");
    LoadStdProfileSettings(4);
    ReadVersion();

    // Job tickets made by dynamic creation ask this stack for the default
    // printer.
    static Win32PapStack s_papStack;
    ZJobTicket::s_pDefaultStack = &s_papStack;

    // Document types: automation, lookup, printer type table.
    auto* automation = new CMultiDocTemplate(IDR_VESTRELTYPE, RUNTIME_CLASS(CVestrelUtilDoc),
                                             RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CVestrelUtilView));
    AddDocTemplate(automation);
    m_pLookupTemplate = new CMultiDocTemplate(IDR_LOOKUPTYPE, RUNTIME_CLASS(CVestrelLookupDoc),
                                              RUNTIME_CLASS(CVestrelLookupFrm), RUNTIME_CLASS(CVestrelLookupView));
    AddDocTemplate(m_pLookupTemplate);
    m_pTypesTemplate = new CMultiDocTemplate(IDR_DEVTYPETYPE, RUNTIME_CLASS(CDevTypeDoc),
                                             RUNTIME_CLASS(CDevTypeFrm), RUNTIME_CLASS(CDevTypeView));
    AddDocTemplate(m_pTypesTemplate);

    m_server.ConnectTemplate(kVestrelUtilDocClsid, automation, FALSE);
    COleObjectFactory::RegisterAll();

    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
        return FALSE;  // the frame has deleted itself
    m_pMainWnd = frame;
    if (HICON icon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)))
        frame->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    // Files opened from Explorer arrive by DDE; the document types with a
    // file type are registered for it, without print or new-file entries.
    EnableShellOpen();
    RegisterShellFileTypes(FALSE);

    // A client that started the program gets its objects; the window stays
    // hidden.
    if (RunEmbedded() || RunAutomated())
        return TRUE;
    m_server.UpdateRegistry(OAT_DISPATCH_OBJECT);

    frame->DragAcceptFiles();
    frame->ShowWindow(m_nCmdShow);
    frame->UpdateWindow();
    LookUpHelp();
    return TRUE;
}

int CVestrelUtilApp::ExitInstance()
{
    int code = CWinApp::ExitInstance();
    AfxOleTerm();
    return code;
}

void CVestrelUtilApp::ReadVersion()
{
    m_strVersion = "Unknown";
    char path[261];
    DWORD n = GetModuleFileNameA(m_hInstance, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return;
    m_strVersion = ReadFileVersionText(path, m_fileInfo);
}

void CVestrelUtilApp::LookUpHelp()
{
    HelpLookupResult found = LookUpHelpFile(m_pszHelpFilePath ? m_pszHelpFilePath : "");
    if (found.helpPath.IsEmpty())
        return;
    m_strProductDir = found.productDir;
    m_strHelpPath = found.helpPath;
    free(m_pszHelpFilePath);
    m_pszHelpFilePath = _strdup(m_strHelpPath.c_str());
}

const char* CVestrelUtilApp::HelpFileInUse() const
{
    if (!m_strHelpPath.IsEmpty())
        return m_strHelpPath.c_str();
    return m_pszHelpFilePath ? m_pszHelpFilePath : "";
}

void CVestrelUtilApp::LaunchHelp()
{
    LaunchWinHelp(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, HelpFileInUse());
}

void CVestrelUtilApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CVestrelUtilApp::OnHelpUtilities()
{
    WinHelp(HIDC_HELP_UTILITIES, HELP_CONTEXT);
}

void CVestrelUtilApp::OnHelpTroubleshooting()
{
    WinHelp(HIDC_TROUBLESHOOTING, HELP_CONTEXT);
}

void CVestrelUtilApp::OnNetworkLookup()
{
    if (m_pLookupTemplate != nullptr)
        m_pLookupTemplate->OpenDocumentFile(nullptr);
}

void CVestrelUtilApp::OnPrinterTypeEntry()
{
    if (m_pTypesTemplate != nullptr)
        m_pTypesTemplate->OpenDocumentFile(nullptr);
}

void CVestrelUtilApp::OnUpdateNetworkLookup(CCmdUI* ui)
{
    ui->Enable(m_pLookupTemplate != nullptr);
}

void CVestrelUtilApp::OnUpdatePrinterTypeEntry(CCmdUI* ui)
{
    ui->Enable(m_pTypesTemplate != nullptr);
}
