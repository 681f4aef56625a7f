// Opening files from the shell: the DDE conversation with the main frame
// and the registry entries that lead Explorer to it.
#include <dde.h>
#include <gtest/gtest.h>

#include <fstream>

#include "route_fixture.h"

namespace {

// A DDE client window that remembers who answered and how.
struct DdeClient {
    HWND hwnd = nullptr;
    HWND server = nullptr;
    int acks = 0;
    bool executeAccepted = false;

    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        auto* self = reinterpret_cast<DdeClient*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        if (m == WM_DDE_ACK && self != nullptr) {
            ++self->acks;
            if (self->server == nullptr) {
                self->server = reinterpret_cast<HWND>(w);
                GlobalDeleteAtom(LOWORD(l));
                GlobalDeleteAtom(HIWORD(l));
            } else {
                UINT_PTR status = 0, data = 0;
                UnpackDDElParam(WM_DDE_ACK, l, &status, &data);
                self->executeAccepted = (status & 0x8000) != 0;
                GlobalFree(reinterpret_cast<HGLOBAL>(data));
                FreeDDElParam(WM_DDE_ACK, l);
            }
            return 0;
        }
        return DefWindowProcA(h, m, w, l);
    }
    DdeClient()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FxTestDdeClient";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, "FxTestDdeClient", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~DdeClient() { DestroyWindow(hwnd); }
    void Initiate(HWND to, const char* service, const char* topic)
    {
        ATOM s = GlobalAddAtomA(service), t = GlobalAddAtomA(topic);
        SendMessageA(to, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(s, t));
        GlobalDeleteAtom(s);
        GlobalDeleteAtom(t);
    }
    void Execute(const std::string& command)
    {
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, command.size() + 1);
        memcpy(GlobalLock(data), command.c_str(), command.size() + 1);
        GlobalUnlock(data);
        PostMessageA(server, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(hwnd), PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(data)));
    }
};

class ShellOpen : public testing::Test {
protected:
    CRouteApp app;
    CRouteMainFrame* frame = nullptr;
    void SetUp() override
    {
        frame = StartRouteProgram(app);
        ASSERT_NE(frame, nullptr);
        app.EnableShellOpen();
    }
    void TearDown() override { EndRouteProgram(app); }
};

TEST_F(ShellOpen, OpenCommandOverDdeOpensTheFileWithItsType)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string path = std::string(temp) + "shell open.rte";
    std::ofstream(path) << "x";

    DdeClient wrongTopic;
    wrongTopic.Initiate(frame->m_hWnd, app.m_pszExeName, "other");
    EXPECT_EQ(wrongTopic.server, nullptr);

    DdeClient client;
    client.Initiate(frame->m_hWnd, app.m_pszExeName, "system");
    ASSERT_EQ(client.server, frame->m_hWnd);
    client.Execute("[open(\"" + path + "\")]");
    for (int i = 0; i < 50 && client.acks < 2; ++i) {
        PumpWaitingMessages();
        Sleep(10);
    }
    EXPECT_TRUE(client.executeAccepted);
    const auto& docs = app.GetDocTemplates().front()->GetDocuments();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs.front()->GetTitle(), "shell open.rte");
    DeleteFileA(path.c_str());
}

TEST_F(ShellOpen, FileTypesAreRegisteredWithTheirDdeOpenCommand)
{
    app.RegisterShellFileTypes(FALSE);
    auto read = [](const char* key) {
        char value[512] = "";
        LONG size = sizeof value;
        return RegQueryValueA(HKEY_CLASSES_ROOT, key, value, &size) == ERROR_SUCCESS ? std::string(value) : "<none>";
    };
    EXPECT_EQ(read(".rte"), "Route.Document");
    EXPECT_EQ(read("Route.Document"), "Route Document");
    EXPECT_EQ(read("Route.Document\\shell\\open\\ddeexec"), "[open(\"%1\")]");
    EXPECT_EQ(read("Route.Document\\shell\\open\\ddeexec\\topic"), "system");
    EXPECT_EQ(read("Route.Document\\shell\\open\\ddeexec\\application"), app.m_pszExeName);
    EXPECT_NE(read("Route.Document\\shell\\open\\command").find("fx_test.exe\""), std::string::npos);
    EXPECT_EQ(read("Route.Document\\shell\\print\\command"), "<none>");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "Route.Document");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".rte");
}

}  // namespace
