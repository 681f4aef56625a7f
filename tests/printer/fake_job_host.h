// The dialog side of a download for tests: a virtual clock driven by the
// simulated printer, and a record of every text, bar position, message box
// and end of the dialog. A hook runs on every message-pump pass, where the
// real dialog would see the Cancel button.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "fake_laserwriter.h"
#include "job_host.h"
#include "job_texts.h"

class FakeJobHost : public DownloadJobHost {
public:
    explicit FakeJobHost(FakeLaserWriter& printer) : printer_(printer) {}

    // C time() of the virtual clock: it starts at an arbitrary second.
    int64_t Now() override { return kEpoch + printer_.NowMs() / 1000; }
    void Sleep(unsigned ms) override
    {
        ++sleeps;
        ms = ms < timerTickMs ? timerTickMs : ms;
        sleptMs += ms;
        printer_.Advance(ms);
    }
    void PumpMessages() override
    {
        ++pumps;
        if (onPump)
            onPump();
    }
    std::string LoadText(int id) override { return JobTextEnglish(id); }

    void ShowStatus(const std::string& text) override { statusLines.push_back(text); }
    void ShowFileTitle(const std::string& title) override { titles.push_back(title); }
    void ShowFileSize(int32_t bytes) override { sizes.push_back(bytes); }
    void ShowBytesSent(int32_t bytes) override { bytesSent.push_back(bytes); }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void EndDialog(int code) override { endCodes.push_back(code); }

    // Forgets what was recorded (a new dialog on the same host).
    void Clear()
    {
        onPump = nullptr;
        timerTickMs = 0;
        pumps = sleeps = 0;
        sleptMs = 0;
        statusLines.clear();
        titles.clear();
        errors.clear();
        sizes.clear();
        bytesSent.clear();
        progress.clear();
        endCodes.clear();
    }

    static constexpr int64_t kEpoch = 1'700'000'000;

    // The shortest sleep there is: on Windows a 1 ms sleep often lasts a
    // whole timer tick (about 15 ms). 0: sleeps last what they ask.
    unsigned timerTickMs = 0;
    std::function<void()> onPump;
    int pumps = 0;
    int sleeps = 0;
    int64_t sleptMs = 0;
    std::vector<std::string> statusLines, titles, errors;
    std::vector<int32_t> sizes, bytesSent;
    std::vector<int> progress, endCodes;

private:
    FakeLaserWriter& printer_;
};
