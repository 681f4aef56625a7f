// The dialog side of a download with the real clock, sleep and message
// pump, recording what the dialog would show.
#pragma once

#include <windows.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "job_host.h"
#include "job_texts.h"

class RealHost : public DownloadJobHost {
public:
    int64_t Now() override { return static_cast<int64_t>(std::time(nullptr)); }
    void Sleep(unsigned ms) override { SleepEx(ms, FALSE); }
    void PumpMessages() override
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        ++pumps;
        if (onPump)
            onPump();
    }
    std::string LoadText(int id) override { return JobTextEnglish(id); }
    void ShowStatus(const std::string& text) override { statusLines.push_back(text); }
    void ShowFileTitle(const std::string&) override {}
    void ShowFileSize(int32_t) override {}
    void ShowBytesSent(int32_t) override {}
    void SetProgress(int) override {}
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void EndDialog(int code) override { endCodes.push_back(code); }

    std::function<void()> onPump;
    int pumps = 0;
    std::vector<std::string> statusLines, errors;
    std::vector<int> endCodes;
};
