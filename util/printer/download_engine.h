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

#include "job_files.h"
#include "job_host.h"
#include "job_ticket.h"
#include "pap_job_block.h"
#include "pap_stack.h"

enum JobState {
    JS_IDLE,      // constructed
    JS_OPENING,   // open issued (and, with m_bConnected, completed)
    JS_SENDING,   // writing a file's chunks
    JS_LASTWRITE, // the chunk carrying EOF was issued
    JS_WAITEOF,   // that chunk was written; waiting for the printer's EOF
    JS_CLOSING,   // close issued after the last file
    JS_STOPPED,   // cancelled or failed: every step is skipped
    JS_FILEDONE,  // one file finished; the next one starts
};

// What OpenPrinter returns when it does not issue the open.
constexpr int32_t kJobErrAlreadyStarted = static_cast<int32_t>(0x80130025u);
constexpr int32_t kJobErrNoBlock = static_cast<int32_t>(0x8013000au);
constexpr int32_t kJobErrNoTicket = static_cast<int32_t>(0x80130002u);

constexpr unsigned kJobPumpSleepMs = 100;        // one pass of the wait loops
constexpr int64_t kJobStatusPollSeconds = 3;     // printer status refresh
constexpr unsigned kJobCleanupSpinLimitMs = 5000; // longest wait for a cancel or close in Cleanup

class PAPDownloadEngine {
public:
    // Allocates and zero-fills the job block (use count 1). A failed
    // allocation leaves m_pBlock null: RunJob then sends nothing.
    // `productDir` is where "VestrelUtil.txt" goes (ends in a separator;
    // empty = the current directory). All references must outlive the engine.
    PAPDownloadEngine(ZJobTicket* ticket, PapStack& stack, JobHost& host, JobFiles& files,
                      std::string productDir);
    // Releases the connection and the block if Cleanup never ran.
    ~PAPDownloadEngine();

    PAPDownloadEngine(const PAPDownloadEngine&) = delete;
    PAPDownloadEngine& operator=(const PAPDownloadEngine&) = delete;

    // WM_RUNJOB: open, wait for it, post the read, send every file, close,
    // wait for the close; each step only while not JS_STOPPED. A normal end
    // runs Cleanup and ends the dialog with kJobDialogOK.
    void RunJob();
    // The Cancel button (and a failed open): JS_STOPPED, Cleanup, end the
    // dialog with kJobDialogCancel. Safe from inside any wait of RunJob.
    void OnCancel();

    // Issues the open; the open block's result after dispatch, or one of
    // the kJobErr values when the job cannot start.
    int32_t OpenPrinter();

    JobState State() const { return m_nState; }
    const PAPJobBlock* Block() const { return m_pBlock; }
    bool Connected() const { return m_bConnected; }
    bool EOFSeen() const { return m_bEOFSeen; }
    int32_t BytesSent() const { return m_nBytesSent; }
    int32_t FileSize() const { return m_nFileSize; }

private:
    void WaitForOpen();
    void PostRead();
    void SendFiles();
    void SendOneFile(const std::string& path);
    void ClosePrinter();
    void WaitForClose();

    void PumpAndSleep();
    void PollStatus();
    void IssueStatus();
    bool CanProceed();
    void PollRead();
    void WriteChunk();
    void UpdateProgress();
    void LogDownload(const std::string& title);
    void KeepReply(const char* data, std::size_t size);

    void Cleanup();
    void AbortConnection();
    void CancelStatus();
    void ReleaseBlock();
    void SpinWhilePending(const PAPParamBlock& block);

    ZJobTicket* m_pTicket;
    PapStack& m_stack;
    JobHost& m_host;
    JobFiles& m_files;
    std::string m_productDir;

    PAPJobBlock* m_pBlock = nullptr;
    JobState m_nState = JS_IDLE;
    bool m_bConnected = false;
    bool m_bEOFSeen = false;
    std::unique_ptr<JobInputFile> m_pFile;
    std::unique_ptr<JobOutputFile> m_pResponseFile;
    std::unique_ptr<JobOutputFile> m_pLogFile;
    bool m_bResponseTried = false;  // one attempt per dialog
    bool m_bLogTried = false;
    int32_t m_nFileSize = 0;
    int32_t m_nBytesSent = 0;
    int64_t m_tLastStatus = 0;
};
