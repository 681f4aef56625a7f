// The six PostScript utility programs: CR LF text that a PostScript
// interpreter can scan, saying and doing what each is there for; under
// Windows also as French resources of type IDU_TYPE_PSDATA.
#if defined(_WIN32)
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Program {
    const char* resource;
    const char* file;
    std::vector<std::string> mustSay;
};

const std::vector<Program>& Programs()
{
    static const std::vector<Program> programs = {
        {"IDU_TESTPAGE", "testpage.ps", {"(PostScript)", "(Test Page)", "/Times-", "lineto", "showpage", "flush"}},
        {"IDU_ERRORHANDLER",
         "errorhandler.ps",
         {"userdict /$brkpage known", "(%%[ Error Handler in place - not loaded again ]%%)",
          "(Error Handler in place - not reloaded.)", "0 statusdict /checkpassword known",
          "(%%[ Bad Password on loading error handler!!! ]%%)", "serverdict begin 0 exitserver",
          "errordict /handleerror", "(ERROR: )", "(OFFENDING COMMAND: )", "(%%[ Error: )",
          "(; OffendingCommand: )", "( ]%%)", "(Error handler loaded.)", "quit"}},
        {"IDU_FONTLISTQUERY",
         "fontlistquery.ps",
         {"%%?BeginFontListQuery", "FontDirectory {", "/UserFontDirectory where", "(*) =",
          "%%?EndFontListQuery: *"}},
        {"IDU_PSINFOQUERY",
         "psinfoquery.ps",
         {"(PostScript \\(tm\\) version: )", "version", "(Product: )", "/product", "(     Product Revision: )",
          "/revision", "(VM Capacity  : )", "(VM Used      : )", "(VM Available : )", "\\(Bytes\\)", "vmstatus"}},
        {"IDU_PSRESTART",
         "psrestart.ps",
         {"checkpassword", "serverdict begin 0 exitserver", "(Please wait while printer is restarted...)",
          "systemdict /quit get exec", "not correct", "without restarting"}},
        {"IDU_CTRL_CHAR_FILTER",
         "ctrlcharfilter.ps",
         {"userdict begin", "(\\003) cvn { } def", "(\\004) cvn { } def", "(\\021) cvn { } def",
          "(\\023) cvn { } def", "(\\024) cvn { } def", "(\\032) cvn { } def"}},
    };
    return programs;
}

std::string Folder()
{
    std::string dir = PS_PROGRAM_DIR;
#if defined(_WIN32)
    if (!dir.empty() && dir[0] == '/')
        dir = "Z:" + dir;
#endif
    return dir + "/";
}

std::string ReadProgram(const Program& p)
{
    std::ifstream in(Folder() + p.file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Scans PostScript as an interpreter's tokenizer would: comments, literal
// strings (nested parentheses, backslash escapes), hex strings, procedures
// and dictionaries. Empty when every construct is closed, else the fault.
std::string ScanFault(const std::string& text)
{
    std::vector<char> open;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%') {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else if (c == '(') {
            int depth = 1;
            for (++i; i < text.size() && depth > 0; ++i) {
                if (text[i] == '\\')
                    ++i;
                else if (text[i] == '(')
                    ++depth;
                else if (text[i] == ')')
                    --depth;
            }
            if (depth != 0)
                return "unterminated string";
            --i;
        } else if (c == '<' && i + 1 < text.size() && text[i + 1] == '<') {
            open.push_back('<');
            ++i;
        } else if (c == '>' && i + 1 < text.size() && text[i + 1] == '>') {
            if (open.empty() || open.back() != '<')
                return "unmatched >>";
            open.pop_back();
            ++i;
        } else if (c == '<') {
            const auto end = text.find('>', i);
            if (end == std::string::npos)
                return "unterminated hex string";
            i = end;
        } else if (c == '{') {
            open.push_back('{');
        } else if (c == '}') {
            if (open.empty() || open.back() != '{')
                return "unmatched }";
            open.pop_back();
        } else if (c == ')') {
            return "unmatched )";
        }
    }
    return open.empty() ? std::string() : std::string("unclosed ") + open.back();
}

TEST(PostScriptPrograms, AreCrLfTextWithOnlyStructuringCommentsInTheHeader)
{
    for (const auto& p : Programs()) {
        SCOPED_TRACE(p.file);
        const std::string text = ReadProgram(p);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.rfind("%!PS-Adobe-", 0), 0u);
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c == '\n')
                EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
            else if (c == '\r')
                EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
            else
                EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "byte " << int(c) << " at " << i;
        }
        // The header: the lines up to the first that is not a comment.
        std::istringstream lines(text);
        std::string line;
        bool titled = false;
        while (std::getline(lines, line) && !line.empty() && line[0] == '%') {
            EXPECT_TRUE(line.rfind("%!", 0) == 0 || line.rfind("%%", 0) == 0) << line;
            titled = titled || line.rfind("%%Title: ", 0) == 0;
        }
        EXPECT_TRUE(titled);
    }
}

TEST(PostScriptPrograms, ScanAsPostScript)
{
    for (const auto& p : Programs()) {
        SCOPED_TRACE(p.file);
        EXPECT_EQ(ScanFault(ReadProgram(p)), "");
    }
    // The scanner itself finds what it is for.
    EXPECT_EQ(ScanFault("{ (a(b)c) } def"), "");
    EXPECT_EQ(ScanFault("(a\\) b"), "unterminated string");
    EXPECT_EQ(ScanFault("{ { }"), "unclosed {");
    EXPECT_EQ(ScanFault("% { \r\n }"), "unmatched }");
    EXPECT_EQ(ScanFault("<< /a <41> >> } "), "unmatched }");
}

TEST(PostScriptPrograms, DoWhatTheirNamesSay)
{
    for (const auto& p : Programs()) {
        SCOPED_TRACE(p.file);
        const std::string text = ReadProgram(p);
        for (const auto& s : p.mustSay)
            EXPECT_NE(text.find(s), std::string::npos) << s;
    }
}

#if defined(_WIN32)
TEST(PostScriptPrograms, AreFrenchResourcesOfTheirOwnType)
{
    const WORD french = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
    ASSERT_EQ(french, 0x040C);
    for (const auto& p : Programs()) {
        SCOPED_TRACE(p.resource);
        HRSRC res = FindResourceExA(nullptr, "IDU_TYPE_PSDATA", p.resource, french);
        ASSERT_NE(res, nullptr);
        const DWORD size = SizeofResource(nullptr, res);
        const void* data = LockResource(LoadResource(nullptr, res));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::string(static_cast<const char*>(data), size), ReadProgram(p));
        EXPECT_EQ(FindResourceExA(nullptr, "IDU_TYPE_PSDATA", p.resource, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
                  nullptr)
            << "French only";
    }
}
#endif

}  // namespace
