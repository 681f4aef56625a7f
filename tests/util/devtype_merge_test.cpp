// File > Merge in the printer type window, through the real open-file
// dialog, guideline dialog and duplicate dialog, against a real atnetd: the
// guidelines, the summary and its Yes (save and notify) and No (the table
// as last saved), a line that aborts the merge, a file that cannot be
// opened, and the entry area after a merge.
#include <string>
#include <vector>

#include "devtype_fixture.h"
#include "table_merge_steps.h"

namespace {

using vtest::DialogScript;
using vtest::MergeSeen;

const std::vector<int> kDuplicateFields = {IDC_DEVTYPE_DUP_OLD_TYPE, IDC_DEVTYPE_DUP_OLD_PS,
                                           IDC_DEVTYPE_DUP_OLD_REMARK, IDC_DEVTYPE_DUP_NEW_TYPE,
                                           IDC_DEVTYPE_DUP_NEW_PS, IDC_DEVTYPE_DUP_NEW_REMARK};

std::string Summary(int added, int changed)
{
    return "The Merge Operation was Successful:\n\n\t" + std::to_string(added) + " Lines Added\n\t" +
           std::to_string(changed) + " Lines Changed\n\nSave Changes?";
}

class DevTypeMerge : public DevTypeWindow {
protected:
    std::string MergeFilePath(const char* name) const { return service.Dir() + name; }

    // File > Merge, with `script` answering the dialogs (and the recorded
    // answers the message boxes).
    void Merge(CDevTypeView* view, DialogScript& script)
    {
        view->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_MERGE, 0);
        PumpWaitingMessages();
        EXPECT_EQ(script.Pending(), 0u) << "dialogs the merge did not show";
    }
};

TEST_F(DevTypeMerge, CancellingTheFileOrTheGuidelineChangesNothing)
{
    WriteTable("\"LaserWriter\" Y ;office\r\n");
    const std::string file = MergeFilePath("more.paptype");
    attest::WriteFile(file, "\"New\" Y ;n\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(QueryCommandState(frame, ID_FILE_MERGE).enabled);

    MergeSeen seen;
    {
        DialogScript script;
        script.Then([&](HWND dialog) {
            vtest::OpenMergeFile("", &seen)(dialog);  // reads the dialog; no name: nothing opens
            DialogScript::Press(dialog, IDCANCEL);
        });
        Merge(view, script);
    }
    EXPECT_EQ(seen.fileDialogTitle, "Merge");
    EXPECT_EQ(seen.filters,
              (std::vector<std::string>{"Printer Type Tables (*.paptype)", "Text Files (*.txt)", "All Files (*.*)"}));
    {
        DialogScript script;
        script.Then(vtest::OpenMergeFile(file));
        script.Then(vtest::PickGuideline(IDC_DEVTYPE_MERGE_REPLACE_TABLE, IDC_DEVTYPE_MERGE_REPLACE_TABLE, &seen,
                                         IDCANCEL));
        Merge(view, script);
        EXPECT_EQ(script.Seen()[1], "Merge File:");
    }
    EXPECT_EQ(seen.fileName, "more.paptype");
    EXPECT_EQ(seen.checkedGuideline, IDC_DEVTYPE_MERGE_CASE);
    EXPECT_EQ(seen.guidelineTexts, (std::map<int, std::string>{{1050, "Replace Current Device Table"},
                                                               {1051, "Retain Existing Entries"},
                                                               {1052, "Replace Existing Entries"},
                                                               {1053, "Case by Case"}}));
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"LaserWriter|Yes|office"}));
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(view->GetDocument()->IsModified());
}

TEST_F(DevTypeMerge, CaseByCaseAsksAboutEachDuplicateUntilCancelThenYesSavesAndNotifies)
{
    WriteTable("\"LaserWriter\" Y ;office\r\n\"ImageWriter\" N ;dot\r\n\"Color\" y ;c\r\n\"Plotter\" N ;p\r\n");
    const std::string file = MergeFilePath("more.paptype");
    attest::WriteFile(file, "\"laserwriter\" N ;replaced\r\n\"New1\" Y ;n1\r\n\"IMAGEWRITER\" Y ;not taken\r\n"
                            "\"COLOR\" n ;stop here\r\n\"New2\" Y ;never read\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    const size_t notified = Notifications();

    MergeSeen seen;
    DialogScript script;
    script.Then(vtest::OpenMergeFile(file));
    script.Then(vtest::PickGuideline(IDC_DEVTYPE_MERGE_REPLACE_TABLE, 0, &seen));  // Case by Case as it opens
    script.Then(vtest::AnswerDuplicate(IDOK, kDuplicateFields, &seen));                 // Replace Old Entry
    script.Then(vtest::AnswerDuplicate(IDCANCEL, kDuplicateFields, &seen));             // Retain Old Entry
    script.Then(vtest::AnswerDuplicate(IDC_DEVTYPE_DUP_STOP, kDuplicateFields, &seen)); // Cancel
    answers = {IDYES};
    Merge(view, script);

    ASSERT_EQ(seen.duplicates.size(), 3u);
    EXPECT_EQ(seen.duplicates[0], (std::map<int, std::string>{{-1, "Merge: Duplicate Entry Found"},
                                                              {1005, "LaserWriter"},
                                                              {1046, "1"},
                                                              {1010, "office"},
                                                              {1007, "laserwriter"},
                                                              {1047, "0"},
                                                              {1011, "replaced"}}));
    EXPECT_EQ(seen.duplicates[2][1046], "1") << "a flag y is PostScript";
    EXPECT_EQ(seen.duplicates[2][1047], "0");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Merge Operation Completed!");
    EXPECT_EQ(boxes[0].text, Summary(1, 1));
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(ReadTable(), "\"laserwriter\" N ;replaced\r\n\"ImageWriter\" N ;dot\r\n\"Color\" y ;c\r\n"
                           "\"Plotter\" N ;p\r\n\"New1\" Y ;n1\r\n");
    EXPECT_EQ(Shown(view)[0], "laserwriter|No|replaced");
    EXPECT_EQ(service.AwaitTraceOf("tarpin.notify", notified + 1).size(), notified + 1);
    EXPECT_FALSE(view->GetDocument()->IsModified());

    // The document keeps its one duplicate dialog for later merges.
    auto* doc = view->GetDevTypeDoc();
    CDuplicateEntryDlg* dialog = doc->m_pDuplicateDlg.get();
    ASSERT_NE(dialog, nullptr);
    DialogScript again;
    again.Then(vtest::OpenMergeFile(file));
    again.Then(vtest::PickGuideline(IDC_DEVTYPE_MERGE_REPLACE_TABLE, 0));
    again.Then(vtest::AnswerDuplicate(IDC_DEVTYPE_DUP_STOP, kDuplicateFields, nullptr));
    answers = {IDNO};
    Merge(view, again);
    EXPECT_EQ(doc->m_pDuplicateDlg.get(), dialog);
    EXPECT_EQ(boxes.back().text, Summary(0, 0));
}

TEST_F(DevTypeMerge, ReplaceTableKeepsTheFirstOfARepeatedKeyAndNoRestoresTheTableAsSaved)
{
    const std::string saved = "\"Alpha\" Y ;a\r\n\"Beta\" N ;b\r\n";
    WriteTable(saved);
    const std::string file = MergeFilePath("other.paptype");
    attest::WriteFile(file, "\"Xerox\" Y ;first\n\"XEROX\" N ;second\n\"Alpha\" N ;from the file\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    AddRow(view, "Unsaved", true, "typed");
    const size_t notified = Notifications();
    // A row is loaded into the fields when the merge starts.
    Select(view, 0);
    ASSERT_EQ(EntryState(view), "loaded");

    DialogScript script;
    script.Then(vtest::OpenMergeFile(file));
    script.Then(vtest::PickGuideline(IDC_DEVTYPE_MERGE_REPLACE_TABLE, IDC_DEVTYPE_MERGE_REPLACE_TABLE));
    // The table holds what the merge made while the summary asks.
    std::vector<std::string> whileAsked;
    auto recorder = FxSetMessageBoxHandler([&](const MessageBoxRequest& r) {
        boxes.push_back(r);
        whileAsked = Shown(view);
        return IDNO;
    });
    Merge(view, script);
    FxSetMessageBoxHandler(recorder);

    EXPECT_EQ(whileAsked, (std::vector<std::string>{"Xerox|Yes|first", "Alpha|No|from the file"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Summary(2, 0));
    // No: the file as last saved, the typed row gone with the merge.
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"Alpha|Yes|a", "Beta|No|b"}));
    EXPECT_EQ(ReadTable(), saved);
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_EQ(Notifications(), notified);
    // The row that was loaded went with the old rows: the entry area is
    // idle, and Accept (disabled) updates nothing.
    EXPECT_EQ(EntryState(view), "idle");
    Press(view, IDC_DEVTYPE_ACCEPT);
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"Alpha|Yes|a", "Beta|No|b"}));
}

TEST_F(DevTypeMerge, RetainedMergeAppendsInFileOrderAndYesSavesTheUnsavedEditsToo)
{
    WriteTable("\"Alpha\" Y ;a\r\n");
    const std::string file = MergeFilePath("list.txt");
    attest::WriteFile(file, "\"Zulu\" N ;z\r\n\"ALPHA\" N ;not taken\r\n\"Mike\" y ;m\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    AddRow(view, "Unsaved", true, "typed");
    Select(view, 1);

    DialogScript script;
    script.Then(vtest::OpenMergeFile(file));
    script.Then(vtest::PickGuideline(IDC_DEVTYPE_MERGE_REPLACE_TABLE, IDC_DEVTYPE_MERGE_RETAIN));
    answers = {IDYES};
    Merge(view, script);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, Summary(2, 0));
    EXPECT_EQ(ReadTable(), "\"Alpha\" Y ;a\r\n\"Unsaved\" Y ;typed\r\n\"Zulu\" N ;z\r\n\"Mike\" y ;m\r\n");
    EXPECT_EQ(EntryState(view), "idle");
    EXPECT_FALSE(view->GetDocument()->IsModified());
}

TEST_F(DevTypeMerge, ABlankLineAbortsTheMergeAndTheTableIsReadAgain)
{
    WriteTable("\"Alpha\" Y ;a\r\n");
    const std::string file = MergeFilePath("gap.txt");
    attest::WriteFile(file, "\"Before\" Y ;merged, then dropped\r\n\r\n\"After\" N ;never read\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    const size_t notified = Notifications();

    DialogScript script;
    script.Then(vtest::OpenMergeFile(file));
    script.Then(vtest::PickGuideline(IDC_DEVTYPE_MERGE_REPLACE_TABLE, IDC_DEVTYPE_MERGE_REPLACE));
    Merge(view, script);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Merge Input File - Improper Line Format!");
    EXPECT_EQ(boxes[0].text, "File: gap.txt\nLine 2 is not Extension Map format!\nAborting Merge Operation!");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"Alpha|Yes|a"}));
    EXPECT_EQ(Notifications(), notified);
}

TEST_F(DevTypeMerge, AFileThatCannotBeOpenedIsReportedAndNothingElseHappens)
{
    WriteTable("\"Alpha\" Y ;a\r\n");
    const std::string file = MergeFilePath("locked.paptype");
    attest::WriteFile(file, "\"New\" Y ;n\r\n");
    CDevTypeView* view = OpenWindow();
    ASSERT_NE(view, nullptr);
    HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    DialogScript script;
    script.Then(vtest::OpenMergeFile(file));
    Merge(view, script);
    CloseHandle(lock);

    EXPECT_EQ(script.Seen().size(), 1u) << "no guideline dialog";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Merge File Problem");
    EXPECT_EQ(boxes[0].text, "Unable to Open Merge File!");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(Shown(view), (std::vector<std::string>{"Alpha|Yes|a"}));
}

}  // namespace
