// Print preview: each page rendered into its own metafile by the view's
// printing code, shown one at a time with Next and Prev, and closed.
#include <gtest/gtest.h>

#include <string>

#include "fx/print_preview.h"
#include "route_fixture.h"

namespace {

class CNumberedPagesView : public CView {
public:
    void OnDraw(CDC*) override {}
    BOOL OnPreparePrinting(CPrintInfo* info) override
    {
        info->m_nMaxPage = 3;
        return DoPreparePrinting(info);
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override
    {
        std::string text = "page " + std::to_string(info->m_nCurPage);
        TextOutA(dc->m_hDC, 200, 200, text.c_str(), static_cast<int>(text.size()));
    }
};

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM out)
{
    auto* s = reinterpret_cast<std::string*>(out);
    if (rec->iType == EMR_EXTTEXTOUTW) {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(rec) + t->emrtext.offString);
        for (DWORD i = 0; i < t->emrtext.nChars; ++i)
            *s += static_cast<char>(chars[i]);
    } else if (rec->iType == EMR_EXTTEXTOUTA) {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTA*>(rec);
        *s += std::string(reinterpret_cast<const char*>(rec) + t->emrtext.offString, t->emrtext.nChars);
    }
    return 1;
}

// The texts a metafile draws.
std::string TextsOf(HENHMETAFILE page)
{
    std::string texts;
    EnumEnhMetaFile(nullptr, page, &CollectText, &texts, nullptr);
    return texts;
}

CPreviewWnd* FindPreview()
{
    HWND h = FindWindowA(nullptr, "Print Preview");
    CWnd* w = CWnd::FromHandlePermanent(h);
    return w ? dynamic_cast<CPreviewWnd*>(w) : nullptr;
}

TEST(PrintPreview, PagesRenderedByThePrintCodeAndTurnedWithNextAndPrev)
{
    CRouteApp app;
    CRouteMainFrame* frame = StartRouteProgram(app);
    ASSERT_NE(frame, nullptr);
    CNumberedPagesView view;
    view.OnFilePrintPreview();
    PumpWaitingMessages();
    CPreviewWnd* preview = FindPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->GetPageCount(), 3);
    EXPECT_EQ(TextsOf(preview->GetPage(1)), "page 1");
    EXPECT_EQ(TextsOf(preview->GetPage(3)), "page 3");
    EXPECT_EQ(preview->GetCurrentPage(), 1);
    EXPECT_FALSE(IsWindowEnabled(preview->GetDlgItem(CPreviewWnd::ID_PREVIEW_PREV)));

    preview->SendMessage(WM_COMMAND, CPreviewWnd::ID_PREVIEW_NEXT, 0);
    preview->SendMessage(WM_COMMAND, CPreviewWnd::ID_PREVIEW_NEXT, 0);
    EXPECT_EQ(preview->GetCurrentPage(), 3);
    EXPECT_FALSE(IsWindowEnabled(preview->GetDlgItem(CPreviewWnd::ID_PREVIEW_NEXT)));
    preview->SendMessage(WM_COMMAND, CPreviewWnd::ID_PREVIEW_PREV, 0);
    EXPECT_EQ(preview->GetCurrentPage(), 2);

    preview->SendMessage(WM_COMMAND, CPreviewWnd::ID_PREVIEW_CLOSE, 0);
    PumpWaitingMessages();
    EXPECT_EQ(FindPreview(), nullptr);
    EndRouteProgram(app);
}

}  // namespace
