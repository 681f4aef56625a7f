// Korvel's application object started in this process as the program starts
// it, with its real resources, against a real atnetd whose folder is the
// installation folder (where "Korvel.AFPMap" lives).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "message_box_recorder.h"
#include "korvel/app.h"
#include "korvel/korvel_doc.h"
#include "korvel/korvel_view.h"
#include "korvel/main_frame.h"
#include "win_test_helpers.h"

class KorvelTest : public testing::Test {
protected:
    attest::AtnetdProcess service;
    std::unique_ptr<vtest::InstallFolderOverride> installFolder;
    std::vector<MessageBoxRequest> boxes;
    std::deque<int> answers;  // the buttons the next message boxes get
    std::unique_ptr<vtest::MessageBoxRecorder> messages;
    CKorvelApp* app = nullptr;
    CMainFrame* frame = nullptr;
    CKorvelView* view = nullptr;

    // The service and the installation folder; the program starts in Start.
    void SetUp() override;
    void TearDown() override;
    // Starts the program with `cmdLine` as a normal start does.
    void Start(const char* cmdLine = "");
    // Starts the program as a container starts it ("/Embedding"): no
    // window until an object is made.
    void StartForClient();

    std::string MapPath() const { return service.Dir() + "Korvel.AFPMap"; }
    void WriteMap(const std::string& text) const { attest::WriteFile(MapPath(), text); }
    std::string ReadMap() const { return attest::ReadFile(MapPath()); }
    size_t Notifications() const { return service.TraceOf("tarpin.notify").size(); }
    CKorvelDoc* Doc() const { return view != nullptr ? view->GetKorvelDoc() : nullptr; }

    // What the list shows, row by row, as "extension|type|creator|remark".
    std::vector<std::string> Shown() const;
    // The text of status pane `id` after an idle-time update.
    std::string PaneText(UINT id);
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, id, 0); vtest::PumpWaitingMessages(); }
};
