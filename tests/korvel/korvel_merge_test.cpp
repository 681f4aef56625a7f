// File > Merge in Korvel, through the real open-file dialog, guideline
// dialog and duplicate dialog, against a real atnetd: what the extension
// map's merge shows, and the guidelines where the map shows their effect.
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "korvel/resource.h"
#include "korvel_fixture.h"
#include "table_merge_steps.h"

namespace {

using vtest::DialogScript;
using vtest::MergeSeen;

const std::vector<int> kDuplicateFields = {IDC_KORVEL_DUP_OLD_EXTENSION, IDC_KORVEL_DUP_OLD_TYPE,
                                           IDC_KORVEL_DUP_OLD_CREATOR,   IDC_KORVEL_DUP_OLD_REMARK,
                                           IDC_KORVEL_DUP_NEW_EXTENSION, IDC_KORVEL_DUP_NEW_TYPE,
                                           IDC_KORVEL_DUP_NEW_CREATOR,   IDC_KORVEL_DUP_NEW_REMARK};

const char kMap[] = "com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\n"
                    "txt=\"TEXT\" \"ttxt\" ;SimpleText Document\r\n"
                    "xls=\"XLS \" \"XCEL\" ;Microsoft Excel Spreadsheet\r\n";

class KorvelMerge : public KorvelTest {
protected:
    std::string MergeFilePath(const char* name) const { return service.Dir() + name; }

    // File > Merge, with `script` answering the dialogs (and the recorded
    // answers the message boxes).
    void Merge(DialogScript& script)
    {
        Command(ID_FILE_MERGE);
        EXPECT_EQ(script.Pending(), 0u) << "dialogs the merge did not show";
    }
};

TEST_F(KorvelMerge, CaseByCaseShowsBothRowsAndCancelStopsReading)
{
    WriteMap(kMap);
    const std::string file = MergeFilePath("office.afpmap");
    attest::WriteFile(file, "new=\"NEW \" \"newc\" ;added\r\n"
                            "TXT=\"TEXT\" \"R*ch\" ;BBEdit\r\n"
                            "doc=\"W8BN\" \"MSWD\" ;never read\r\n");
    Start();
    const size_t notified = Notifications();

    MergeSeen seen;
    DialogScript script;
    script.Then(vtest::OpenMergeFile(file, &seen));
    script.Then(vtest::PickGuideline(IDC_KORVEL_MERGE_REPLACE_TABLE, 0, &seen));
    script.Then(vtest::AnswerDuplicate(IDC_KORVEL_DUP_STOP, kDuplicateFields, &seen));
    answers = {IDNO};
    Merge(script);

    EXPECT_EQ(seen.fileDialogTitle, "Merge");
    EXPECT_EQ(seen.filters,
              (std::vector<std::string>{"Extension Tables (*.afpmap)", "Text Files (*.txt)", "All Files (*.*)"}));
    EXPECT_EQ(seen.fileName, "office.afpmap");
    EXPECT_EQ(seen.checkedGuideline, IDC_KORVEL_MERGE_CASE);
    EXPECT_EQ(seen.guidelineTexts, (std::map<int, std::string>{{1011, "Replace Current Extension Table"},
                                                               {1012, "Retain Existing Entries"},
                                                               {1013, "Replace Existing Entries"},
                                                               {1014, "Case by Case"}}));
    ASSERT_EQ(seen.duplicates.size(), 1u);
    EXPECT_EQ(seen.duplicates[0], (std::map<int, std::string>{{-1, "Duplicate Entry Found"},
                                                              {1012, "txt"},
                                                              {1016, "TEXT"},
                                                              {1017, "ttxt"},
                                                              {1019, "SimpleText Document"},
                                                              {1013, "TXT"},
                                                              {1015, "TEXT"},
                                                              {1018, "R*ch"},
                                                              {1020, "BBEdit"}}));
    // Cancel keeps what was merged before it: the summary counts the row
    // added ahead of the duplicate.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "The Merge Operation was Successful:\n\n\t1 Lines Added\n\t0 Lines Changed\n\nSave Changes?");
    // No: the map as last saved.
    EXPECT_EQ(Shown(), (std::vector<std::string>{"com|BINA|mdos|MS-DOS Executable", "txt|TEXT|ttxt|SimpleText Document",
                                                 "xls|XLS |XCEL|Microsoft Excel Spreadsheet"}));
    EXPECT_EQ(ReadMap(), kMap);
    EXPECT_EQ(Notifications(), notified);
}

TEST_F(KorvelMerge, ReplaceExistingTakesTheFileRowKeyCaseIncluded)
{
    WriteMap(kMap);
    const std::string file = MergeFilePath("bbedit.txt");
    attest::WriteFile(file, "TXT=\"TEXT\" \"R*ch\" ;BBEdit\r\nnew=\"NEW\" \"newc\" ;added\r\n");
    Start();
    const size_t notified = Notifications();

    DialogScript script;
    script.Then(vtest::OpenMergeFile(file));
    script.Then(vtest::PickGuideline(IDC_KORVEL_MERGE_REPLACE_TABLE, IDC_KORVEL_MERGE_REPLACE));
    answers = {IDYES};
    Merge(script);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "The Merge Operation was Successful:\n\n\t1 Lines Added\n\t1 Lines Changed\n\nSave Changes?");
    EXPECT_EQ(Shown()[1], "TXT|TEXT|R*ch|BBEdit");
    EXPECT_EQ(ReadMap(), "com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\n"
                         "TXT=\"TEXT\" \"R*ch\" ;BBEdit\r\n"
                         "xls=\"XLS \" \"XCEL\" ;Microsoft Excel Spreadsheet\r\n"
                         "new=\"NEW \" \"newc\" ;added\r\n");
    EXPECT_EQ(service.AwaitTraceOf("tarpin.notify", notified + 1).size(), notified + 1);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(KorvelMerge, RetainingOnlyKnownKeysReportsNothingYetStillSavesAndNotifies)
{
    WriteMap(kMap);
    const std::string file = MergeFilePath("known.afpmap");
    attest::WriteFile(file, "COM=\"APPL\" \"????\" ;other\r\nXls=\"XLS8\" \"XCEL\" ;newer\r\n");
    Start();
    const size_t notified = Notifications();

    DialogScript script;
    script.Then(vtest::OpenMergeFile(file));
    script.Then(vtest::PickGuideline(IDC_KORVEL_MERGE_REPLACE_TABLE, IDC_KORVEL_MERGE_RETAIN));
    answers = {IDYES};
    Merge(script);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "The Merge Operation was Successful:\n\n\t0 Lines Added\n\t0 Lines Changed\n\nSave Changes?");
    EXPECT_EQ(ReadMap(), kMap);
    EXPECT_EQ(service.AwaitTraceOf("tarpin.notify", notified + 1).size(), notified + 1);
}

TEST_F(KorvelMerge, ALineThatIsNotAMapLineAbortsAndTheMapIsReadAgain)
{
    WriteMap(kMap);
    const std::string file = MergeFilePath("mixed.txt");
    attest::WriteFile(file, "new=\"NEW \" \"newc\" ;added\r\nold=\"OLD \" \"oldc\" ;\r\nno equals sign here\r\n");
    Start();

    DialogScript script;
    script.Then(vtest::OpenMergeFile(file));
    script.Then(vtest::PickGuideline(IDC_KORVEL_MERGE_REPLACE_TABLE, IDC_KORVEL_MERGE_REPLACE_TABLE));
    Merge(script);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Merge Input File - Improper Line Format!");
    EXPECT_EQ(boxes[0].text, "File: mixed.txt\nLine 3 is not Extension Map format!\nAborting Merge Operation!");
    EXPECT_EQ(Shown().size(), 3u) << "the map as saved, not emptied";
    EXPECT_EQ(Shown()[0], "com|BINA|mdos|MS-DOS Executable");
    EXPECT_FALSE(Doc()->IsModified());
}

// The file dialog's Help button asks its owner, the view, with the
// registered help message (Wine's dialog sends none, so the test sends it).
TEST_F(KorvelMerge, TheFileDialogsHelpRequestShowsTheHelpTopics)
{
    WriteMap(kMap);
    Start();
    vtest::HelpProgramRecorder recorder;
    ASSERT_TRUE(recorder.Installed());
    view->SendMessage(RegisterWindowMessageA(HELPMSGSTRINGA));
    const std::vector<std::string> lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(app->m_strHelpPath), std::string::npos) << lines[0];
}

}  // namespace
