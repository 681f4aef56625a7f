// Which commands are enabled: the main frame's rules for Save, Revert and
// the "MOD" pane, the document-type commands, and the commands whose work
// is not in the program yet.
#include "fx/doc_template.h"
#include "dialog_watchdog.h"
#include "shell_fixture.h"
#include "tests/printer/wine/dialog_driver.h"
#include "util/automation_doc.h"
#include "util/child_frames.h"
#include "util/resource.h"

namespace {

// Stands in for the printer type table's document and view: the rules ask
// only for the view class of the types template and the document's
// modified flag.
class CTableStandInDoc : public CDocument {
    DECLARE_DYNCREATE(CTableStandInDoc)
};
IMPLEMENT_DYNCREATE(CTableStandInDoc, CDocument)

class CTableStandInView : public CView {
    DECLARE_DYNCREATE(CTableStandInView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CTableStandInView, CView)

class UpdateRules : public ShellTest {
protected:
    bool Enabled(UINT id) { return QueryCommandState(frame, id).enabled; }

    // The "MOD" pane after the idle-time update: its text as shown.
    std::string ModPaneShows()
    {
        app->OnIdle(0);
        int index = frame->m_wndStatusBar.CommandToIndex(ID_INDICATOR_MOD);
        char text[64] = "";
        frame->m_wndStatusBar.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }

    CDocument* OpenTypeTableWindow()
    {
        size_t before = app->m_pTypesTemplate->GetDocuments().size();
        frame->SendMessage(WM_COMMAND, ID_PRINTER_TYPE_ENTRY, 0);
        PumpWaitingMessages();
        const auto& docs = app->m_pTypesTemplate->GetDocuments();
        return docs.size() == before + 1 ? docs.back() : nullptr;
    }

    void AddTypesTemplate()
    {
        app->m_pTypesTemplate = new CMultiDocTemplate(IDR_DEVTYPETYPE, RUNTIME_CLASS(CTableStandInDoc),
                                                      RUNTIME_CLASS(CDevTypeFrm), RUNTIME_CLASS(CTableStandInView));
        app->AddDocTemplate(app->m_pTypesTemplate);
    }
};

TEST_F(UpdateRules, WithNoDocumentSaveRevertAndModAreDisabled)
{
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    EXPECT_FALSE(Enabled(ID_FILE_REVERT));
    EXPECT_EQ(ModPaneShows(), "");
    EXPECT_FALSE(frame->m_wndToolBar.IsButtonEnabled(ID_FILE_SAVE));
    // The standard commands the application handles are there.
    for (UINT id : {57664u, 57665u, 57666u, 57668u, 42015u, 42013u, 57606u, 59392u, 59393u, 57601u})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(frame->m_wndToolBar.IsButtonEnabled(ID_HELP_INDEX));
}

TEST_F(UpdateRules, CommandsWhoseWorkIsNotInTheProgramYetAreDisabled)
{
    // F1 is answered only by the information sheet's pages.
    for (UINT id : {57670u})
        EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(UpdateRules, TheNetworkCommandsAreEnabled)
{
    for (UINT id : {42011u, 42012u})
        EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(UpdateRules, DownloadChooseStatusAndChangeNameAreAlwaysEnabled)
{
    for (UINT id : {42006u, 42001u, 42002u, 42008u})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(frame->m_wndToolBar.IsButtonEnabled(ID_FILE_DOWNLOAD));
    EXPECT_TRUE(frame->m_wndToolBar.IsButtonEnabled(ID_PRINTER_CHOOSE));
}

TEST_F(UpdateRules, ChangeNameOpensTheChangePrinterNameDialog)
{
    std::vector<std::string> captions;
    vtest::AllowDialogs allow;
    dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
        if (!dialog)
            return;
        captions.push_back(caption);
        dtest::Press(dialog, IDCANCEL);
    });
    frame->SendMessage(WM_COMMAND, ID_PRINTER_CHANGE_NAME, 0);
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions[0], "Change Printer Name");
}

TEST_F(UpdateRules, ThePrinterTypeTableCanBeOpened)
{
    EXPECT_TRUE(Enabled(ID_PRINTER_TYPE_ENTRY));
    // File New offers the types with a File New name: the printer type
    // table ("Printers"), not the automation type.
    EXPECT_TRUE(Enabled(ID_FILE_NEW));
}

TEST_F(UpdateRules, AModifiedTypeTableEnablesSaveRevertAndMod)
{
    AddTypesTemplate();
    ASSERT_TRUE(Enabled(ID_PRINTER_TYPE_ENTRY));
    CDocument* table = OpenTypeTableWindow();
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    EXPECT_EQ(ModPaneShows(), "");

    table->SetModifiedFlag(TRUE);
    EXPECT_TRUE(Enabled(ID_FILE_SAVE));
    EXPECT_TRUE(Enabled(ID_FILE_REVERT));
    EXPECT_EQ(ModPaneShows(), "MOD");
    EXPECT_TRUE(frame->m_wndToolBar.IsButtonEnabled(ID_FILE_SAVE));

    // Another kind of window in front: the rule looks at the active view only.
    CDocument* other = app->GetDocTemplates().front()->OpenDocumentFile(nullptr);
    PumpWaitingMessages();
    ASSERT_NE(other, nullptr);
    other->SetModifiedFlag(TRUE);
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    EXPECT_EQ(ModPaneShows(), "");
    other->SetModifiedFlag(FALSE);
}

TEST_F(UpdateRules, EachPrinterTypeEntryOpensOneMoreWindow)
{
    AddTypesTemplate();
    CDocument* first = OpenTypeTableWindow();
    CDocument* second = OpenTypeTableWindow();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(app->m_pTypesTemplate->GetDocuments().size(), 2u);
}

TEST_F(UpdateRules, SizeLimitedFrameKeepsItsRecordedSizeAsMaximum)
{
    AddTypesTemplate();
    CDocument* table = OpenTypeTableWindow();
    ASSERT_NE(table, nullptr);
    auto* child = dynamic_cast<CDevTypeFrm*>(frame->MDIGetActive());
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->m_nMaxWidth, -1);
    EXPECT_EQ(child->m_nMaxHeight, -1);

    MINMAXINFO before{};
    before.ptMaxTrackSize = {5000, 5000};
    child->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&before));
    EXPECT_NE(before.ptMaxTrackSize.x, 0);

    child->MoveWindow(10, 10, 300, 200);
    child->RecordSize();
    EXPECT_EQ(child->m_nMaxWidth, 300);
    EXPECT_EQ(child->m_nMaxHeight, 200);
    MINMAXINFO after{};
    child->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&after));
    // The default MDI processing that runs afterwards sets the maximized
    // size from the client area; the tracking limit is what stays.
    EXPECT_EQ(after.ptMaxTrackSize.x, 300);
    EXPECT_EQ(after.ptMaxTrackSize.y, 200);
}

TEST_F(UpdateRules, ADocumentWindowBringsItsTypesMenuAndClosingItBringsBackTheMainMenu)
{
    auto* automation = static_cast<CMultiDocTemplate*>(app->GetDocTemplates().front());
    ASSERT_EQ(GetMenu(frame->m_hWnd), frame->m_hMenuDefault);
    CDocument* doc = automation->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    PumpWaitingMessages();
    EXPECT_EQ(GetMenu(frame->m_hWnd), automation->m_hMenuShared);
    // The one accelerator table (112) serves every window.
    EXPECT_EQ(automation->m_hAccelTable, nullptr);
    EXPECT_EQ(frame->GetDefaultAccelerator(), frame->m_hAccelTable);
    doc->OnCloseDocument();
    PumpWaitingMessages();
    app->OnIdle(0);
    EXPECT_EQ(GetMenu(frame->m_hWnd), frame->m_hMenuDefault);
}

TEST_F(UpdateRules, AutomationDocumentHoldsTheApplicationLock)
{
    LONG before = AfxOleGetLockCount();
    CDocument* doc = app->GetDocTemplates().front()->OpenDocumentFile(nullptr, FALSE);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(AfxOleGetLockCount(), before + 1);
    doc->OnCloseDocument();
    PumpWaitingMessages();
    EXPECT_EQ(AfxOleGetLockCount(), before);
}

}  // namespace
