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

class ShellTest : public testing::Test {
protected:
    CVestrelUtilApp* app = nullptr;
    CMainFrame* frame = nullptr;

    void SetUp() override;
    void TearDown() override;
};

using vtest::CaptureModalDialog;
using vtest::PumpWaitingMessages;
using vtest::TestProgramFolder;
