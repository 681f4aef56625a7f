#include "fx/cmd_target.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const MessageMap* CCmdTarget::GetThisMessageMap()
{
    static const MessageEntry entries[] = {{MessageKind::End, 0, 0, 0, 0, nullptr}};
    static const MessageMap map{nullptr, entries};
    return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const MessageEntry* CCmdTarget::FindEntry(MessageKind kind, UINT message, UINT code, UINT id) const
{
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base ? map->base() : nullptr) {
        for (const MessageEntry* e = map->entries; e->kind != MessageKind::End; ++e) {
            if (e->kind != kind || e->message != message)
                continue;
            if (kind == MessageKind::Message)
                return e;
            if (e->code == code && id >= e->first && id <= e->last)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo)
{
    const bool update = code == CN_UPDATE_COMMAND_UI;
    const MessageEntry* e = update ? FindEntry(MessageKind::UpdateCommandUI, WM_COMMAND, 0, id)
                                   : FindEntry(MessageKind::Command, WM_COMMAND, static_cast<UINT>(code), id);
    if (e == nullptr)
        return FALSE;
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->target = this;
        return TRUE;
    }
    MessageCall call{WM_COMMAND, 0, 0, id, update ? static_cast<CCmdUI*>(pExtra) : nullptr, 0};
    if (update) {
        CCmdUI* ui = call.pCmdUI;
        ui->m_bContinueRouting = FALSE;
        e->thunk(this, call);
        return !ui->m_bContinueRouting;
    }
    e->thunk(this, call);
    return TRUE;
}

void CCmdUI::Enable(BOOL)
{
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int) {}

void CCmdUI::SetText(const char*) {}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    m_bEnableChanged = FALSE;
    if (target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr))
        return TRUE;
    if (disableIfNoHandler && !m_bEnableChanged) {
        CommandHandlerInfo info;
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return FALSE;
}

namespace {
class CStateCmdUI : public CCmdUI {
public:
    bool enabled = true;
    int check = 0;
    void Enable(BOOL on) override
    {
        enabled = on != FALSE;
        CCmdUI::Enable(on);
    }
    void SetCheck(int c) override { check = c; }
};
}  // namespace

CommandState QueryCommandState(CCmdTarget* target, UINT id)
{
    CStateCmdUI ui;
    ui.m_nID = id;
    CommandState state;
    CommandHandlerInfo info;
    state.hasHandler = target->OnCmdMsg(id, CN_COMMAND, nullptr, &info) != FALSE;
    if (!target->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr))
        ui.enabled = state.hasHandler;
    state.enabled = ui.enabled;
    state.check = ui.check;
    return state;
}
