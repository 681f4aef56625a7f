// Declarative message tables. Each class that handles messages declares
// DECLARE_MESSAGE_MAP() and lists its entries between BEGIN_MESSAGE_MAP and
// END_MESSAGE_MAP; a table is chained to its base class's table, and the
// first matching entry, searching from the most derived class, wins. The
// tables are plain data, so tests can walk them.
#pragma once

#include <windows.h>

class CCmdTarget;
class CCmdUI;

// What a handler receives and returns. Every entry's thunk casts the target
// to its own class and calls the named member with typed arguments.
struct MessageCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT id;            // command id for commands and update queries
    CCmdUI* pCmdUI;     // update queries only
    LRESULT result;
};

using MessageThunk = void (*)(CCmdTarget* target, MessageCall& call);

enum class MessageKind : unsigned char {
    End,
    Message,          // a window message
    Command,          // WM_COMMAND: menu, accelerator, toolbar or control notification `code`
    UpdateCommandUI,  // the update query of a command id
    Notify,           // WM_NOTIFY with notification `code` from control `first`
};

struct MessageEntry {
    MessageKind kind;
    UINT message;
    UINT code;
    UINT first;
    UINT last;
    MessageThunk thunk;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageEntry* entries;
};

#define DECLARE_MESSAGE_MAP()                        \
public:                                              \
    static const MessageMap* GetThisMessageMap();    \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap()                                 \
    {                                                                               \
        using ThisClass = theClass;                                                 \
        using TheBaseClass = baseClass;                                             \
        static_assert(sizeof(ThisClass) > 0);                                       \
        static const MessageEntry entries[] = {

#define END_MESSAGE_MAP()                                                  \
        {MessageKind::End, 0, 0, 0, 0, nullptr}};                          \
        static const MessageMap map{&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                       \
    }

#define FX_THUNK(body) [](CCmdTarget* target_, MessageCall& call_) { \
        [[maybe_unused]] auto* self_ = static_cast<ThisClass*>(target_); (void)call_; body; }

// Commands and their update queries.
#define ON_COMMAND(id, fn) \
    {MessageKind::Command, WM_COMMAND, 0, (id), (id), FX_THUNK(self_->fn())},
#define ON_COMMAND_RANGE(idFirst, idLast, fn) \
    {MessageKind::Command, WM_COMMAND, 0, (idFirst), (idLast), FX_THUNK(self_->fn(call_.id))},
#define ON_UPDATE_COMMAND_UI(id, fn) \
    {MessageKind::UpdateCommandUI, WM_COMMAND, 0, (id), (id), FX_THUNK(self_->fn(call_.pCmdUI))},
#define ON_UPDATE_COMMAND_UI_RANGE(idFirst, idLast, fn) \
    {MessageKind::UpdateCommandUI, WM_COMMAND, 0, (idFirst), (idLast), FX_THUNK(self_->fn(call_.pCmdUI))},
#define ON_CONTROL(code, id, fn) \
    {MessageKind::Command, WM_COMMAND, (code), (id), (id), FX_THUNK(self_->fn())},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_NOTIFY(code, id, fn)                                                      \
    {MessageKind::Notify, WM_NOTIFY, static_cast<UINT>(code), (id), (id),             \
     FX_THUNK(self_->fn(reinterpret_cast<NMHDR*>(call_.lParam), &call_.result))},

// Window messages, each with the typed handler the framework declares.
#define ON_MESSAGE(msg, fn) \
    {MessageKind::Message, (msg), 0, 0, 0, FX_THUNK(call_.result = self_->fn(call_.wParam, call_.lParam))},
#define ON_WM_CREATE() \
    {MessageKind::Message, WM_CREATE, 0, 0, 0, FX_THUNK(call_.result = self_->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(call_.lParam)))},
#define ON_WM_DESTROY() \
    {MessageKind::Message, WM_DESTROY, 0, 0, 0, FX_THUNK(self_->OnDestroy())},
#define ON_WM_CLOSE() \
    {MessageKind::Message, WM_CLOSE, 0, 0, 0, FX_THUNK(self_->OnClose())},
#define ON_WM_SIZE() \
    {MessageKind::Message, WM_SIZE, 0, 0, 0, FX_THUNK(self_->OnSize(static_cast<UINT>(call_.wParam), \
        static_cast<short>(LOWORD(call_.lParam)), static_cast<short>(HIWORD(call_.lParam))))},
#define ON_WM_GETMINMAXINFO() \
    {MessageKind::Message, WM_GETMINMAXINFO, 0, 0, 0, FX_THUNK(self_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(call_.lParam)))},
#define ON_WM_PAINT() \
    {MessageKind::Message, WM_PAINT, 0, 0, 0, FX_THUNK(self_->OnPaint())},
#define ON_WM_TIMER() \
    {MessageKind::Message, WM_TIMER, 0, 0, 0, FX_THUNK(self_->OnTimer(static_cast<UINT_PTR>(call_.wParam)))},
#define ON_WM_SETFOCUS() \
    {MessageKind::Message, WM_SETFOCUS, 0, 0, 0, FX_THUNK(self_->OnSetFocus(reinterpret_cast<HWND>(call_.wParam)))},
#define ON_WM_INITMENUPOPUP() \
    {MessageKind::Message, WM_INITMENUPOPUP, 0, 0, 0, FX_THUNK(self_->OnInitMenuPopup( \
        reinterpret_cast<HMENU>(call_.wParam), LOWORD(call_.lParam), HIWORD(call_.lParam)))},
#define ON_WM_MENUSELECT() \
    {MessageKind::Message, WM_MENUSELECT, 0, 0, 0, FX_THUNK(self_->OnMenuSelect( \
        LOWORD(call_.wParam), HIWORD(call_.wParam), reinterpret_cast<HMENU>(call_.lParam)))},
#define ON_WM_DROPFILES() \
    {MessageKind::Message, WM_DROPFILES, 0, 0, 0, FX_THUNK(self_->OnDropFiles(reinterpret_cast<HDROP>(call_.wParam)))},
#define ON_WM_MDIACTIVATE() \
    {MessageKind::Message, WM_MDIACTIVATE, 0, 0, 0, FX_THUNK(self_->OnMDIActivate( \
        reinterpret_cast<HWND>(call_.lParam) == self_->m_hWnd, reinterpret_cast<HWND>(call_.lParam), reinterpret_cast<HWND>(call_.wParam)))},
#define ON_WM_MOUSEACTIVATE() \
    {MessageKind::Message, WM_MOUSEACTIVATE, 0, 0, 0, FX_THUNK(call_.result = self_->OnMouseActivate( \
        reinterpret_cast<HWND>(call_.wParam), LOWORD(call_.lParam), HIWORD(call_.lParam)))},
