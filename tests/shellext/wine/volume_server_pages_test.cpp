// The volume and server pages as the shell shows them for the sample
// world's objects: what each control says, the "Access Privileges" page
// after a volume's own, the server's advanced page, and the time connected
// that counts only while its page is shown.
#include "extension_fixture.h"

#include "dialog_driver.h"
#include "net_props.h"
#include "resource.h"
#include "server_info.h"
#include "server_page.h"

namespace shelltest {
namespace {

const NetItem kEngineeringServer{"\\\\Engineering Server", "AppleTalk Network"};

std::vector<std::string> ListOf(HWND page, int id)
{
    return dtest::ListItems(GetDlgItem(page, id));
}

class VolumePage : public ExtensionTest {};

TEST_F(VolumePage, ShowsNamesSizesDatesAndThenTheAccessPrivilegesPage)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps), DroppedFiles({"\\\\Engineering Server\\Projects"}), host);
    ASSERT_TRUE(host.Show("Properties for Projects"));
    ASSERT_EQ(host.pages.size(), 2u);
    EXPECT_EQ(host.TabTitle(0), "AppleShare");
    EXPECT_EQ(host.TabTitle(1), "Access Privileges");
    HWND page = host.Page(0);
    EXPECT_EQ(ItemText(page, IDC_VOLUME_NAME), "Engineering Projects");
    EXPECT_EQ(ItemText(page, IDC_VOLUME_SHORT_NAME), "Projects");
    EXPECT_EQ(ItemText(page, IDC_BYTES_TOTAL), "2,147,483,648");
    EXPECT_EQ(ItemText(page, IDC_BYTES_FREE), "524,288,000");
    EXPECT_EQ(ItemText(page, IDC_CREATED_DATE), PageDate(770461200));    // 1994-06-01 09:00 UTC
    EXPECT_EQ(ItemText(page, IDC_MODIFIED_DATE), PageDate(826739110));   // 1996-03-13 17:45:10 UTC
    EXPECT_EQ(ItemText(page, IDC_BACKUP_DATE), PageDate(826423200));     // 1996-03-10 02:00 UTC
    EXPECT_FALSE(Checked(page, IDC_READ_ONLY));
    EXPECT_FALSE(Checked(page, IDC_HAS_PASSWORD));
    EXPECT_EQ(ItemText(host.Page(1), IDC_DIRECTORY_NAME), "Projects");
    host.Select(0);
    dtest::SaveScreenshot(host.sheet, "volume_page");
}

TEST_F(VolumePage, ThreeBillionBytesNoBackupDateReadOnlyWithPassword)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps), NetResources({{"\\\\Engineering Server\\Archive", "AppleTalk Network"}}), host);
    ASSERT_TRUE(host.Show());
    HWND page = host.Page(0);
    EXPECT_EQ(ItemText(page, IDC_VOLUME_NAME), "Archive");
    EXPECT_EQ(ItemText(page, IDC_BYTES_TOTAL), "3,000,000,000");
    EXPECT_EQ(ItemText(page, IDC_BYTES_FREE), "0");
    EXPECT_EQ(ItemText(page, IDC_BACKUP_DATE), "<None>");
    EXPECT_TRUE(Checked(page, IDC_READ_ONLY));
    EXPECT_TRUE(Checked(page, IDC_HAS_PASSWORD));
}

class ServerPage : public ExtensionTest {};

TEST_F(ServerPage, ShowsTheServerTheSessionAndWhatTheServerSupports)
{
    SheetHost host;
    HRESULT hr = E_UNEXPECTED;
    Open(RUNTIME_CLASS(CVSXNetProps), NetResources({kEngineeringServer}), host, &hr);
    EXPECT_EQ(hr, S_OK);
    ASSERT_TRUE(host.Show("Properties for Engineering Server"));
    ASSERT_EQ(host.pages.size(), 2u);
    EXPECT_EQ(host.TabTitle(0), "AppleShare");
    EXPECT_EQ(host.TabTitle(1), "Advanced");
    const auto asked = Calls("afp.server");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0]["in"]["name"], "\\\\Engineering Server");

    HWND page = host.Page(0);
    EXPECT_EQ(ItemText(page, IDC_OBJECT_NAME), "Engineering Server");
    EXPECT_EQ(ItemText(page, IDC_OBJECT_ZONE), "Engineering");
    EXPECT_EQ(ItemText(page, IDC_MACHINE_TYPE), "Macintosh Quadra 950");
    EXPECT_EQ(ItemText(page, IDC_LOGON_NAME), "Anna Berg");
    EXPECT_EQ(ItemText(page, IDC_CONNECTED_AT), PageDate(826792200));  // 1996-03-14 08:30 UTC
    // The world gives no server time: the server's clock is the service's.
    const std::string serverTime = ItemText(page, IDC_SERVER_TIME);
    EXPECT_NE(serverTime, "<None>");
    EXPECT_NE(serverTime.find(PageDate(static_cast<int32_t>(std::time(nullptr))).substr(0, 12)), std::string::npos)
        << serverTime;
    EXPECT_NE(ItemText(page, IDC_TIME_CONNECTED).find(" Day, "), std::string::npos);
    host.Select(0);
    dtest::SaveScreenshot(host.sheet, "server_page");

    HWND advanced = host.Page(1);
    EXPECT_EQ(ListOf(advanced, IDC_AFP_VERSIONS), (std::vector<std::string>{"AFP2.2", "AFPVersion 2.0", "AFPVersion 2.1"}));
    EXPECT_EQ(ListOf(advanced, IDC_UAMS),
              (std::vector<std::string>{"Cleartxt passwrd", "No User Authent", "Randnum exchange"}));
    EXPECT_EQ(ListOf(advanced, IDC_SERVER_VOLUMES),
              (std::vector<std::string>{"N       Projects", "N       Public", "Y       Archive"}));
    EXPECT_FALSE(Checked(advanced, IDC_SUPPORTS_TCPIP));
    EXPECT_TRUE(Checked(advanced, IDC_ALLOWS_CHANGE_PWD));
    host.Select(1);
    dtest::SaveScreenshot(host.sheet, "server_advanced_page");
}

TEST_F(ServerPage, WithoutASessionNothingIsConnected)
{
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps), NetResources({{"\\\\Marketing Server", "AppleTalk Network"}}), host);
    ASSERT_TRUE(host.Show());
    HWND page = host.Page(0);
    EXPECT_EQ(ItemText(page, IDC_LOGON_NAME), "");
    EXPECT_EQ(ItemText(page, IDC_CONNECTED_AT), "Not Connected");
    EXPECT_EQ(ItemText(page, IDC_TIME_CONNECTED), "Not Connected");
    HWND advanced = host.Page(1);
    EXPECT_EQ(ListOf(advanced, IDC_SERVER_VOLUMES), std::vector<std::string>{"Not Connected"});
    EXPECT_EQ(ListOf(advanced, IDC_AFP_VERSIONS), (std::vector<std::string>{"AFPVersion 2.0", "AFPVersion 2.1"}));
    EXPECT_FALSE(Checked(advanced, IDC_ALLOWS_CHANGE_PWD));

    SheetHost other;
    Open(RUNTIME_CLASS(CVSXNetProps), NetResources({{"\\\\AppleShare IP Server", "AppleTalk Network"}}), other);
    ASSERT_TRUE(other.Show());
    EXPECT_TRUE(Checked(other.Page(1), IDC_SUPPORTS_TCPIP));
    EXPECT_EQ(ListOf(other.Page(1), IDC_SERVER_VOLUMES), std::vector<std::string>{"N       Web Pages"});
}

TEST_F(ServerPage, TimeConnectedCountsDaysAndTicksOnlyWhileShown)
{
    // Connected 1 day, 2 hours, 3 minutes and 4 seconds ago.
    const long long connected = static_cast<long long>(std::time(nullptr)) - (86400 + 2 * 3600 + 3 * 60 + 4);
    service_.Kill();
    ASSERT_TRUE(service_.Start(R"({ "workstation": { "network": 1, "node": 2, "zone": "Z" },
      "zones": [ { "name": "Z", "local": true } ],
      "servers": [ { "name": "S", "serverTime": null, "users": [ { "name": "U", "id": 5, "password": "p" } ],
        "session": { "user": "U", "connectedAt": )" + std::to_string(connected) + R"( } } ] })"));
    SheetHost host;
    Open(RUNTIME_CLASS(CVSXNetProps), NetResources({{"\\\\S", "AppleTalk Network"}}), host);
    ASSERT_TRUE(host.Show());
    host.Select(0);
    HWND page = host.Page(0);
    const std::string elapsed = ItemText(page, IDC_TIME_CONNECTED);
    EXPECT_EQ(elapsed.rfind("1 Day, 02 Hours, 03 Minutes, 0", 0), 0u) << elapsed;

    // Shown: the timer writes the text again within its second.
    auto ticksWithin = [&](DWORD ms) {
        SetDlgItemTextA(page, IDC_TIME_CONNECTED, "x");
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms && ItemText(page, IDC_TIME_CONNECTED) == "x") {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            PumpMessages();
        }
        return ItemText(page, IDC_TIME_CONNECTED) != "x";
    };
    EXPECT_TRUE(ticksWithin(2500));
    // Hidden behind the advanced page: no more ticks.
    host.Select(1);
    EXPECT_FALSE(ticksWithin(1500));
    // Shown again: written at once.
    SetDlgItemTextA(page, IDC_TIME_CONNECTED, "x");
    host.Select(0);
    EXPECT_NE(ItemText(page, IDC_TIME_CONNECTED), "x");
}

// A page window with nothing behind it but its page object.
INT_PTR CALLBACK BarePage(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

TEST(ServerRecord, DatesTheServerDoesNotKnowAndOverlongListsAreRead)
{
    AFPServerInfo info{};
    std::strcpy(info.name, "S");
    info.serverTime = kAFPNoDate;
    info.connectedAt = kAFPNoDate;
    info.flags = kAFPServerTCPIP;
    info.versionCount = 200;  // more than the record holds
    info.volumeCount = 2;
    std::strcpy(info.volumes[0], "A");
    std::strcpy(info.volumes[1], "B");
    info.volumeHasPassword[1] = 7;
    std::memset(info.password, 'p', sizeof info.password);  // no NUL
    CServerInfoObj record("\\\\Nowhere");  // the stack cannot answer: not valid
    EXPECT_FALSE(record.m_bValid);
    record.Fill(info);
    EXPECT_FALSE(record.GetDateAt(0).has_value());
    EXPECT_FALSE(record.GetDateAt(1).has_value());
    EXPECT_EQ(record.m_wAttributes, NA_TCPIP);
    EXPECT_EQ(record.m_afpVersions.size(), 8u);
    EXPECT_EQ(record.m_volumes, (std::vector<CString>{"A", "B"}));
    EXPECT_EQ(record.m_volumeHasPassword, (std::vector<uint8_t>{0, 1}));
    EXPECT_EQ(record.m_strPassword, std::string(16, 'p'));

    // Its server page: no session, and no server time either.
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND window = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_SERVER_PAGE), parent, &BarePage, 0);
    ASSERT_NE(window, nullptr);
    {
        CServerPage page(window, &record);
        EXPECT_EQ(ItemText(window, IDC_SERVER_TIME), "<None>");
        EXPECT_EQ(ItemText(window, IDC_CONNECTED_AT), "Not Connected");
        EXPECT_EQ(ItemText(window, IDC_TIME_CONNECTED), "Not Connected");
        DestroyWindow(window);
    }
    DestroyWindow(parent);
}

}  // namespace
}  // namespace shelltest

namespace shelltest {
namespace {

// The texts of a template's controls, made from the resource of `language`.
std::vector<std::string> TemplateTexts(UINT id, WORD language)
{
    std::vector<std::string> texts;
    HRSRC res = FindResourceExA(nullptr, RT_DIALOG, MAKEINTRESOURCEA(id), language);
    if (res == nullptr)
        return texts;
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND dialog = CreateDialogIndirectParamA(nullptr, static_cast<LPCDLGTEMPLATEA>(LockResource(LoadResource(nullptr, res))),
                                             parent, nullptr, 0);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        texts.push_back(dtest::Text(child));
    DestroyWindow(dialog);
    DestroyWindow(parent);
    return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(PageTemplates, ThePrinterServerAndPasswordTemplatesExistInFrench)
{
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const WORD french = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
    const auto printer = TemplateTexts(IDD_PRINTER_PAGE, french);
    EXPECT_TRUE(Has(printer, "Zone AppleTalk:") && Has(printer, "Type d'imprimante:"));
    EXPECT_TRUE(Has(TemplateTexts(IDD_SERVER_PAGE, french), "Zone AppleTalk:"));
    EXPECT_TRUE(Has(TemplateTexts(IDD_CHANGE_PASSWORD, french), "Annuler"));
    EXPECT_TRUE(Has(TemplateTexts(IDD_PRINTER_PAGE, english), "AppleTalk Zone:"));
    EXPECT_TRUE(Has(TemplateTexts(IDD_SERVER_PAGE, english), "AppleTalk Zone: "));
    EXPECT_TRUE(Has(TemplateTexts(IDD_CHANGE_PASSWORD, english), "Cancel"));
    // The other pages are English only.
    EXPECT_EQ(FindResourceExA(nullptr, RT_DIALOG, MAKEINTRESOURCEA(IDD_VOLUME_PAGE), french), nullptr);
}

}  // namespace
}  // namespace shelltest
