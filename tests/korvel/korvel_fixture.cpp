#include "korvel_fixture.h"

#include "korvel/resource.h"

void KorvelTest::SetUp()
{
    ASSERT_TRUE(service.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
    installFolder = std::make_unique<vtest::InstallFolderOverride>(service.Dir());
    messages = std::make_unique<vtest::MessageBoxRecorder>(boxes, answers);
}

void KorvelTest::Start(const char* cmdLine)
{
    app = new CKorvelApp;
    app->SetupFromModule(GetModuleHandleA(nullptr), cmdLine, SW_SHOWNORMAL);
    ASSERT_TRUE(app->InitApplication());
    ASSERT_TRUE(app->InitInstance());
    frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    view = dynamic_cast<CKorvelView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    vtest::PumpWaitingMessages();
}

void KorvelTest::StartForClient()
{
    app = new CKorvelApp;
    app->SetupFromModule(GetModuleHandleA(nullptr), "/Embedding", SW_SHOWNORMAL);
    ASSERT_TRUE(app->InitApplication());
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(app->m_pMainWnd, nullptr);
}

void KorvelTest::TearDown()
{
    if (app != nullptr) {
        if (CKorvelDoc* doc = Doc())
            doc->SetModifiedFlag(FALSE);  // no save prompt at the end
        app->CloseAllDocuments(TRUE);
        if (app->m_pMainWnd != nullptr)
            app->m_pMainWnd->DestroyWindow();
        vtest::PumpWaitingMessages();
        app->ExitInstance();
        delete app;
        app = nullptr;
    }
    messages.reset();
    installFolder.reset();
}

std::vector<std::string> KorvelTest::Shown() const
{
    std::vector<std::string> rows;
    for (int i = 0; i < view->m_listCtrl.GetItemCount(); ++i)
        rows.push_back(view->m_listCtrl.GetItemText(i, 0) + "|" + view->m_listCtrl.GetItemText(i, 1) + "|" +
                       view->m_listCtrl.GetItemText(i, 2) + "|" + view->m_listCtrl.GetItemText(i, 3));
    return rows;
}

std::string KorvelTest::PaneText(UINT id)
{
    app->OnIdle(0);
    int index = frame->m_wndStatusBar.CommandToIndex(id);
    char text[64] = "";
    frame->m_wndStatusBar.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}
