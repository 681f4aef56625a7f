#include "shell_fixture.h"

#include <commctrl.h>

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

void ShellTest::ClickListHeader(CWnd* form, int listId, int column)
{
    NMLISTVIEW n{};
    n.hdr.hwndFrom = form->GetDlgItem(listId);
    n.hdr.idFrom = static_cast<UINT_PTR>(listId);
    n.hdr.code = LVN_COLUMNCLICK;
    n.iItem = -1;
    n.iSubItem = column;
    form->SendMessage(WM_NOTIFY, static_cast<WPARAM>(listId), reinterpret_cast<LPARAM>(&n));
}
