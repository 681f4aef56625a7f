#include "fx/message_box.h"

#include "fx/fx_string.h"
#include "fx/win_app.h"

namespace {
MessageBoxHandler& Handler()
{
    static MessageBoxHandler handler;
    return handler;
}
}  // namespace

MessageBoxHandler FxSetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}

int AfxMessageBox(const char* text, UINT type, UINT)
{
    CWinApp* app = AfxGetApp();
    MessageBoxRequest request;
    // The window the user works in owns the box: the thread's active window
    // (a modal dialog running over the main window), else the main window's
    // last active popup. Owned by the main window, the box would enable it
    // again when it closes, under a dialog that is still running.
    request.owner = ::GetActiveWindow();
    if (request.owner == nullptr && app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
        request.owner = ::GetLastActivePopup(app->m_pMainWnd->m_hWnd);
    if (request.owner != nullptr && !IsWindowVisible(request.owner))
        request.owner = nullptr;
    request.text = text;
    request.caption = (app && app->m_pszAppName) ? app->m_pszAppName : "";
    request.type = type;
    if (Handler())
        return Handler()(request);
    return MessageBoxA(request.owner, request.text.c_str(), request.caption.c_str(), type);
}

int FxMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    MessageBoxRequest request{owner, text, caption, type};
    if (Handler())
        return Handler()(request);
    return MessageBoxA(owner, text, caption, type);
}

int AfxMessageBox(UINT idPrompt, UINT type, UINT helpId)
{
    return AfxMessageBox(FxLoadString(idPrompt).c_str(), type, helpId == static_cast<UINT>(-1) ? idPrompt : helpId);
}
