// The Edit menu's clipboard commands (Copy, Cut, Paste, Undo, Clear) for
// the control that has the keyboard focus, as a frame routes them when its
// view is a form of edit fields and lists:
//  - Copy, Cut and Paste send WM_COPY, WM_CUT and WM_PASTE to the focus
//    window, whatever its class;
//  - Undo and Clear act only on an "Edit" control (class name compared with
//    case, first 20 characters), found through its parent by its id: Undo
//    sends EM_UNDO when EM_CANUNDO says it can, Clear sends WM_CLEAR;
//  - Copy, Cut and Clear are enabled for an "Edit" control with a selection
//    that is not empty, Undo for one that can undo, and Paste when the
//    clipboard offers text.
// A frame lists the five ids in its table (ON_FOCUS_EDIT_COMMANDS) and
// calls these with whether it has an active view: without one there is no
// target.
#pragma once

#include <windows.h>

#include <string>

#include "fx/fx_ids.h"

class CCmdUI;

// The table entries of the five commands: `run(UINT id)` runs one,
// `update(CCmdUI*)` gives its state.
#define ON_FOCUS_EDIT_COMMANDS(run, update)                                                          \
    ON_COMMAND_RANGE(ID_EDIT_COPY, ID_EDIT_COPY, run) ON_COMMAND_RANGE(ID_EDIT_CUT, ID_EDIT_CUT, run) \
    ON_COMMAND_RANGE(ID_EDIT_PASTE, ID_EDIT_PASTE, run) ON_COMMAND_RANGE(ID_EDIT_UNDO, ID_EDIT_UNDO, run) \
    ON_COMMAND_RANGE(ID_EDIT_CLEAR, ID_EDIT_CLEAR, run) ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, update)  \
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, update) ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, update)            \
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, update) ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, update)

// True for the five command ids handled here.
bool FxIsFocusEditCommand(UINT id);
// Runs command `id` on the focus window.
void FxRunFocusEditCommand(UINT id, bool hasActiveView);
// Enables the command of `ui`; `clipboardOwner` opens the clipboard.
void FxUpdateFocusEditCommand(CCmdUI* ui, bool hasActiveView, HWND clipboardOwner);
// The clipboard's text (CF_TEXT); "" when it holds none or cannot be opened.
std::string FxClipboardText(HWND owner);
