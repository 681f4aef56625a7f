// What the window around a PAP job supplies to it: the clock, the sleep and
// message pump between polls, the texts, the status line, message boxes and
// the end of the dialog. The dialogs implement it; tests implement it with
// a simulated clock. A download also shows its progress (DownloadJobHost).
#pragma once

#include <cstdint>
#include <string>

// The dialog's end codes (IDOK, IDCANCEL).
constexpr int kJobDialogOK = 1;
constexpr int kJobDialogCancel = 2;

class JobHost {
public:
    virtual ~JobHost() = default;

    // C time(): whole seconds.
    virtual int64_t Now() = 0;
    // SleepEx(ms, FALSE).
    virtual void Sleep(unsigned ms) = 0;
    // Dispatches the waiting window messages. May re-enter the job (Cancel
    // pressed), which the job's loops expect.
    virtual void PumpMessages() = 0;

    // The string table entry `id` (job_texts.h), placeholders unexpanded.
    virtual std::string LoadText(int id) = 0;

    // The status line, control 3009.
    virtual void ShowStatus(const std::string& text) = 0;
    // A message box with the error icon.
    virtual void ShowError(const std::string& text) = 0;
    // Closes the dialog with kJobDialogOK or kJobDialogCancel.
    virtual void EndDialog(int code) = 0;
};

// The Download Progress dialog's further controls.
class DownloadJobHost : public JobHost {
public:
    virtual void ShowFileTitle(const std::string& title) = 0;  // 1020
    virtual void ShowFileSize(int32_t bytes) = 0;              // 1039
    virtual void ShowBytesSent(int32_t bytes) = 0;             // 1038
    virtual void SetProgress(int percent) = 0;                 // 1023, the percentage bar
};
