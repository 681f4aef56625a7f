// The PAP print job engine: sends the files of a ZJobTicket, in order, to
// one printer over a single PAP connection, keeps one read outstanding for
// the printer's replies (appended to "Response.txt"), shows the printer's
// status line every 3 seconds and logs each file sent. It runs on the
// program's only thread: every request is dispatched asynchronously and
// polled between passes of the host's message pump, so Cancel stays live.
// The Download Progress dialog owns one engine and forwards WM_RUNJOB and
// Cancel to it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "job_ticket.h"
#include "pap_job.h"

// What OpenPrinter returns when it does not issue the open.
constexpr int32_t kJobErrAlreadyStarted = static_cast<int32_t>(0x80130025u);
constexpr int32_t kJobErrNoBlock = static_cast<int32_t>(0x8013000au);
constexpr int32_t kJobErrNoTicket = static_cast<int32_t>(0x80130002u);

constexpr unsigned kJobPumpSleepMs = 100;  // one pass of the wait loops

class PAPDownloadEngine : public PAPJob {
public:
    // Allocates and zero-fills the job block (use count 1). A failed
    // allocation leaves m_pBlock null: RunJob then sends nothing.
    // `productDir` is where "VestrelUtil.txt" goes (ends in a separator;
    // empty = the current directory). All references must outlive the engine.
    PAPDownloadEngine(ZJobTicket* ticket, PapStack& stack, DownloadJobHost& host, JobFiles& files,
                      const std::string& productDir);

    // WM_RUNJOB: open, wait for it, post the read, send every file, close,
    // wait for the close; each step only while not JS_STOPPED. A normal end
    // runs Cleanup and ends the dialog with kJobDialogOK. Without a ticket it
    // shows an error and ends the dialog with kJobDialogCancel.
    void RunJob();
    // The Cancel button (and a failed open): JS_STOPPED, Cleanup, end the
    // dialog with kJobDialogCancel. Safe from inside any wait of RunJob.
    void OnCancel();

    // Issues the open; the open block's result after dispatch, or one of
    // the kJobErr values when the job cannot start.
    int32_t OpenPrinter();

    int32_t BytesSent() const { return m_nBytesSent; }
    int32_t FileSize() const { return m_nFileSize; }

private:
    void WaitForOpen();
    void SendFiles();
    void SendOneFile(const std::string& path);
    void ClosePrinter();
    void WaitForClose();

    void PumpAndSleep();
    void WriteChunk();
    void UpdateProgress();
    void CloseFileAndCleanup();

    ZJobTicket* m_pTicket;
    DownloadJobHost& m_progress;
    std::unique_ptr<JobInputFile> m_pFile;
    int32_t m_nFileSize = 0;
    int32_t m_nBytesSent = 0;
};
