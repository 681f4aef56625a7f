#include "shell_fixture.h"

#include "fx/doc_template.h"
#include "fx/document.h"
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

CView* ShellTest::OpenWindowOf(CDocTemplate* type, UINT command)
{
    const size_t before = type->GetDocuments().size();
    frame->SendMessage(WM_COMMAND, command, 0);
    PumpWaitingMessages();
    const auto& docs = type->GetDocuments();
    if (docs.size() != before + 1 || docs.back()->GetViews().empty())
        return nullptr;
    return docs.back()->GetViews().front();
}
