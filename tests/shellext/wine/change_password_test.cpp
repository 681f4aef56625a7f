// The context menu of "VSXNetExt" and its Change Server Password command,
// as a shell uses them: the item only for a server with a session that
// allows changes, the modeless dialog over the shell's window (disabled
// meanwhile, centred on it), the three tries, the messages in their order,
// and the password really changed on the server.
#include "extension_fixture.h"

#include <deque>

#include "dialog_driver.h"
#include "fx/win_app.h"
#include "message_box_recorder.h"
#include "molven32.h"
#include "net_props.h"
#include "resource.h"

namespace shelltest {
namespace {

// The application object VSXPROPS.dll has; the dialog's keys go through it.
CWinApp g_app;

const NetItem kEngineeringServer{"\\\\Engineering Server", "AppleTalk Network"};

// What the user does in the dialog each time it has the input: type the
// three passwords and press OK, or end it another way.
struct Step {
    enum Kind { OK, Cancel, Escape, CloseBox } kind = OK;
    std::string oldPassword, newPassword, verify;
};

void Type(HWND edit, const std::string& text)
{
    SetWindowTextA(edit, "");
    for (char c : text)
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
}

class ChangePassword : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        owner_ = CreateWindowExA(0, "STATIC", "Network", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 640, 480, nullptr,
                                 nullptr, nullptr, nullptr);
        menu_ = CreatePopupMenu();
    }
    void TearDown() override
    {
        DestroyMenu(menu_);
        DestroyWindow(owner_);
        ExtensionTest::TearDown();
    }

    // Initialize with the network object `item`, then QueryContextMenu.
    HRESULT QueryMenu(Extension& ext, const NetItem& item, IContextMenu** menu)
    {
        EXPECT_EQ(ext.Initialize(NetResources({item})), S_OK);
        ext.Init()->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(menu));
        return (*menu)->QueryContextMenu(menu_, 0, 100, 200, CMF_NORMAL);
    }

    // Runs the command over the owner window while `steps` are played in
    // its dialog; the message boxes shown are in boxes_.
    void RunCommand(IContextMenu* menu, std::deque<Step> steps)
    {
        dtest::DialogDriver driver([&](HWND dialog, const std::string& caption) {
            if (dialog == nullptr || caption != "Change Password" || steps.empty())
                return;
            if (!seenDialog_) {
                seenDialog_ = true;
                GetWindowRect(dialog, &dialogRect_);
                ownerEnabled_ = IsWindowEnabled(owner_);
                dtest::SaveScreenshot(dialog, "change_password");
            }
            const Step step = steps.front();
            steps.pop_front();
            switch (step.kind) {
            case Step::OK:
                Type(GetDlgItem(dialog, IDC_OLD_PASSWORD), step.oldPassword);
                Type(GetDlgItem(dialog, IDC_NEW_PASSWORD), step.newPassword);
                Type(GetDlgItem(dialog, IDC_VERIFY_PASSWORD), step.verify);
                for (int id : {IDC_OLD_PASSWORD, IDC_NEW_PASSWORD, IDC_VERIFY_PASSWORD})
                    typed_.push_back(dtest::ItemText(dialog, id));
                dtest::Press(dialog, IDC_PASSWORD_OK);
                break;
            case Step::Cancel:
                dtest::Press(dialog, IDC_PASSWORD_CANCEL);
                break;
            case Step::Escape:
                SetFocus(GetDlgItem(dialog, IDC_NEW_PASSWORD));
                PostMessageA(GetDlgItem(dialog, IDC_NEW_PASSWORD), WM_KEYDOWN, VK_ESCAPE, 0);
                break;
            case Step::CloseBox:
                PostMessageA(dialog, WM_CLOSE, 0, 0);
                break;
            }
        });
        std::deque<int> answers;
        vtest::MessageBoxRecorder recorder(boxes_, answers);
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;
        info.hwnd = owner_;
        info.lpVerb = MAKEINTRESOURCEA(0);
        EXPECT_EQ(menu->InvokeCommand(&info), S_OK);
        EXPECT_TRUE(steps.empty()) << steps.size() << " steps left";
    }

    // The message boxes as "caption: text".
    std::vector<std::string> Boxes() const
    {
        std::vector<std::string> out;
        for (const auto& b : boxes_)
            out.push_back(b.caption + ": " + b.text);
        return out;
    }

    std::string ServerPassword()
    {
        AFPServerInfo info{};
        EXPECT_EQ(AFPGetServerInfo("\\\\Engineering Server", &info), 0);
        return info.password;
    }

    HWND owner_ = nullptr;
    HMENU menu_ = nullptr;
    std::vector<MessageBoxRequest> boxes_;
    std::vector<std::string> typed_;
    bool seenDialog_ = false;
    bool ownerEnabled_ = true;
    RECT dialogRect_{};
};

TEST_F(ChangePassword, TheMenuOffersTheCommandOnlyForASessionThatMayChange)
{
    {
        Extension ext(RUNTIME_CLASS(CVSXNetProps));
        IContextMenu* menu = nullptr;
        EXPECT_EQ(QueryMenu(ext, kEngineeringServer, &menu), 1);
        ASSERT_EQ(GetMenuItemCount(menu_), 1);
        char text[64] = "";
        GetMenuStringA(menu_, 100, text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ(text, "Change Server Password");
        char help[64] = "";
        EXPECT_EQ(menu->GetCommandString(0, 0, nullptr, help, sizeof help), S_OK);
        EXPECT_STREQ(help, "Quarnet: Change Server Access Password");
        EXPECT_EQ(menu->GetCommandString(0, 0, nullptr, help, 8), S_OK);
        EXPECT_STREQ(help, "Quarnet");  // cut to its buffer
        EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, help, sizeof help), E_INVALIDARG);
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;
        info.lpVerb = "changepassword";
        EXPECT_EQ(menu->InvokeCommand(&info), E_FAIL);
        info.lpVerb = MAKEINTRESOURCEA(1);
        EXPECT_EQ(menu->InvokeCommand(&info), E_INVALIDARG);
        menu->Release();
    }
    // No session; a session on a server that allows no change; a volume.
    for (const NetItem& item : {NetItem{"\\\\Marketing Server", "AppleTalk Network"},
                                NetItem{"\\\\AppleShare IP Server", "AppleTalk Network"},
                                NetItem{"\\\\Engineering Server\\Projects", "AppleTalk Network"}}) {
        DeleteMenu(menu_, 0, MF_BYPOSITION);
        Extension ext(RUNTIME_CLASS(CVSXNetProps));
        IContextMenu* menu = nullptr;
        EXPECT_EQ(QueryMenu(ext, item, &menu), E_FAIL) << item.remote;
        EXPECT_EQ(GetMenuItemCount(menu_), 0) << item.remote;
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;
        info.lpVerb = MAKEINTRESOURCEA(0);
        EXPECT_EQ(menu->InvokeCommand(&info), E_FAIL);
        menu->Release();
    }
}

TEST_F(ChangePassword, TheRightOldPasswordChangesItOnTheServer)
{
    {
        Extension ext(RUNTIME_CLASS(CVSXNetProps));
        IContextMenu* menu = nullptr;
        ASSERT_EQ(QueryMenu(ext, kEngineeringServer, &menu), 1);
        RunCommand(menu, {{Step::OK, "apple1", "pear2", "pear2"}});
        menu->Release();
    }
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(Boxes()[0], "Quarnet: Password changed");
    EXPECT_EQ(boxes_[0].owner, nullptr);
    EXPECT_EQ(boxes_[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    // Over the shell's window, which it disabled meanwhile, and centred on it.
    EXPECT_FALSE(ownerEnabled_);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    RECT outer;
    GetWindowRect(owner_, &outer);
    EXPECT_LE(std::abs((dialogRect_.left + dialogRect_.right) - (outer.left + outer.right)), 2);
    EXPECT_LE(std::abs((dialogRect_.top + dialogRect_.bottom) - (outer.top + outer.bottom)), 2);
    EXPECT_EQ(FindWindowA(nullptr, "Change Password"), nullptr);

    const auto changes = Calls("afp.chpass");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0]["in"]["server"], "\\\\Engineering Server");
    EXPECT_EQ(changes[0]["in"]["old"], "apple1");
    EXPECT_EQ(changes[0]["in"]["new"], "pear2");
    ASSERT_TRUE(service_.Restart());
    EXPECT_EQ(ServerPassword(), "pear2");

    // The next change starts from the new password.
    boxes_.clear();
    Extension ext(RUNTIME_CLASS(CVSXNetProps));
    IContextMenu* menu = nullptr;
    ASSERT_EQ(QueryMenu(ext, kEngineeringServer, &menu), 1);
    RunCommand(menu, {{Step::OK, "apple1", "plum3", "plum3"}, {Step::OK, "pear2", "plum3", "plum3"}});
    menu->Release();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Old Password Incorrect!: Please Re-Enter Old Password",
                                                 "Quarnet: Password changed"}));
    EXPECT_EQ(ServerPassword(), "plum3");
}

TEST_F(ChangePassword, ThreeWrongOldPasswordsAreStrikeThree)
{
    Extension ext(RUNTIME_CLASS(CVSXNetProps));
    IContextMenu* menu = nullptr;
    ASSERT_EQ(QueryMenu(ext, kEngineeringServer, &menu), 1);
    RunCommand(menu, {{Step::OK, "wrong", "x", "x"}, {Step::OK, "Apple1", "x", "x"}, {Step::OK, "", "x", "x"}});
    menu->Release();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Old Password Incorrect!: Please Re-Enter Old Password",
                                                 "Old Password Incorrect!: Please Re-Enter Old Password",
                                                 "Strike Three!: Please verify your password\nand Try again Later",
                                                 "Quarnet: No Password Change!"}));
    EXPECT_EQ(boxes_[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(Calls("afp.chpass").size(), 0u);
    EXPECT_EQ(ServerPassword(), "apple1");
}

TEST_F(ChangePassword, AMismatchCountsAsAPressToo)
{
    Extension ext(RUNTIME_CLASS(CVSXNetProps));
    IContextMenu* menu = nullptr;
    ASSERT_EQ(QueryMenu(ext, kEngineeringServer, &menu), 1);
    RunCommand(menu, {{Step::OK, "apple1", "new1", "new2"}, {Step::OK, "nope", "a", "a"}, {Step::OK, "nope", "a", "a"}});
    menu->Release();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Verification Failure!: New Password, Verify Don't Match!",
                                                 "Old Password Incorrect!: Please Re-Enter Old Password",
                                                 "Strike Three!: Please verify your password\nand Try again Later",
                                                 "Quarnet: No Password Change!"}));
    EXPECT_EQ(Calls("afp.chpass").size(), 0u);
}

TEST_F(ChangePassword, CancelEscAndTheCloseBoxChangeNothing)
{
    for (Step::Kind kind : {Step::Cancel, Step::Escape, Step::CloseBox}) {
        boxes_.clear();
        Extension ext(RUNTIME_CLASS(CVSXNetProps));
        IContextMenu* menu = nullptr;
        DeleteMenu(menu_, 0, MF_BYPOSITION);
        ASSERT_EQ(QueryMenu(ext, kEngineeringServer, &menu), 1);
        RunCommand(menu, {{kind, "", "", ""}});
        menu->Release();
        EXPECT_EQ(Boxes(), std::vector<std::string>{"Quarnet: No Password Change!"}) << kind;
        EXPECT_TRUE(IsWindowEnabled(owner_)) << kind;
        EXPECT_EQ(FindWindowA(nullptr, "Change Password"), nullptr) << kind;
    }
    EXPECT_EQ(Calls("afp.chpass").size(), 0u);
}

TEST_F(ChangePassword, ANinthCharacterIsRefusedAndAnEmptyPasswordIsAccepted)
{
    Extension ext(RUNTIME_CLASS(CVSXNetProps));
    IContextMenu* menu = nullptr;
    ASSERT_EQ(QueryMenu(ext, kEngineeringServer, &menu), 1);
    RunCommand(menu, {{Step::OK, "apple1xyz", "123456789", "123456789"}, {Step::OK, "apple1", "", ""}});
    menu->Release();
    ASSERT_EQ(typed_.size(), 6u);
    EXPECT_EQ(typed_[0], "apple1xy");
    EXPECT_EQ(typed_[1], "12345678");
    EXPECT_EQ(typed_[2], "12345678");
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Old Password Incorrect!: Please Re-Enter Old Password",
                                                 "Quarnet: Password changed"}));
    EXPECT_EQ(ServerPassword(), "");
}

TEST_F(ChangePassword, AServerThatRefusesTheChangeFails)
{
    Extension ext(RUNTIME_CLASS(CVSXNetProps));
    IContextMenu* menu = nullptr;
    ASSERT_EQ(QueryMenu(ext, kEngineeringServer, &menu), 1);
    // Changed elsewhere after the menu was made: the session's password is
    // no longer the server's.
    ASSERT_EQ(AFPChangeSrvrPassword("\\\\Engineering Server", "apple1", "other"), 0);
    RunCommand(menu, {{Step::OK, "apple1", "mine", "mine"}});
    menu->Release();
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Quarnet: Server Password Change Failed!"});
    EXPECT_EQ(boxes_[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(ServerPassword(), "other");
}

}  // namespace
}  // namespace shelltest
