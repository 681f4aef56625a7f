// The lookup window run in process through its real frame, form and list,
// against a real atnetd: opening windows, waiting for their lookups, and
// reading what they show.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "lookup_worlds.h"
#include "fx/doc_template.h"
#include "fx/message_box.h"
#include "message_box_recorder.h"
#include "shell_fixture.h"
#include "util/network/lookup_doc.h"
#include "util/network/lookup_item.h"
#include "util/network/lookup_view.h"
#include "util/resource.h"

class LookupWindowTest : public ShellTest {
protected:
    attest::AtnetdProcess service;
    std::vector<MessageBoxRequest> boxes;
    std::deque<int> answers;  // OK for every message box
    std::unique_ptr<vtest::MessageBoxRecorder> recorder;

    // Starts the service on `world` (JSON text), then the program.
    void Start(const std::string& world)
    {
        ASSERT_TRUE(service.Start(world));
        recorder = std::make_unique<vtest::MessageBoxRecorder>(boxes, answers);
        ShellTest::SetUp();
    }
    void StartWorldFile(const std::string& path) { Start(attest::ReadFile(attest::WinePath(path))); }
    void SetUp() override {}
    void TearDown() override
    {
        ShellTest::TearDown();
        recorder.reset();
    }

    // Network > Lookup...: the view of the window it opened.
    CVestrelLookupView* OpenWindow()
    {
        return dynamic_cast<CVestrelLookupView*>(OpenWindowOf(app->m_pLookupTemplate, ID_NETWORK_LOOKUP));
    }

    // Runs messages until `done` or `limitMs` passed; whether it was done.
    static bool PumpUntil(const std::function<bool()>& done, int limitMs = 10000)
    {
        const auto start = std::chrono::steady_clock::now();
        while (!done()) {
            if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(limitMs))
                return false;
            PumpWaitingMessages();
            Sleep(5);
        }
        return true;
    }
    // Until the window has its zone list and its lookup has ended.
    static bool WaitForLookup(CVestrelLookupView* view, int limitMs = 10000)
    {
        return PumpUntil([view] { return view->m_hZoneEnum == 0 && view->m_hLookup == 0; }, limitMs);
    }

    static std::string Status(CVestrelLookupView* view) { return view->GetDlgItemText(IDC_LOOKUP_STATUS); }
    static std::vector<std::string> Zones(CVestrelLookupView* view)
    {
        std::vector<std::string> zones;
        for (int i = 0; i < view->m_zoneCombo.GetCount(); ++i)
            zones.push_back(view->m_zoneCombo.GetLBText(i));
        return zones;
    }
    static std::string SelectedZone(CVestrelLookupView* view)
    {
        const int i = view->m_zoneCombo.GetCurSel();
        return i < 0 ? "" : view->m_zoneCombo.GetLBText(i);
    }
    // Picks `zone` in the drop-down list and closes it, as the user does.
    static void ChooseZone(CVestrelLookupView* view, const char* zone)
    {
        view->m_zoneCombo.SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(zone));
        view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LOOKUP_ZONE, CBN_CLOSEUP),
                          reinterpret_cast<LPARAM>(view->m_zoneCombo.m_hWnd));
    }
    static void Press(CVestrelLookupView* view, int id)
    {
        view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(view->GetDlgItem(id)));
    }
    static void ClickHeader(CVestrelLookupView* view, int column) { ClickListHeader(view, IDC_LOOKUP_LIST, column); }
    // Each row as the list shows it: "name|type|address|image".
    static std::vector<std::string> Rows(CVestrelLookupView* view)
    {
        std::vector<std::string> rows;
        for (int i = 0; i < view->m_list.GetItemCount(); ++i) {
            LVITEMA item{};
            item.mask = LVIF_IMAGE;
            item.iItem = i;
            view->m_list.SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            rows.push_back(view->m_list.GetItemText(i, 0) + "|" + view->m_list.GetItemText(i, 1) + "|" +
                           view->m_list.GetItemText(i, 2) + "|" + std::to_string(item.iImage));
        }
        return rows;
    }
    static std::vector<std::string> Column(CVestrelLookupView* view, int column)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < view->m_list.GetItemCount(); ++i)
            texts.push_back(view->m_list.GetItemText(i, column));
        return texts;
    }
    // The nbp.lookup requests the service answered, by zone.
    std::vector<std::string> LookedUpZones() const
    {
        std::vector<std::string> zones;
        for (const auto& l : service.TraceOf("nbp.lookup"))
            zones.push_back(l["in"].value("zone", std::string("?")));
        return zones;
    }
};
