#include "fx/win_app.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>

#include "fx/doc_template.h"
#include "fx/document.h"
#include "fx/frame_wnd.h"
#include "fx/fx_ids.h"
#include "fx/message_box.h"
#include "fx/new_type_dialog.h"
#include "fx/recent_files.h"

namespace {
CWinApp* g_app = nullptr;

bool IsSwitch(const char* cmdLine, const char* name)
{
    // "/Name" or "-Name" as a whole word, any case.
    const size_t len = strlen(name);
    for (const char* p = cmdLine; *p; ++p) {
        if ((*p == '/' || *p == '-') && (p == cmdLine || p[-1] == ' ' || p[-1] == '\t') &&
            _strnicmp(p + 1, name, len) == 0 && (p[1 + len] == '\0' || p[1 + len] == ' ' || p[1 + len] == '\t'))
            return true;
    }
    return false;
}
}  // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, OnOpenRecentFile)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* appName)
{
    if (appName != nullptr)
        m_strAppName = appName;
    g_app = this;
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* t : m_templates)
        delete t;
    free(m_pszHelpFilePath);
    ClearPrinterSelection();
    if (m_atomApp != 0)
        GlobalDeleteAtom(m_atomApp);
    if (m_atomSystemTopic != 0)
        GlobalDeleteAtom(m_atomSystemTopic);
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::SetupFromModule(HINSTANCE instance, const char* cmdLine, int cmdShow)
{
    m_hInstance = instance;
    m_lpCmdLine = cmdLine ? cmdLine : "";
    m_nCmdShow = cmdShow;
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(instance, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        path[0] = '\0';
    CString full = path;
    size_t slash = full.find_last_of("\\/");
    CString file = slash == std::string::npos ? full : CString(full.substr(slash + 1));
    size_t dot = file.find_last_of('.');
    m_strExeName = dot == std::string::npos ? file : CString(file.substr(0, dot));
    m_pszExeName = m_strExeName.c_str();
    if (m_strAppName.IsEmpty() && !m_strAppName.LoadString(AFX_IDS_APP_TITLE))
        m_strAppName = m_strExeName;
    m_pszAppName = m_strAppName.c_str();
    // The default help file sits beside the program: its path with ".HLP".
    size_t fullDot = full.find_last_of('.');
    CString help = (fullDot == std::string::npos || (slash != std::string::npos && fullDot < slash))
                       ? full
                       : CString(full.substr(0, fullDot));
    help += ".HLP";
    free(m_pszHelpFilePath);
    m_pszHelpFilePath = _strdup(help.c_str());
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return 0;
}

BOOL CWinApp::PumpMessage()
{
    if (!GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    MSG msg = m_msgCur;
    if (!PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return TRUE;
}

int CWinApp::Run()
{
    LONG idleCount = 0;
    bool idle = true;
    for (;;) {
        MSG msg;
        while (idle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            // Paints and the caret's timer come constantly; they do not
            // restart the idle-time updates.
            if (m_msgCur.message != WM_PAINT && m_msgCur.message != 0x0118) {
                idle = true;
                idleCount = 0;
            }
        } while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::OnIdle(LONG count)
{
    if (count == 0)
        for (CWnd* wnd : {m_pMainWnd, m_pActiveWnd})
            if (wnd != nullptr && wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
                static_cast<CFrameWnd*>(wnd)->OnIdleUpdateCmdUI();
    return count < 1;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    // From the window the message is for up to its top-level window, each
    // window the framework knows may take it (frames: accelerators).
    for (HWND h = msg->hwnd; h != nullptr; h = ::GetParent(h)) {
        CWnd* w = CWnd::FromHandlePermanent(h);
        if (w != nullptr && w->PreTranslateMessage(msg))
            return TRUE;
        if ((GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) == 0)
            break;
    }
    return FALSE;
}

void CWinApp::AddDocTemplate(CDocTemplate* tmpl)
{
    tmpl->LoadTemplate();
    m_templates.push_back(tmpl);
}

CDocument* CWinApp::OpenDocumentFile(const char* path)
{
    for (CDocTemplate* t : m_templates)
        if (t->MatchesExtension(path))
            return t->OpenDocumentFile(path);
    AfxMessageBox(FxFormatStrings(FxLoadString(AFX_IDP_FAILED_TO_OPEN_DOC).c_str(), {path}).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
}

BOOL CWinApp::SaveAllModified()
{
    for (CDocTemplate* t : m_templates)
        if (!t->SaveAllModified())
            return FALSE;
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL endSession)
{
    for (CDocTemplate* t : m_templates)
        t->CloseAllDocuments(endSession);
}

std::vector<CDocTemplate*> CWinApp::NewableTemplates() const
{
    std::vector<CDocTemplate*> out;
    for (CDocTemplate* t : m_templates) {
        CString name;
        if (t->GetDocString(name, CDocTemplate::fileNewName))
            out.push_back(t);
    }
    return out;
}

void CWinApp::OnFileNew()
{
    std::vector<CDocTemplate*> types = NewableTemplates();
    if (types.empty())
        return;
    CDocTemplate* chosen = types.front();
    if (types.size() > 1) {
        CNewTypeDlg dlg(types);
        if (dlg.DoModal() != IDOK)
            return;
        chosen = dlg.m_pSelectedTemplate;
    }
    if (chosen != nullptr)
        chosen->OpenDocumentFile(nullptr);
}

void CWinApp::OnUpdateFileNew(CCmdUI* ui)
{
    ui->Enable(!NewableTemplates().empty());
}

void CWinApp::OnFileOpen()
{
    std::string filters;
    for (CDocTemplate* t : m_templates) {
        CString name, ext;
        if (t->GetDocString(name, CDocTemplate::filterName) && t->GetDocString(ext, CDocTemplate::filterExt))
            filters += name + '\0' + "*" + ext + '\0';
    }
    CString all = FxLoadString(AFX_IDS_ALLFILTER);
    if (all.IsEmpty())
        all = "All Files (*.*)";
    filters += all + '\0' + "*.*" + '\0' + '\0';
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = filters.c_str();
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (GetOpenFileNameA(&ofn))
        OpenDocumentFile(buffer);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::WinHelp(DWORD_PTR data, UINT command)
{
    HWND owner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ::WinHelpA(owner, m_pszHelpFilePath, command, data);
}

void CWinApp::OnHelpUsing()
{
    WinHelp(0, HELP_HELPONHELP);
}

BOOL CWinApp::Enable3dControls()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&icc);
}

BOOL CWinApp::RunEmbedded() const
{
    return IsSwitch(m_lpCmdLine, "Embedding");
}

BOOL CWinApp::RunAutomated() const
{
    return IsSwitch(m_lpCmdLine, "Automation");
}

CString CWinApp::ProfileKeyPath(const char* section) const
{
    CString path = "Software\\";
    path += m_pszRegistryKey ? m_pszRegistryKey : "";
    path += "\\";
    path += m_pszAppName ? m_pszAppName : "";
    path += "\\";
    path += section;
    return path;
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* def) const
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ProfileKeyPath(section).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return def;
    char buffer[1024];
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    CString result = def;
    if (RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        buffer[size < sizeof buffer ? size : sizeof buffer - 1] = '\0';
        result = buffer;
    }
    RegCloseKey(key);
    return result;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ProfileKeyPath(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return FALSE;
    LONG r = (value == nullptr || *value == '\0')
                 ? RegDeleteValueA(key, entry)
                 : RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                  static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int def) const
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ProfileKeyPath(section).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return static_cast<UINT>(def);
    DWORD value = 0, size = sizeof value, type = 0;
    LONG r = RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return (r == ERROR_SUCCESS && type == REG_DWORD) ? value : static_cast<UINT>(def);
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ProfileKeyPath(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return FALSE;
    DWORD v = static_cast<DWORD>(value);
    LONG r = RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU)
{
    if (maxMRU == 0)
        return;
    m_pRecentFileList = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, "Recent File List", "File",
                                                          static_cast<int>(maxMRU));
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(const char* path)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(path);
}

void CWinApp::OnOpenRecentFile(UINT id)
{
    if (!m_pRecentFileList)
        return;
    int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    if (index >= m_pRecentFileList->GetCount())
        return;
    CString path = (*m_pRecentFileList)[index];
    if (OpenDocumentFile(path.c_str()) == nullptr)
        m_pRecentFileList->Remove(index);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* ui)
{
    if (!m_pRecentFileList)
        ui->Enable(FALSE);
    else
        m_pRecentFileList->UpdateMenu(ui);
}

int AfxWinMain(HINSTANCE instance, const char* cmdLine, int cmdShow)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    app->SetupFromModule(instance, cmdLine, cmdShow);
    if (!app->InitApplication() || !app->InitInstance()) {
        if (app->m_pMainWnd != nullptr)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
