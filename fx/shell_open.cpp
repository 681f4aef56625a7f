// Shell integration: the main frame's DDE conversation by which Explorer
// opens files in the running program ([open("path")] on the "system"
// topic), and the registry entries that make Explorer do so.
#include <windows.h>
#include <dde.h>

#include <cstring>
#include <string>

#include "fx/doc_template.h"
#include "fx/frame_wnd.h"
#include "fx/ole.h"
#include "fx/win_app.h"

void CWinApp::EnableShellOpen()
{
    if (m_atomApp != 0)
        return;
    m_atomApp = GlobalAddAtomA(m_pszExeName ? m_pszExeName : "");
    m_atomSystemTopic = GlobalAddAtomA("system");
}

void CWinApp::RegisterShellFileTypes(BOOL compat)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return;
    const CString open = CString("\"") + path + "\"";
    for (CDocTemplate* t : m_templates) {
        CString ext, typeId, typeName;
        if (!t->GetDocString(ext, CDocTemplate::filterExt) || !t->GetDocString(typeId, CDocTemplate::regFileTypeId))
            continue;
        t->GetDocString(typeName, CDocTemplate::regFileTypeName);
        FxSetRegistryText(HKEY_CLASSES_ROOT, typeId.c_str(), nullptr, typeName.c_str());
        FxSetRegistryText(HKEY_CLASSES_ROOT, (typeId + "\\shell\\open\\command").c_str(), nullptr, open.c_str());
        FxSetRegistryText(HKEY_CLASSES_ROOT, (typeId + "\\shell\\open\\ddeexec").c_str(), nullptr, "[open(\"%1\")]");
        FxSetRegistryText(HKEY_CLASSES_ROOT, (typeId + "\\shell\\open\\ddeexec\\application").c_str(), nullptr,
                          m_pszExeName ? m_pszExeName : "");
        FxSetRegistryText(HKEY_CLASSES_ROOT, (typeId + "\\shell\\open\\ddeexec\\topic").c_str(), nullptr, "system");
        if (compat) {
            FxSetRegistryText(HKEY_CLASSES_ROOT, (typeId + "\\shell\\print\\command").c_str(), nullptr,
                              (open + " /p \"%1\"").c_str());
        }
        FxSetRegistryText(HKEY_CLASSES_ROOT, ext.c_str(), nullptr, typeId.c_str());
    }
}

BOOL CWinApp::OnDDECommand(const char* command)
{
    // [open("path")], as many as the command holds.
    BOOL any = FALSE;
    for (const char* p = command; (p = strstr(p, "[open(\"")) != nullptr;) {
        p += 7;
        const char* end = strstr(p, "\")]");
        if (end == nullptr)
            return any;
        std::string path(p, static_cast<size_t>(end - p));
        if (m_pMainWnd != nullptr && IsIconic(m_pMainWnd->m_hWnd))
            ::ShowWindow(m_pMainWnd->m_hWnd, SW_RESTORE);
        any = OpenDocumentFile(path.c_str()) != nullptr || any;
        p = end + 3;
    }
    return any;
}

LRESULT CFrameWnd::OnDDEInitiate(WPARAM client, LPARAM lParam)
{
    CWinApp* app = AfxGetApp();
    const ATOM service = LOWORD(lParam), topic = HIWORD(lParam);
    if (app == nullptr || app->m_atomApp == 0 || reinterpret_cast<HWND>(client) == m_hWnd)
        return 0;
    if ((service == 0 || service == app->m_atomApp) && (topic == 0 || topic == app->m_atomSystemTopic)) {
        // The client deletes the atoms of the answer: add references for it.
        char name[256];
        GlobalGetAtomNameA(app->m_atomApp, name, sizeof name);
        ATOM a = GlobalAddAtomA(name);
        ATOM t = GlobalAddAtomA("system");
        ::SendMessageA(reinterpret_cast<HWND>(client), WM_DDE_ACK, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(a, t));
    }
    return 0;
}

LRESULT CFrameWnd::OnDDEExecute(WPARAM client, LPARAM lParam)
{
    UINT_PTR unused = 0, data = 0;
    UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &data);
    HGLOBAL commands = reinterpret_cast<HGLOBAL>(data);
    BOOL done = FALSE;
    if (const char* text = static_cast<const char*>(GlobalLock(commands))) {
        // Our window is an ANSI window: the command arrives in its code page.
        std::string copy(text, strnlen(text, GlobalSize(commands)));
        GlobalUnlock(commands);
        if (CWinApp* app = AfxGetApp())
            done = app->OnDDECommand(copy.c_str());
    }
    // The DDEACK word: bit 15 is fAck.
    const WORD status = done ? 0x8000 : 0;
    LPARAM reply = ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, status, data);
    if (!::PostMessageA(reinterpret_cast<HWND>(client), WM_DDE_ACK, reinterpret_cast<WPARAM>(m_hWnd), reply)) {
        FreeDDElParam(WM_DDE_ACK, reply);
        GlobalFree(commands);
    }
    return 0;
}

LRESULT CFrameWnd::OnDDETerminate(WPARAM client, LPARAM)
{
    ::PostMessageA(reinterpret_cast<HWND>(client), WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
    return 0;
}
