// VestrelUtil's application object started in this process as the program
// starts it, with its real resources; ended again after each test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "util/app.h"
#include "util/main_frame.h"

class ShellTest : public testing::Test {
protected:
    CVestrelUtilApp* app = nullptr;
    CMainFrame* frame = nullptr;

    void SetUp() override;
    void TearDown() override;
};

void PumpWaitingMessages();

// The folder of this test program, ending in "\".
std::string TestProgramFolder();

// Opens a modal dialog by `open` and, once it is up, reads the texts of its
// controls (by id) and its caption (id -1), counts its icons (id -2), then
// presses OK.
std::map<int, std::string> CaptureModalDialog(const std::function<void()>& open);
