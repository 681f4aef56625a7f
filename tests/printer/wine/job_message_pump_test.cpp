#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "job_message_pump.h"

namespace {

// What CWinApp::PumpMessage does: one message, FALSE on WM_QUIT.
struct RecordingPump {
    std::vector<UINT> seen;
    BOOL operator()()
    {
        MSG msg;
        if (!GetMessageA(&msg, nullptr, 0, 0))
            return FALSE;
        seen.push_back(msg.message);
        DispatchMessageA(&msg);
        return TRUE;
    }
};

void DrainQueue()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(JobMessagePump, DispatchesEverythingWaitingAndReturns)
{
    DrainQueue();
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 10, 0, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 11, 0, 0);
    RecordingPump pump;
    PumpWaitingMessages(pump);
    EXPECT_EQ(pump.seen, (std::vector<UINT>{WM_USER + 10, WM_USER + 11}));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST(JobMessagePump, PutsTheQuitBackForTheMainLoopAndStops)
{
    DrainQueue();
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 20, 0, 0);
    PostQuitMessage(3);
    RecordingPump pump;
    PumpWaitingMessages(pump);
    EXPECT_EQ(pump.seen, std::vector<UINT>{WM_USER + 20});
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "WM_QUIT posted again";
    EXPECT_EQ(msg.wParam, 0u) << "with exit code 0";
    DrainQueue();
}

}  // namespace
