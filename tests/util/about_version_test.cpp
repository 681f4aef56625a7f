// The About box's texts and the version text from version resources.
#include "shell_fixture.h"
#include "util/resource.h"
#include "util/version_text.h"

namespace {

TEST_F(ShellTest, AboutBoxShowsProductFixedVersionAndTheResourceVersion)
{
    auto texts = CaptureModalDialog([&] { frame->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0); });
    EXPECT_EQ(texts[-1], "About Quarnet Utility");
    EXPECT_EQ(texts[IDC_ABOUT_PRODUCT], "Quarnet For Windows");
    EXPECT_EQ(texts[IDC_ABOUT_VERSION_LINE], "Version:2.51.17.73");
    EXPECT_EQ(texts[IDC_ABOUT_APP_VERSION], app->m_strVersion);
    EXPECT_FALSE(texts[IDC_ABOUT_NOTICE].empty());
    EXPECT_NE(texts[-3].find("Quarnet Utility   Version"), std::string::npos);
    EXPECT_EQ(texts[-2], "3");  // icons 182, 183 and 142
}

TEST_F(ShellTest, AboutBoxShowsTheVersionReadEvenWhenItDiffersFromTheFixedLine)
{
    app->m_strVersion = "Unknown";
    auto texts = CaptureModalDialog([&] { frame->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0); });
    EXPECT_EQ(texts[IDC_ABOUT_VERSION_LINE], "Version:2.51.17.73");
    EXPECT_EQ(texts[IDC_ABOUT_APP_VERSION], "Unknown");
}

TEST_F(ShellTest, VersionComesFromTheProgramsVersionResource)
{
    EXPECT_EQ(app->m_strVersion, "2.51.17.73");
    EXPECT_EQ(app->m_fileInfo.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(app->m_fileInfo.dwFileVersionMS, MAKELONG(51, 2));
}

TEST(VersionText, FieldsAfterTheFirstHaveTwoDigits)
{
    VS_FIXEDFILEINFO info{};
    std::string other = TestProgramFolder() + "version_2513.exe";
    EXPECT_EQ(ReadFileVersionText(other.c_str(), info), "2.05.01.03");
    EXPECT_EQ(info.dwFileVersionLS, static_cast<DWORD>(MAKELONG(3, 1)));
}

TEST(VersionText, AFileWithoutVersionResourceGivesUnknown)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string path = std::string(temp) + "no_version.txt";
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, "text", 4, &written, nullptr);
    CloseHandle(f);
    VS_FIXEDFILEINFO info{};
    info.dwSignature = 7;
    EXPECT_EQ(ReadFileVersionText(path.c_str(), info), "Unknown");
    EXPECT_EQ(info.dwSignature, 7u);  // left as it was
    DeleteFileA(path.c_str());
    EXPECT_EQ(ReadFileVersionText("C:\\no\\such\\program.exe", info), "Unknown");
}

}  // namespace
