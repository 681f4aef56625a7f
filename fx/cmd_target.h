// Objects that take commands (windows, documents, templates, the
// application) and the update query that decides whether a command is
// enabled and checked, asked the same way for menu items, toolbar buttons,
// status-bar panes and keyboard accelerators.
#pragma once

#include <windows.h>

#include "fx/fx_string.h"
#include "fx/message_map.h"
#include "fx/object.h"

// Notification codes of OnCmdMsg.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// Filled instead of calling the handler when a caller only asks who would
// handle a command.
struct CommandHandlerInfo {
    CCmdTarget* target = nullptr;
};

struct IDispatch;
struct InterfaceMap;

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override;

    // Automation: an object that clients reach through IDispatch. When the
    // last client reference goes, OnFinalRelease runs (by default it
    // deletes the object).
    void EnableAutomation();
    IDispatch* GetIDispatch(BOOL addRef);
    virtual void OnFinalRelease();

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    // COM objects (fx/interface_map.h): the interfaces a class lists in its
    // interface map share one reference count, which starts at 1 for the
    // creator; the last Release calls OnFinalRelease.
    static const InterfaceMap* GetThisInterfaceMap();
    virtual const InterfaceMap* GetInterfaceMap() const;
    // `iid` points at an IID. S_OK and an added reference, or E_NOINTERFACE.
    long ExternalQueryInterface(const void* iid, void** out);
    unsigned long ExternalAddRef();
    unsigned long ExternalRelease();
    long m_dwRef = 1;

    // Offers command `id` (code CN_COMMAND or a control notification) or its
    // update query (CN_UPDATE_COMMAND_UI, pExtra = the CCmdUI) to this
    // object and whatever it routes to. TRUE when a handler took it. With
    // pHandlerInfo set, handlers are found but not called.
    virtual BOOL OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo);

    // The first entry of this object's table chain that matches.
    const MessageEntry* FindEntry(MessageKind kind, UINT message, UINT code, UINT id) const;

private:
    IDispatch* m_pDispatch = nullptr;
};

// The update query of one command id. Subclasses apply the answer to a menu
// item, a toolbar button or a status-bar pane.
class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;
    CCmdUI(const CCmdUI&) = delete;
    CCmdUI& operator=(const CCmdUI&) = delete;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    HMENU m_hMenu = nullptr;        // the popup being updated, if a menu item
    BOOL m_bEnableChanged = FALSE;  // a handler called Enable
    BOOL m_bContinueRouting = FALSE;

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);
    virtual void SetText(const char* text);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks `target` (and its route). With no update handler, a command that
    // no handler takes is disabled when `disableIfNoHandler`.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
};

// The answer of the update query for `id` along `target`'s route: whether a
// command handler exists, and the enabled and check state handlers gave.
// Commands without an update handler are enabled exactly when some handler
// takes them.
struct CommandState {
    bool hasHandler = false;
    bool enabled = false;
    int check = 0;
};
CommandState QueryCommandState(CCmdTarget* target, UINT id);
