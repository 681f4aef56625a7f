// The printer rename job: one short PostScript job that leaves the
// printer's server loop with its default password and sets the new name,
// sent over a PAP connection of its own. Another kind of PAPJob: the same
// job block, open, read, status poll and close as a download, with its own
// shorter state machine. The Change Printer Name dialog runs one per dialog.
#pragma once

#include <string>

#include "pap_job.h"

constexpr unsigned kRenamePumpSleepMs = 120;  // one pass of the job's loop

class PAPRenameJob : public PAPJob {
public:
    // `logFolder` is where "VestrelUtil.txt" goes (ends in a separator;
    // empty = the current directory). All references must outlive the job.
    PAPRenameJob(PapStack& stack, JobHost& host, JobFiles& files, const std::string& logFolder);

    // Renames `printer` (its object name is the current name) to `newName`
    // and returns when the job is over. The dialog is ended through the
    // host: kJobDialogOK when the printer took the job (its EOF came with no
    // "%%[ Error:" line in its reply, the log has the line, the connection is
    // closed) or when no job block could be had (nothing sent);
    // kJobDialogCancel after a failure, with its message (a printer that
    // refused the job: its error line quoted, nothing logged), or Cancel.
    // One job per object: a second call does nothing.
    void Run(const _NBPTuple& printer, const std::string& newName);
    // Cancel, from inside Run's message pump or outside it: JS_STOPPED, the
    // connection and the block given back, the dialog ended with
    // kJobDialogCancel.
    void OnCancel();

    // The job's bytes as the printer receives them: the string table's
    // format with the name escaped for a PostScript string.
    static std::string JobText(const std::string& format, const std::string& newName);
    // The message for a printer that refused the rename, quoting its error.
    static std::string RefusedText(const std::string& oldName, const std::string& newName,
                                   const std::string& errorLine);

private:
    void Step();
    void StepOpening();
    void StepSending();
    void StepWaitEOF();
    void OnStatusFailed() override;
    void OnReply(const char* data, std::size_t size) override;
    void EndReplyLine();

    std::string m_oldName;
    std::string m_newName;
    bool m_bRan = false;
    std::string m_replyLine;  // the reply's current line, bounded
    std::string m_errorLine;  // the printer's first "%%[ Error:" line
};
