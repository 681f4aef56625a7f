// Korvel active in place inside the test container, both in this process:
// what Wine carries only within a process is tested here (the merged menu
// bar and its popups updated by the server, the container's border handed
// back on resize, the keys a container loop gives the object, the status
// line), with the resize bar and the drop target of the in-place frame.
#include <string>
#include <vector>

#include "container/test_container.h"
#include "fx/doc_template.h"
#include "korvel/ipframe.h"
#include "korvel/resource.h"
#include "korvel_fixture.h"

namespace {

using vtest::TestContainer;

std::vector<std::string> MenuBar(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

class KorvelInPlace : public KorvelTest {
protected:
    std::unique_ptr<TestContainer> container;
    CKorvelDoc* doc = nullptr;

    void SetUp() override
    {
        KorvelTest::SetUp();
        WriteMap("com=\"BINA\" \"mdos\" ;MS-DOS Executable\r\n");
        StartForClient();
        container = std::make_unique<TestContainer>();
        const std::string path = service.Dir() + "inplace.stg";
        ASSERT_EQ(container->Create(CLSID_KorvelDocument, std::wstring(path.begin(), path.end()),
                                    app->m_server.GetClassFactory()),
                  S_OK);
        doc = dynamic_cast<CKorvelDoc*>(app->GetDocTemplates().front()->GetDocuments().front());
        ASSERT_NE(doc, nullptr);
        view = dynamic_cast<CKorvelView*>(doc->GetViews().front());
        ASSERT_EQ(container->DoVerb(OLEIVERB_SHOW), S_OK);
        ASSERT_TRUE(container->PumpUntil([&] { return container->m_uiActive; }));
    }

    void TearDown() override
    {
        // Closing the object closes the document, its view and its frame.
        container.reset();
        view = nullptr;
        KorvelTest::TearDown();
    }

    CInPlaceFrame* Frame() const { return dynamic_cast<CInPlaceFrame*>(doc->GetInPlaceFrame()); }
};

TEST_F(KorvelInPlace, TheServersMenusMergeWithTheContainersAndFollowTheFocus)
{
    ASSERT_TRUE(container->m_menuShown);
    EXPECT_EQ(GetMenu(container->m_frame), container->m_sharedMenu);
    EXPECT_EQ(MenuBar(container->m_sharedMenu),
              (std::vector<std::string>{"&File", "&Edit", "&View", "&Window", "&Help"}));

    // The server's Edit popup is brought up to date by the server when the
    // container's menu opens it.
    HMENU edit = GetSubMenu(container->m_sharedMenu, 1);
    SetFocus(view->m_listCtrl.m_hWnd);
    SendMessageA(container->m_frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), MAKELPARAM(1, FALSE));
    EXPECT_TRUE(GetMenuState(edit, ID_EDIT_COPY, MF_BYCOMMAND) & MF_GRAYED) << "list focused: nothing to copy";
    view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_KORVEL_NEW, BN_CLICKED), 0);
    HWND key = view->GetDlgItem(IDC_KORVEL_EXTENSION);
    SetWindowTextA(key, "abc");
    SendMessageA(key, EM_SETSEL, 0, -1);
    SendMessageA(container->m_frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), MAKELPARAM(1, FALSE));
    EXPECT_FALSE(GetMenuState(edit, ID_EDIT_COPY, MF_BYCOMMAND) & MF_GRAYED) << "a selection to copy";

    // Prompts of the server go to the container's status line.
    Frame()->SetMessageText(ID_EDIT_COPY);
    ASSERT_FALSE(container->m_statusTexts.empty());
    EXPECT_EQ(container->m_statusTexts.back(), L"Copy the selection and put it on the Clipboard");
}

TEST_F(KorvelInPlace, TheToolbarTakesTheContainersBorderAndFollowsItsSize)
{
    CInPlaceFrame* ipFrame = Frame();
    ASSERT_NE(ipFrame, nullptr);
    HWND toolbar = ipFrame->m_wndToolBar.m_hWnd;
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(GetParent(toolbar), container->m_frame);
    RECT bar, client;
    GetWindowRect(toolbar, &bar);
    EXPECT_EQ(container->m_border.top, bar.bottom - bar.top);
    // The container grows: it tells the object, which places its bar again.
    container->Resize(900, 640);
    container->PumpUntil([] { return false; }, 200);
    GetClientRect(container->m_frame, &client);
    GetWindowRect(toolbar, &bar);
    EXPECT_EQ(bar.right - bar.left, client.right);
    // The toolbar's buttons answer the in-place frame's route.
    app->OnIdle(0);
    EXPECT_TRUE(ipFrame->m_wndToolBar.IsButtonEnabled(ID_APP_ABOUT));
}

TEST_F(KorvelInPlace, DraggingAHandleAsksTheContainerForTheNewSize)
{
    CInPlaceFrame* ipFrame = Frame();
    ASSERT_NE(ipFrame, nullptr);
    const RECT before = ipFrame->m_rectPos;
    RECT client;
    ipFrame->m_wndResizeBar.GetClientRect(&client);
    const POINT corner{client.right - 2, client.bottom - 2};
    ASSERT_EQ(ipFrame->m_wndResizeBar.HandleAt(corner), 4);
    ipFrame->m_wndResizeBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(corner.x, corner.y));
    ipFrame->m_wndResizeBar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(corner.x + 40, corner.y + 30));
    ASSERT_EQ(container->m_posRequests, 1);
    EXPECT_EQ(container->m_requestedRect.right, before.right + 40);
    EXPECT_EQ(container->m_requestedRect.bottom, before.bottom + 30);
    EXPECT_EQ(container->m_requestedRect.left, before.left);
    EXPECT_EQ(ipFrame->m_rectPos.right, before.right + 40) << "the container gave it the place";
    // Drops on the map stop at the in-place frame.
    COleDropTarget another;
    EXPECT_FALSE(another.Register(ipFrame)) << "the frame has its drop target";
}

TEST_F(KorvelInPlace, EscInTheContainersLoopEndsTheActivation)
{
    CInPlaceFrame* ipFrame = Frame();
    ASSERT_NE(ipFrame, nullptr);
    HWND frameWindow = ipFrame->m_hWnd;
    HWND toolbar = ipFrame->m_wndToolBar.m_hWnd;
    PostMessageA(view->m_listCtrl.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ASSERT_TRUE(container->PumpUntil([&] { return !container->m_inPlaceActive; }));
    EXPECT_FALSE(doc->IsInPlaceActive());
    EXPECT_FALSE(IsWindow(frameWindow));
    EXPECT_FALSE(IsWindow(toolbar));
    EXPECT_EQ(GetMenu(container->m_frame), container->m_ownMenu);
    EXPECT_EQ(view->GetParentFrame(), app->m_pMainWnd) << "the view is back in the document's frame";
    EXPECT_FALSE(app->m_pMainWnd->IsWindowVisible());
}

}  // namespace
