// File Open: the common Open dialog, answered through a CBT hook, opens the
// chosen file with the document type of its extension.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "fx/recent_files.h"
#include "route_fixture.h"

namespace {

HHOOK g_hook = nullptr;
std::string g_answer;

void CALLBACK AnswerOpenDialog(HWND dialog, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(dialog, timer);
    // The Explorer-style dialog keeps its file name in combo box 0x47C;
    // the older style in edit 0x480.
    HWND name = GetDlgItem(dialog, 0x47C);
    if (name == nullptr)
        name = GetDlgItem(dialog, 0x480);
    SetWindowTextA(name, g_answer.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

LRESULT CALLBACK WatchForDialog(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND h = reinterpret_cast<HWND>(wParam);
        char cls[32] = "";
        if (GetClassNameA(h, cls, sizeof cls) && strcmp(cls, "#32770") == 0)
            SetTimer(h, 0x6161, 100, &AnswerOpenDialog);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST(FileOpen, TheChosenFileOpensWithItsDocumentType)
{
    CRouteApp app;
    CRouteMainFrame* frame = StartRouteProgram(app);
    ASSERT_NE(frame, nullptr);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    g_answer = std::string(temp) + "opened.rte";
    std::ofstream(g_answer) << "x";

    app.LoadStdProfileSettings(4);
    g_hook = SetWindowsHookExA(WH_CBT, &WatchForDialog, nullptr, GetCurrentThreadId());
    app.OnFileOpen();
    UnhookWindowsHookEx(g_hook);
    PumpWaitingMessages();

    const auto& docs = app.GetDocTemplates().front()->GetDocuments();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs.front()->GetTitle(), "opened.rte");
    EXPECT_EQ(lstrcmpiA(docs.front()->GetPathName().c_str(), g_answer.c_str()), 0);
    // The file heads the recent-file list.
    ASSERT_GE(app.m_pRecentFileList->GetCount(), 1);
    EXPECT_EQ(lstrcmpiA((*app.m_pRecentFileList)[0].c_str(), g_answer.c_str()), 0);
    EndRouteProgram(app);
    DeleteFileA(g_answer.c_str());
}

}  // namespace
