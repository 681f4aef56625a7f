// Reading printed pages back in tests: the texts and lines a page of the
// print preview draws (an enhanced metafile), the texts of each page of a
// PostScript job written by Wine's PostScript driver, and a view's preview
// and a test printer's printout read that way.
#pragma once

#include <windows.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fx/frame_wnd.h"
#include "fx/fx_ids.h"
#include "fx/print_preview.h"
#include "test_printer.h"
#include "win_test_helpers.h"

namespace vtest {

// One text a page draws, with where it starts.
struct PageText {
    std::string text;
    POINT at;
    std::vector<int> advances;  // of each character, as the metafile keeps them
};

// One straight line a page draws.
struct PageLine {
    POINT from;
    POINT to;
};

struct PageDrawing {
    std::vector<PageText> texts;
    std::vector<PageLine> lines;
    POINT pen{};  // where the next line starts
};

inline int CALLBACK CollectPageRecord(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM out)
{
    auto* page = reinterpret_cast<PageDrawing*>(out);
    const auto* bytes = reinterpret_cast<const BYTE*>(rec);
    if (rec->iType == EMR_EXTTEXTOUTW) {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
        const auto* chars = reinterpret_cast<const wchar_t*>(bytes + t->emrtext.offString);
        PageText text{{}, {t->emrtext.ptlReference.x, t->emrtext.ptlReference.y}, {}};
        for (DWORD i = 0; i < t->emrtext.nChars; ++i)
            text.text += static_cast<char>(chars[i]);
        if (t->emrtext.offDx != 0) {
            const auto* dx = reinterpret_cast<const INT*>(bytes + t->emrtext.offDx);
            text.advances.assign(dx, dx + t->emrtext.nChars);
        }
        page->texts.push_back(text);
    } else if (rec->iType == EMR_EXTTEXTOUTA) {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTA*>(rec);
        page->texts.push_back({std::string(reinterpret_cast<const char*>(bytes + t->emrtext.offString),
                                           t->emrtext.nChars),
                               {t->emrtext.ptlReference.x, t->emrtext.ptlReference.y},
                               {}});
    } else if (rec->iType == EMR_MOVETOEX) {
        const auto* m = reinterpret_cast<const EMRMOVETOEX*>(rec);
        page->pen = {m->ptl.x, m->ptl.y};
    } else if (rec->iType == EMR_LINETO) {
        const auto* l = reinterpret_cast<const EMRLINETO*>(rec);
        page->lines.push_back({page->pen, {l->ptl.x, l->ptl.y}});
        page->pen = {l->ptl.x, l->ptl.y};
    }
    return 1;
}

// What a preview page draws, in drawing order.
inline PageDrawing DrawingOf(HENHMETAFILE page)
{
    PageDrawing drawing;
    EnumEnhMetaFile(nullptr, page, &CollectPageRecord, &drawing, nullptr);
    return drawing;
}

// Only the texts of a preview page, in drawing order.
inline std::vector<std::string> TextsOf(HENHMETAFILE page)
{
    std::vector<std::string> texts;
    for (const PageText& t : DrawingOf(page).texts)
        texts.push_back(t.text);
    return texts;
}

// The character of a glyph name the PostScript driver draws text with.
inline char GlyphChar(const std::string& name)
{
    static const std::map<std::string, char> named = {
        {"space", ' '},      {"exclam", '!'},      {"quotedbl", '"'},     {"numbersign", '#'},  {"dollar", '$'},
        {"percent", '%'},    {"ampersand", '&'},   {"quotesingle", '\''}, {"parenleft", '('},   {"parenright", ')'},
        {"asterisk", '*'},   {"plus", '+'},        {"comma", ','},        {"hyphen", '-'},      {"period", '.'},
        {"slash", '/'},      {"zero", '0'},        {"one", '1'},          {"two", '2'},         {"three", '3'},
        {"four", '4'},       {"five", '5'},        {"six", '6'},          {"seven", '7'},       {"eight", '8'},
        {"nine", '9'},       {"colon", ':'},       {"semicolon", ';'},    {"less", '<'},        {"equal", '='},
        {"greater", '>'},    {"question", '?'},    {"at", '@'},           {"bracketleft", '['}, {"backslash", '\\'},
        {"bracketright", ']'}, {"asciicircum", '^'}, {"underscore", '_'}, {"grave", '`'},       {"braceleft", '{'},
        {"bar", '|'},        {"braceright", '}'},  {"asciitilde", '~'}};
    if (name.size() == 1)
        return name[0];
    auto it = named.find(name);
    return it == named.end() ? '?' : it->second;
}

// The texts of each page of a PostScript job as the driver draws them: a
// "moveto" starts a text, each "/name glyphshow" adds a character.
inline std::vector<std::vector<std::string>> PostScriptPages(const std::string& ps)
{
    std::vector<std::vector<std::string>> pages;
    std::istringstream in(ps);
    std::string line, text;
    auto endText = [&] {
        if (!text.empty() && !pages.empty())
            pages.back().push_back(text);
        text.clear();
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("%%Page:", 0) == 0) {
            endText();
            pages.emplace_back();
        } else if (line.ends_with(" moveto")) {
            endText();
        } else if (line.starts_with("/") && line.ends_with(" glyphshow")) {
            text += GlyphChar(line.substr(1, line.size() - 1 - std::string_view(" glyphshow").size()));
        }
    }
    endText();
    return pages;
}

// File > Print Preview of `view`: each page's texts; the preview closes.
inline std::vector<std::vector<std::string>> PreviewTexts(CView* view)
{
    view->GetParentFrame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    PumpWaitingMessages();
    std::vector<std::vector<std::string>> pages;
    if (CPreviewWnd* preview = view->GetPreviewWnd()) {
        for (int page = 1; page <= preview->GetPageCount(); ++page)
            pages.push_back(TextsOf(preview->GetPage(page)));
        preview->DestroyWindow();
    }
    return pages;
}

// A test printer (the default one while it lives) that prints into `file`
// of the temporary folder; the file goes with it.
class FilePrinter {
public:
    FilePrinter(const char* name, const char* file)
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        path_ = std::string(temp) + file;
        DeleteFileA(path_.c_str());
        printer_.emplace(name, path_.c_str());
    }
    ~FilePrinter()
    {
        printer_.reset();
        DeleteFileA(path_.c_str());
    }
    FilePrinter(const FilePrinter&) = delete;
    FilePrinter& operator=(const FilePrinter&) = delete;

    bool Installed() const { return printer_->Installed(); }
    // The raw printout ("" before any job), and each of its pages' texts.
    std::string Output() const
    {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::vector<std::string>> Pages() const { return PostScriptPages(Output()); }
    void Clear() const { DeleteFileA(path_.c_str()); }

private:
    std::string path_;
    std::optional<TestPrinter> printer_;
};

}  // namespace vtest
