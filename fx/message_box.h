// Every message box of the programs goes through AfxMessageBox, and every
// AfxMessageBox through one function. A test installs a handler there to
// see the text, caption and icon and to give the answer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct MessageBoxRequest {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;  // MB_ buttons | MB_ icon
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Installs `handler` (an empty one restores the real message box) and
// returns the one it replaces.
MessageBoxHandler FxSetMessageBoxHandler(MessageBoxHandler handler);

// Shows `text` with the application's title as caption, owned by the window
// active in the thread (a running dialog, else the main window); returns
// the button chosen.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
// Shows `text` under its own `caption`, owned by `owner`.
int FxMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// Shows string-table entry `idPrompt`.
int AfxMessageBox(UINT idPrompt, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
