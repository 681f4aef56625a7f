// What every test of a printer job's dialogs sets up: a real atnetd and the
// real stack, and the job's folder "<service dir>\job\" (with "product\"
// for the log) as the current directory, where "Response.txt" goes.
// Message boxes are recorded and answered with OK.
#pragma once

#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atnetd_process.h"
#include "fx/message_box.h"
#include "win32_pap_stack.h"

class JobDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = service_.Dir() + "job\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA((folder_ + "product\\").c_str(), nullptr);
        GetCurrentDirectoryA(MAX_PATH, savedDir_);
        SetCurrentDirectoryA(folder_.c_str());
        previous_ = FxSetMessageBoxHandler([this](const MessageBoxRequest& r) {
            messages_.push_back(r);
            return IDOK;
        });
    }
    void TearDown() override
    {
        FxSetMessageBoxHandler(previous_);
        SetCurrentDirectoryA(savedDir_);
    }

    attest::AtnetdProcess service_;
    Win32PapStack stack_;
    std::string folder_;
    std::vector<MessageBoxRequest> messages_;

private:
    char savedDir_[MAX_PATH] = {};
    MessageBoxHandler previous_;
};
