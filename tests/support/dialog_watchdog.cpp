#include "dialog_watchdog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>

namespace vtest {
namespace {

std::atomic<bool> g_running{false};
std::atomic<int> g_allowDepth{0};
HANDLE g_thread = nullptr;
std::mutex g_mutex;
std::vector<std::string> g_dismissed;

// Window text through a message with a time limit, so that a window whose
// thread is stuck cannot stall the watchdog.
std::string TextOf(HWND hwnd)
{
    char buf[512] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                             SMTO_ABORTIFHUNG, 500, &copied))
        return {};
    return std::string(buf, strnlen(buf, sizeof buf));
}

BOOL CALLBACK CollectChildText(HWND child, LPARAM param)
{
    auto* texts = reinterpret_cast<std::string*>(param);
    std::string text = TextOf(child);
    if (!text.empty()) {
        *texts += " | ";
        *texts += text;
    }
    return TRUE;
}

bool IsDialog(HWND hwnd)
{
    char cls[64] = {};
    return GetClassNameA(hwnd, cls, sizeof cls) > 0 && strcmp(cls, "#32770") == 0 &&
           IsWindowVisible(hwnd);
}

struct Scan {
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialogs(HWND hwnd, LPARAM param)
{
    if (IsDialog(hwnd))
        reinterpret_cast<Scan*>(param)->dialogs.push_back(hwnd);
    return TRUE;
}

void Dismiss(HWND hwnd)
{
    std::string description = TextOf(hwnd) + ":";
    EnumChildWindows(hwnd, CollectChildText, reinterpret_cast<LPARAM>(&description));
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_dismissed.push_back(description);
    }
    ADD_FAILURE() << "Unexpected dialog left open, closed by the test harness: " << description;
    // Cancel first; a box with only OK takes IDOK; anything else WM_CLOSE.
    PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 10 && IsWindow(hwnd); ++i)
        Sleep(50);
    if (IsWindow(hwnd))
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 10 && IsWindow(hwnd); ++i)
        Sleep(50);
    if (IsWindow(hwnd))
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

DWORD WINAPI WatchLoop(LPVOID)
{
    const char* env = getenv("VESTREL_DIALOG_GRACE_MS");
    const DWORD grace = env ? static_cast<DWORD>(atoi(env)) : 5000;
    std::map<HWND, DWORD> firstSeen;
    while (g_running) {
        Sleep(200);
        Scan scan;
        EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&scan));
        std::map<HWND, DWORD> seen;
        const DWORD now = GetTickCount();
        for (HWND hwnd : scan.dialogs) {
            auto it = firstSeen.find(hwnd);
            seen[hwnd] = it == firstSeen.end() ? now : it->second;
        }
        firstSeen.swap(seen);
        if (g_allowDepth > 0) {
            firstSeen.clear();
            continue;
        }
        for (auto& [hwnd, since] : firstSeen) {
            if (now - since >= grace && IsWindow(hwnd)) {
                Dismiss(hwnd);
                since = now;  // a dialog that will not close is reported again later
            }
        }
    }
    return 0;
}

}  // namespace

void StartDialogWatchdog()
{
    if (g_running.exchange(true))
        return;
    g_thread = CreateThread(nullptr, 0, WatchLoop, nullptr, 0, nullptr);
}

void StopDialogWatchdog()
{
    if (!g_running.exchange(false))
        return;
    WaitForSingleObject(g_thread, 5000);
    CloseHandle(g_thread);
    g_thread = nullptr;
}

std::vector<std::string> DismissedDialogs()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_dismissed;
}

AllowDialogs::AllowDialogs() { ++g_allowDepth; }
AllowDialogs::~AllowDialogs() { --g_allowDepth; }

}  // namespace vtest
