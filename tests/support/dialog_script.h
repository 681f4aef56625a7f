// Answers the modal dialogs a test opens, one scripted step per dialog: a
// CBT hook sees each dialog (class #32770) of this thread activate and, a
// moment later when it has finished initialising, runs the next step on it.
// Steps set texts, pick entries, read what the dialog shows and press its
// buttons. Each dialog gets one step, however often it is activated. Dialogs
// left after the last step are for the harness's watchdog.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vtest {

class DialogScript {
public:
    using Step = std::function<void(HWND dialog)>;

    DialogScript() { s_current = this; m_hook = SetWindowsHookExA(WH_CBT, &Watch, nullptr, GetCurrentThreadId()); }
    ~DialogScript()
    {
        UnhookWindowsHookEx(m_hook);
        s_current = nullptr;
    }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void Then(Step step) { m_steps.push_back(std::move(step)); }
    // Steps not yet run.
    size_t Pending() const { return m_steps.size(); }
    // Dialogs that ran a step, by caption, in order.
    const std::vector<std::string>& Seen() const { return m_seen; }

    // Runs `step` on `window` once, `ms` from now (a follow-up on a dialog
    // that already had its step, say after a nested dialog closed).
    static void After(HWND window, UINT ms, Step step)
    {
        static UINT_PTR next = 0x5D00;
        const UINT_PTR id = ++next;
        Later()[id] = {window, std::move(step)};
        SetTimer(window, id, ms, &RunLater);
    }

    // Helpers for steps.
    static void Press(HWND dialog, int id)
    {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    static std::string Text(HWND window)
    {
        char text[1024] = "";
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    static std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

private:
    static constexpr UINT_PTR kTimer = 0x5C41;
    static inline DialogScript* s_current = nullptr;
    HHOOK m_hook = nullptr;
    std::deque<Step> m_steps;
    std::vector<std::string> m_seen;
    std::set<HWND> m_served;

    static std::map<UINT_PTR, std::pair<HWND, Step>>& Later()
    {
        static std::map<UINT_PTR, std::pair<HWND, Step>> later;
        return later;
    }
    static void CALLBACK RunLater(HWND window, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(window, timer);
        auto it = Later().find(timer);
        if (it == Later().end())
            return;
        Step step = std::move(it->second.second);
        Later().erase(it);
        if (IsWindow(window))
            step(window);
    }

    static void CALLBACK RunStep(HWND dialog, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(dialog, timer);
        DialogScript* self = s_current;
        if (self == nullptr || self->m_steps.empty() || !IsWindow(dialog))
            return;
        Step step = std::move(self->m_steps.front());
        self->m_steps.pop_front();
        self->m_seen.push_back(Text(dialog));
        step(dialog);
    }

    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam)
    {
        DialogScript* self = s_current;
        HWND h = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_DESTROYWND && self != nullptr)
            self->m_served.erase(h);
        if (code == HCBT_ACTIVATE && self != nullptr && !self->m_steps.empty() && self->m_served.count(h) == 0) {
            char cls[32] = "";
            if (GetClassNameA(h, cls, sizeof cls) && lstrcmpA(cls, "#32770") == 0 &&
                (GetWindowLongA(h, GWL_STYLE) & WS_CHILD) == 0) {
                self->m_served.insert(h);
                SetTimer(h, kTimer, 60, &RunStep);
            }
        }
        return CallNextHookEx(self ? self->m_hook : nullptr, code, wParam, lParam);
    }
};

}  // namespace vtest
