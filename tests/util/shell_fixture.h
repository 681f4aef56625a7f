// VestrelUtil's application object started in this process as the program
// starts it, with its real resources; ended again after each test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "util/app.h"
#include "util/main_frame.h"
#include "win_test_helpers.h"

class CDocTemplate;
class CView;

class ShellTest : public testing::Test {
protected:
    CVestrelUtilApp* app = nullptr;
    CMainFrame* frame = nullptr;

    void SetUp() override;
    void TearDown() override;
    // Sends `command` to the main frame; the view of the one window of
    // `type` it opened, or nullptr.
    CView* OpenWindowOf(CDocTemplate* type, UINT command);
    // A click on header `column` of list `listId` in `form`, as the list
    // reports it to the form.
    static void ClickListHeader(CWnd* form, int listId, int column);
};

using vtest::CaptureModalDialog;
using vtest::PumpWaitingMessages;
using vtest::TestProgramFolder;
