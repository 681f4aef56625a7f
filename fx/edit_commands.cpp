#include "fx/edit_commands.h"

#include <cstring>

#include "fx/cmd_target.h"
#include "fx/fx_ids.h"

namespace {

// The focused "Edit" control, looked up through its parent by its id; null
// when the focus is elsewhere.
HWND FocusedEdit()
{
    HWND focus = ::GetFocus();
    char name[21] = "";
    if (focus == nullptr || GetClassNameA(focus, name, sizeof name) == 0 || strcmp(name, "Edit") != 0)
        return nullptr;
    HWND parent = ::GetParent(focus);
    return parent != nullptr ? ::GetDlgItem(parent, GetDlgCtrlID(focus)) : focus;
}

bool HasSelection(HWND edit)
{
    DWORD start = 0, end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start < end;
}

bool ClipboardHasText(HWND owner)
{
    if (!OpenClipboard(owner))
        return false;
    const bool text = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
    CloseClipboard();
    return text;
}

}  // namespace

bool FxIsFocusEditCommand(UINT id)
{
    return id == ID_EDIT_COPY || id == ID_EDIT_CUT || id == ID_EDIT_PASTE || id == ID_EDIT_UNDO ||
           id == ID_EDIT_CLEAR;
}

void FxRunFocusEditCommand(UINT id, bool hasActiveView)
{
    HWND focus = hasActiveView ? ::GetFocus() : nullptr;
    if (focus == nullptr)
        return;
    switch (id) {
    case ID_EDIT_COPY: ::SendMessageA(focus, WM_COPY, 0, 0); break;
    case ID_EDIT_CUT: ::SendMessageA(focus, WM_CUT, 0, 0); break;
    case ID_EDIT_PASTE: ::SendMessageA(focus, WM_PASTE, 0, 0); break;
    case ID_EDIT_UNDO:
        if (HWND edit = FocusedEdit(); edit != nullptr && ::SendMessageA(edit, EM_CANUNDO, 0, 0))
            ::SendMessageA(edit, EM_UNDO, 0, 0);
        break;
    case ID_EDIT_CLEAR:
        if (HWND edit = FocusedEdit())
            ::SendMessageA(edit, WM_CLEAR, 0, 0);
        break;
    default: break;
    }
}

void FxUpdateFocusEditCommand(CCmdUI* ui, bool hasActiveView, HWND clipboardOwner)
{
    HWND edit = hasActiveView ? FocusedEdit() : nullptr;
    switch (ui->m_nID) {
    case ID_EDIT_COPY:
    case ID_EDIT_CUT:
    case ID_EDIT_CLEAR: ui->Enable(edit != nullptr && HasSelection(edit)); break;
    case ID_EDIT_UNDO: ui->Enable(edit != nullptr && ::SendMessageA(edit, EM_CANUNDO, 0, 0) != 0); break;
    case ID_EDIT_PASTE: ui->Enable(hasActiveView && ClipboardHasText(clipboardOwner)); break;
    default: break;
    }
}

std::string FxClipboardText(HWND owner)
{
    if (!OpenClipboard(owner))
        return "";
    std::string text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}
