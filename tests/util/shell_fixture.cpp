#include "shell_fixture.h"

#include "fx/fx_ids.h"

void ShellTest::SetUp()
{
    app = new CVestrelUtilApp;
    app->SetupFromModule(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    ASSERT_TRUE(app->InitApplication());
    ASSERT_TRUE(app->InitInstance());
    frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    PumpWaitingMessages();
}

void ShellTest::TearDown()
{
    if (app == nullptr)
        return;
    app->CloseAllDocuments(TRUE);
    if (app->m_pMainWnd != nullptr)
        app->m_pMainWnd->DestroyWindow();
    PumpWaitingMessages();
    app->ExitInstance();
    delete app;
    app = nullptr;
}
