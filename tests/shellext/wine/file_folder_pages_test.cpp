// The file and folder pages as the shell shows them: a selection goes in
// through Initialize, the pages come out of AddPages into a real sheet, and
// the controls show what the sample world holds.
#include "extension_fixture.h"

#include "dialog_driver.h"
#include "directory_info.h"
#include "file_props.h"
#include "net_props.h"
#include "resource.h"

namespace shelltest {
namespace {

const char kNotes[] = "\\\\Engineering Server\\Projects\\Vestrel 2.5\\Stack Design Notes";
const char kProjectFolder[] = "\\\\Engineering Server\\Projects\\Vestrel 2.5";

class FilePage : public ExtensionTest {};

TEST_F(FilePage, ShowsTheFilesNamesCodesForksAndBackupDate)
{
    SheetHost host;
    HRESULT hr = E_UNEXPECTED;
    Open(RUNTIME_CLASS(CVSXFileProps), DroppedFiles({kNotes}), host, &hr);
    EXPECT_EQ(hr, S_OK);
    ASSERT_EQ(host.pages.size(), 1u);
    ASSERT_TRUE(host.Show("Properties for Stack Design Notes"));
    EXPECT_EQ(host.TabTitle(0), "Macintosh");
    HWND page = host.Page(0);
    EXPECT_EQ(ItemText(page, IDC_FILE_NAME), "Stack Design Notes");
    EXPECT_EQ(ItemText(page, IDC_FILE_SHORT_NAME), "STACKD~1.DOC");
    EXPECT_EQ(ItemText(page, IDC_FILE_TYPE), "WDBN");
    EXPECT_EQ(ItemText(page, IDC_FILE_CREATOR), "MSWD");
    EXPECT_EQ(ItemText(page, IDC_DATA_FORK_LENGTH), "123,456");
    EXPECT_EQ(ItemText(page, IDC_RESOURCE_FORK_LENGTH), "2,048");
    EXPECT_EQ(ItemText(page, IDC_BACKUP_DATE), PageDate(826423200));  // 1996-03-10 02:00 UTC
    for (int box : {IDC_SYSTEM, IDC_READ_ONLY, IDC_RENAME_INHIBIT, IDC_DELETE_INHIBIT, IDC_COPY_PROTECT})
        EXPECT_FALSE(Checked(page, box)) << box;
    // The page took the sheet's context-help button away.
    EXPECT_EQ(GetWindowLongPtrA(host.sheet, GWL_EXSTYLE) & WS_EX_CONTEXTHELP, 0);
    dtest::SaveScreenshot(host.sheet, "file_page");
}

TEST_F(FilePage, AttributesNoBackupDateAndSmallForks)
{
    struct Case {
        const char* name;
        std::vector<int> checked;
        const char* data;
        const char* resource;
    };
    const Case cases[] = {
        {"Vestrel 2.5\\Read Me", {IDC_RENAME_INHIBIT, IDC_DELETE_INHIBIT}, "1,000", "0"},
        {"Vestrel 2.5\\Budget 1996", {IDC_COPY_PROTECT, IDC_DELETE_INHIBIT}, "34,816", "512"},
        {"SimpleText", {IDC_SYSTEM, IDC_READ_ONLY}, "0", "62,781"},
    };
    for (const Case& c : cases) {
        SheetHost host;
        Open(RUNTIME_CLASS(CVSXFileProps), DroppedFiles({std::string("\\\\Engineering Server\\Projects\\") + c.name}),
             host);
        ASSERT_TRUE(host.Show()) << c.name;
        HWND page = host.Page(0);
        for (int box : {IDC_SYSTEM, IDC_READ_ONLY, IDC_RENAME_INHIBIT, IDC_DELETE_INHIBIT, IDC_COPY_PROTECT}) {
            const bool expected = std::find(c.checked.begin(), c.checked.end(), box) != c.checked.end();
            EXPECT_EQ(Checked(page, box), expected) << c.name << " box " << box;
        }
        EXPECT_EQ(ItemText(page, IDC_BACKUP_DATE), "<None>") << c.name;
        EXPECT_EQ(ItemText(page, IDC_DATA_FORK_LENGTH), c.data) << c.name;
        EXPECT_EQ(ItemText(page, IDC_RESOURCE_FORK_LENGTH), c.resource) << c.name;
    }
}

TEST_F(FilePage, AWideDropListOnTheMappedDriveNamesTheFileOnTheServer)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXFileProps), DroppedFiles({"N:\\Vestrel 2.5\\Read Me"}, true), host);
    ASSERT_TRUE(host.Show());
    EXPECT_EQ(ItemText(host.Page(0), IDC_FILE_NAME), "Read Me");
    const auto reads = Calls("afp.fldr");
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0]["in"]["path"], "\\\\Engineering Server\\Projects\\Vestrel 2.5\\Read Me");
}

TEST_F(FilePage, TwoFilesGiveTheMultipleSelectionPageAndNoReadOfTheFiles)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXFileProps), DroppedFiles({kNotes, "\\\\Engineering Server\\Projects\\SimpleText"}), host);
    ASSERT_TRUE(host.Show());
    ASSERT_EQ(host.pages.size(), 1u);
    EXPECT_EQ(host.TabTitle(0), "AppleTalk");
    EXPECT_EQ(Calls("afp.bitmap").size(), 1u);
    EXPECT_EQ(Calls("afp.fldr").size(), 0u);
    EXPECT_EQ(Calls("afp.parse").size(), 0u);
}

TEST_F(FilePage, ALocalPathOrAMissingFileOffersNoPage)
{
    for (const char* name : {"C:\\windows\\win.ini", "\\\\Engineering Server\\Projects\\Missing"}) {
        SheetHost host;
        HRESULT hr = S_OK;
        Open(RUNTIME_CLASS(CVSXFileProps), DroppedFiles({name}), host, &hr);
        EXPECT_EQ(hr, E_FAIL) << name;
        EXPECT_EQ(host.offers, 0) << name;
    }
}

class FolderPage : public ExtensionTest {};

TEST_F(FolderPage, ShowsNamesDatesOwnerGroupAndRights)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps), DroppedFiles({kProjectFolder}), host);
    ASSERT_TRUE(host.Show("Properties for Vestrel 2.5"));
    HWND page = host.Page(0);
    EXPECT_EQ(ItemText(page, IDC_DIRECTORY_NAME), "Vestrel 2.5");
    EXPECT_EQ(ItemText(page, IDC_DIRECTORY_SHORT_NAME), "VESTRE~1");
    EXPECT_EQ(ItemText(page, IDC_MODIFIED_DATE), PageDate(826739110));  // 1996-03-13 17:45:10 UTC
    EXPECT_EQ(ItemText(page, IDC_BACKUP_DATE), PageDate(826423200));
    EXPECT_EQ(ItemText(page, IDC_OWNER_NAME), "Anna Berg");
    EXPECT_EQ(ItemText(page, IDC_GROUP_NAME), "Engineers");
    for (int box : {IDC_SYSTEM, IDC_RENAME_INHIBIT, IDC_DELETE_INHIBIT})
        EXPECT_FALSE(Checked(page, box));
    // Anna Berg, the session's user, owns it: her row has every right.
    for (int box : {IDC_USER_SEE_FOLDERS, IDC_USER_SEE_FILES, IDC_USER_MAKE_CHANGES, IDC_OWNER_SEE_FOLDERS,
                    IDC_OWNER_SEE_FILES, IDC_OWNER_MAKE_CHANGES, IDC_GROUP_SEE_FOLDERS, IDC_GROUP_SEE_FILES,
                    IDC_GROUP_MAKE_CHANGES, IDC_EVERYONE_SEE_FOLDERS})
        EXPECT_TRUE(Checked(page, box)) << box;
    EXPECT_FALSE(Checked(page, IDC_EVERYONE_SEE_FILES));
    EXPECT_FALSE(Checked(page, IDC_EVERYONE_MAKE_CHANGES));
    EXPECT_TRUE(Visible(page, IDC_BACKUP_DATE_LABEL));
    dtest::SaveScreenshot(host.sheet, "folder_page");
}

TEST_F(FolderPage, AnOwnerAndGroupTheServerCannotNameShowTheirIds)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps), DroppedFiles({"\\\\Engineering Server\\Public\\Drop Box"}), host);
    ASSERT_TRUE(host.Show());
    HWND page = host.Page(0);
    EXPECT_EQ(ItemText(page, IDC_OWNER_NAME), "OwnerId - 17");
    EXPECT_EQ(ItemText(page, IDC_GROUP_NAME), "GroupId - 23");
    EXPECT_EQ(ItemText(page, IDC_DIRECTORY_SHORT_NAME), "");
}

TEST_F(FolderPage, EachRightsByteFillsItsOwnRow)
{
    // Rights in buffer order 87 03 01 07: the session's user owns the
    // folder (bit 7), everyone sees folders and files, the group sees
    // folders, the owner has every right.
    service_.Kill();
    ASSERT_TRUE(service_.Start(R"({
      "workstation": { "network": 1, "node": 2, "zone": "Z" },
      "zones": [ { "name": "Z", "local": true } ],
      "servers": [ { "name": "S", "users": [ { "name": "U", "id": 5, "password": "p" } ],
        "groups": [ { "name": "G", "id": 9, "members": [] } ],
        "session": { "user": "U", "connectedAt": "1996-03-14T08:30:00Z" },
        "volumes": [ { "name": "V", "root": { "children": [
          { "name": "F", "owner": "U", "group": "G", "attributes": ["system", "deleteInhibit"],
            "access": { "owner": ["seeFolders", "seeFiles", "makeChanges"], "group": ["seeFolders"],
                        "everyone": ["seeFolders", "seeFiles"] }, "children": [] } ] } } ] } ] })"));
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps), DroppedFiles({"\\\\S\\V\\F"}), host);
    ASSERT_TRUE(host.Show());
    HWND page = host.Page(0);
    const struct {
        int seeFolders, seeFiles, makeChanges;
        bool folders, files, changes;
    } rows[] = {
        {IDC_USER_SEE_FOLDERS, IDC_USER_SEE_FILES, IDC_USER_MAKE_CHANGES, true, true, true},
        {IDC_EVERYONE_SEE_FOLDERS, IDC_EVERYONE_SEE_FILES, IDC_EVERYONE_MAKE_CHANGES, true, true, false},
        {IDC_GROUP_SEE_FOLDERS, IDC_GROUP_SEE_FILES, IDC_GROUP_MAKE_CHANGES, true, false, false},
        {IDC_OWNER_SEE_FOLDERS, IDC_OWNER_SEE_FILES, IDC_OWNER_MAKE_CHANGES, true, true, true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Checked(page, row.seeFolders), row.folders) << row.seeFolders;
        EXPECT_EQ(Checked(page, row.seeFiles), row.files) << row.seeFiles;
        EXPECT_EQ(Checked(page, row.makeChanges), row.changes) << row.makeChanges;
    }
    EXPECT_TRUE(Checked(page, IDC_SYSTEM));
    EXPECT_TRUE(Checked(page, IDC_DELETE_INHIBIT));
    EXPECT_FALSE(Checked(page, IDC_RENAME_INHIBIT));
    EXPECT_EQ(ItemText(page, IDC_BACKUP_DATE), "<None>");
}

TEST_F(FolderPage, AVolumesRootShowsOnlyNameOwnerGroupAndRights)
{
    // The mapped drive's root is the bare network name of the volume.
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps), DroppedFiles({"N:\\"}, true), host);
    const auto bitmaps = Calls("afp.bitmap");
    ASSERT_FALSE(bitmaps.empty());
    EXPECT_EQ(bitmaps.back()["in"]["name"], "\\\\Engineering Server\\Projects");
    ASSERT_TRUE(host.Show("Properties for Projects"));
    const int last = static_cast<int>(host.pages.size()) - 1;
    EXPECT_EQ(host.TabTitle(last), "Access Privileges");
    HWND page = host.Page(last);
    EXPECT_EQ(ItemText(page, IDC_DIRECTORY_NAME), "Projects");
    EXPECT_EQ(ItemText(page, IDC_OWNER_NAME), "Administrator");
    EXPECT_EQ(ItemText(page, IDC_GROUP_NAME), "Staff");
    for (int hidden : {IDC_MODIFIED_DATE_LABEL, IDC_BACKUP_DATE_LABEL, IDC_SYSTEM, IDC_RENAME_INHIBIT,
                       IDC_DELETE_INHIBIT, IDC_FOLDER_SEPARATOR, IDC_DIRECTORY_SHORT_NAME})
        EXPECT_FALSE(Visible(page, hidden)) << hidden;
    EXPECT_EQ(ItemText(page, IDC_MODIFIED_DATE), "");
    EXPECT_EQ(ItemText(page, IDC_BACKUP_DATE), "");
    EXPECT_TRUE(Checked(page, IDC_OWNER_MAKE_CHANGES));
    EXPECT_TRUE(Checked(page, IDC_EVERYONE_SEE_FILES));
    EXPECT_FALSE(Checked(page, IDC_EVERYONE_MAKE_CHANGES));
    host.Select(last);
    dtest::SaveScreenshot(host.sheet, "volume_access_page");
}

}  // namespace
}  // namespace shelltest
