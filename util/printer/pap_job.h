// PAPJob: what every PAP job of the utility shares, whatever it sends: the
// job block, the open, the one read kept outstanding with the printer's
// replies appended to "Response.txt", the status poll, writes, the close,
// the log and the cleanup that gives everything back. The download engine
// and the printer rename are two kinds of job built on it; each runs its own
// state machine on the program's only thread, polling between passes of the
// host's message pump.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "job_files.h"
#include "job_host.h"
#include "pap_job_block.h"
#include "pap_stack.h"

enum JobState {
    JS_IDLE,      // constructed (a rename: also finished)
    JS_OPENING,   // open issued (and, with m_bConnected, completed)
    JS_SENDING,   // writing
    JS_LASTWRITE, // the write carrying EOF was issued
    JS_WAITEOF,   // that write completed; waiting for the printer's EOF
    JS_CLOSING,   // close issued
    JS_STOPPED,   // cancelled or failed: every step is skipped
    JS_FILEDONE,  // a download: one file finished; the next one starts
};

constexpr int64_t kJobStatusPollSeconds = 3;       // printer status refresh
constexpr int64_t kJobCleanupWaitSeconds = 5;      // longest wait for a cancel or close in Cleanup

class PAPJob {
public:
    PAPJob(const PAPJob&) = delete;
    PAPJob& operator=(const PAPJob&) = delete;

    JobState State() const { return m_nState; }
    const PAPJobBlock* Block() const { return m_pBlock; }
    bool Connected() const { return m_bConnected; }
    bool EOFSeen() const { return m_bEOFSeen; }

protected:
    // `logPath` is the log's full name ("VestrelUtil.txt" in its folder).
    // All references must outlive the job.
    PAPJob(PapStack& stack, JobHost& host, JobFiles& files, std::string logPath);
    // Releases the connection and the block if Cleanup never ran.
    virtual ~PAPJob();

    // MPPAlloc of the whole layout, zero-filled by us, use count 1; false
    // (and no block) when the stack has none to give.
    bool AllocateBlock();
    // The open of `printer` (state JS_OPENING, "Status: Opening Printer");
    // the open block's result after dispatch.
    int32_t IssueOpen(const _NBPTuple& printer);
    // "The printer %1 could not be found on the network" for the printer
    // being opened, in a message box.
    void ReportPrinterNotFound();

    // Every 3 seconds: the last status string into the status line, and the
    // next status request. A failed request is never issued again.
    void PollStatus();
    // What a job shows while its status request has failed.
    virtual void OnStatusFailed() {}
    // Bytes the printer sent back, as each read completes (already kept in
    // "Response.txt").
    virtual void OnReply(const char* /*data*/, std::size_t /*size*/) {}

    // The read and write results tell whether the connection is usable;
    // either one negative stops the job.
    bool CanProceed();
    void PostRead();
    // A completed read: EOF noted, its bytes kept, the next read posted.
    void PollRead();
    // The write of `length` bytes of the send buffer.
    void IssueWrite(int32_t length, bool eof);
    void IssueClose();
    // Appends `line` (with its CR LF) to the log, opened on first use; a log
    // that cannot be opened is skipped.
    void AppendLog(const std::string& line);

    // "Status: Closing Printer", files closed, a pending open cancelled, an
    // open connection closed, the status request cancelled, the block freed.
    void Cleanup();

    PapStack& m_stack;
    JobHost& m_host;
    JobFiles& m_files;
    std::string m_logPath;

    PAPJobBlock* m_pBlock = nullptr;
    JobState m_nState = JS_IDLE;
    bool m_bConnected = false;
    bool m_bEOFSeen = false;
    int64_t m_tLastStatus = 0;

private:
    void IssueStatus();
    void KeepReply(const char* data, std::size_t size);
    void AbortConnection();
    void CancelStatus();
    void ReleaseBlock();
    void SpinWhilePending(const PAPParamBlock& block);

    std::unique_ptr<JobOutputFile> m_pResponseFile;
    std::unique_ptr<JobOutputFile> m_pLogFile;
    bool m_bResponseTried = false;  // one attempt per dialog
    bool m_bLogTried = false;
};
