// Korvel's shell in process: the About box, the help file and the help
// commands, the commands of its menus, and its two languages.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "korvel/resource.h"
#include "korvel_fixture.h"

namespace {

class KorvelShell : public KorvelTest {
protected:
    void SetUp() override
    {
        KorvelTest::SetUp();
        WriteMap("");
    }
};

TEST_F(KorvelShell, AboutBoxShowsTheFixedLineAndTheFileVersion)
{
    Start();
    auto texts = vtest::CaptureModalDialog([&] { Command(ID_APP_ABOUT); });
    EXPECT_EQ(texts[-1], "About Extension Mapper");
    EXPECT_EQ(texts[IDC_ABOUT_PRODUCT], "Quarnet For Windows");
    EXPECT_EQ(texts[IDC_ABOUT_VERSION_LINE], "Version: 2.51.17.73");
    EXPECT_EQ(texts[IDC_ABOUT_APP_VERSION], "2.51.17.73");
    EXPECT_FALSE(texts[IDC_ABOUT_NOTICE].empty());
    EXPECT_NE(texts[-3].find("Extension Mapper Version"), std::string::npos) << texts[-3];
}

TEST_F(KorvelShell, HelpIsQrn201InTheInstallationFolder)
{
    Start();
    EXPECT_EQ(app->m_strHelpPath, MapPath().substr(0, MapPath().size() - 13) + "QRN2_01.hlp");
    EXPECT_STREQ(app->m_pszHelpFilePath, app->m_strHelpPath.c_str());

    vtest::HelpWindow help;
    Command(ID_HELP_EXTENSION_MAPPER);
    Command(ID_HELP_TROUBLESHOOTING);
    Command(ID_HELP_USING);
    const auto& got = vtest::HelpWindow::s_requests;
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(got[0].data, 1060);
    EXPECT_EQ(got[0].file, app->m_strHelpPath);
    EXPECT_EQ(got[1].command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(got[1].data, 1040);
    EXPECT_EQ(got[2].command, static_cast<UINT>(HELP_HELPONHELP));

    vtest::HelpProgramRecorder recorder;
    ASSERT_TRUE(recorder.Installed());
    Command(ID_HELP_INDEX);
    std::vector<std::string> lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(app->m_strHelpPath), std::string::npos) << lines[0];
}

TEST_F(KorvelShell, WithoutTheRegistryHelpTopicsStartsTheHelpProgramWithoutAFile)
{
    installFolder.reset();
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VESTREL\\QUARNET\\2.0", 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                      &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Path");
        RegCloseKey(key);
    }
    attest::WriteFile(vtest::TestProgramFolder() + "Korvel.AFPMap", "");
    Start();
    DeleteFileA((vtest::TestProgramFolder() + "Korvel.AFPMap").c_str());
    EXPECT_EQ(app->m_strHelpPath, "");
    EXPECT_EQ(std::string(app->m_pszHelpFilePath), vtest::TestProgramFolder() + "korvel_window_test.HLP");
    vtest::HelpProgramRecorder recorder;
    ASSERT_TRUE(recorder.Installed());
    Command(ID_HELP_INDEX);
    std::vector<std::string> lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].find(".hlp"), std::string::npos) << lines[0];
}

TEST_F(KorvelShell, EveryMenuCommandIsHandledAndHasItsPrompt)
{
    Start();
    SetFocus(view->GetDlgItem(IDC_KORVEL_EXTENSION));
    for (UINT id : vtest::MenuCommandIds(frame->m_hMenuDefault)) {
        EXPECT_TRUE(QueryCommandState(frame, id).hasHandler) << id;
        if (id != ID_HELP_INDEX) {
            EXPECT_FALSE(FxLoadString(id).empty()) << "no prompt for " << id;
        }
    }
}

// Resource name and language: every (type, name) of one language.
struct ResourceSet {
    WORD language;
    std::set<std::pair<std::string, std::string>> items;
};

std::string ResName(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name);
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param)
{
    auto* set = reinterpret_cast<ResourceSet*>(param);
    if (language == set->language)
        set->items.emplace(ResName(type), ResName(name));
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param)
{
    return EnumResourceLanguagesA(module, type, name, &CollectLanguage, param);
}

BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR param)
{
    return EnumResourceNamesA(module, type, &CollectName, param);
}

ResourceSet ResourcesOf(HMODULE module, WORD language)
{
    ResourceSet set{language, {}};
    EnumResourceTypesA(module, &CollectType, reinterpret_cast<LONG_PTR>(&set));
    return set;
}

// The string ids of one language: a string block holds 16 entries.
std::set<UINT> StringIds(HMODULE module, WORD language)
{
    std::set<UINT> ids;
    for (const auto& [type, name] : ResourcesOf(module, language).items) {
        if (type != std::to_string(reinterpret_cast<ULONG_PTR>(RT_STRING)))
            continue;
        const UINT block = static_cast<UINT>(std::stoul(name));
        HRSRC res = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(block), language);
        const auto* p = static_cast<const WCHAR*>(LockResource(LoadResource(module, res)));
        for (UINT i = 0; i < 16 && p != nullptr; ++i) {
            if (*p != 0)
                ids.insert((block - 1) * 16 + i);
            p += 1 + *p;
        }
    }
    return ids;
}

TEST(KorvelResources, EnglishAndFrenchHaveTheSameResourcesAndStrings)
{
    HMODULE module = GetModuleHandleA(nullptr);
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const WORD french = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
    const ResourceSet en = ResourcesOf(module, english);
    const ResourceSet fr = ResourcesOf(module, french);
    EXPECT_GE(en.items.size(), 8u);
    EXPECT_EQ(en.items, fr.items);
    const std::set<UINT> enStrings = StringIds(module, english);
    EXPECT_EQ(enStrings, StringIds(module, french));
    EXPECT_TRUE(enStrings.count(IDS_ITEM_COUNT) && enStrings.count(IDR_MAINFRAME) && enStrings.count(ID_FILE_OPEN));
}

TEST(KorvelResources, FrenchTextsLoadForAFrenchUser)
{
    HMODULE module = GetModuleHandleA(nullptr);
    const WORD french = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
    HRSRC res = FindResourceExA(module, RT_MENU, MAKEINTRESOURCEA(IDR_MAINFRAME), french);
    ASSERT_NE(res, nullptr);
    HMENU menu = LoadMenuIndirectA(LockResource(LoadResource(module, res)));
    char text[64] = "";
    GetMenuStringA(GetSubMenu(menu, 0), 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Re&charger\tCtrl+O");
    GetMenuStringA(GetSubMenu(menu, 1), 7, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Nouvelle entr\xe9" "e\tCtrl+N");
    DestroyMenu(menu);
}

}  // namespace
