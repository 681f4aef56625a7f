#include "rename_job.h"

#include <cstring>

#include "job_texts.h"
#include "nbp_names.h"
#include "ps_string.h"

namespace {

constexpr char kLogFileName[] = "VestrelUtil.txt";
// How a LaserWriter starts the line that says it refused a job.
constexpr char kPrinterErrorMark[] = "%%[ Error:";
// The printer's lines are short; a longer one is kept only this far.
constexpr std::size_t kReplyLineLimit = 255;

// A line of the string table as a text-mode file holds it: LF becomes CR LF.
std::string TextModeBytes(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

}  // namespace

PAPRenameJob::PAPRenameJob(PapStack& stack, JobHost& host, JobFiles& files, const std::string& logFolder)
    : PAPJob(stack, host, files, logFolder + kLogFileName)
{
}

std::string PAPRenameJob::JobText(const std::string& format, const std::string& newName)
{
    return FormatPrintfText(format, {PostScriptStringBody(newName)});
}

std::string PAPRenameJob::RefusedText(const std::string& oldName, const std::string& newName,
                                      const std::string& errorLine)
{
    return "The printer " + oldName + " refused the new name \"" + newName + "\" and keeps its name.\n\n" + errorLine;
}

void PAPRenameJob::OnReply(const char* data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n')
            EndReplyLine();
        else if (m_replyLine.size() < kReplyLineLimit)
            m_replyLine.push_back(c);
    }
}

void PAPRenameJob::EndReplyLine()
{
    const std::size_t at = m_replyLine.find(kPrinterErrorMark);
    if (m_errorLine.empty() && at != std::string::npos) {
        m_errorLine = m_replyLine.substr(at);
        const std::size_t end = m_errorLine.find("]%%");
        if (end != std::string::npos)
            m_errorLine.resize(end + 3);
    }
    m_replyLine.clear();
}

void PAPRenameJob::Run(const _NBPTuple& printer, const std::string& newName)
{
    if (m_bRan)
        return;
    m_bRan = true;
    m_oldName = NBPSlotText(printer.object);
    m_newName = newName;
    if (!AllocateBlock()) {
        m_host.EndDialog(kJobDialogOK);  // nothing can be sent
        return;
    }
    IssueOpen(printer);
    while (m_nState != JS_IDLE && m_nState != JS_STOPPED && m_pBlock) {
        m_host.PumpMessages();
        if (m_nState == JS_STOPPED || !m_pBlock)
            break;  // cancelled meanwhile: the dialog has already ended
        m_host.Sleep(kRenamePumpSleepMs);
        PollStatus();
        Step();
    }
    if (m_nState == JS_STOPPED && m_pBlock) {
        // A read or write failed: the printer went away mid-job.
        ReportPrinterNotFound();
        OnCancel();
    }
}

void PAPRenameJob::OnCancel()
{
    m_nState = JS_STOPPED;
    Cleanup();
    m_host.EndDialog(kJobDialogCancel);
}

void PAPRenameJob::Step()
{
    switch (m_nState) {
    case JS_OPENING:
        StepOpening();
        break;
    case JS_SENDING:
        StepSending();
        break;
    case JS_LASTWRITE:
        PollRead();
        if (m_nState != JS_LASTWRITE || !m_pBlock || m_pBlock->write.Result() > 0)
            break;
        m_nState = JS_WAITEOF;
        StepWaitEOF();
        break;
    case JS_WAITEOF:
        StepWaitEOF();
        break;
    case JS_CLOSING:
        if (m_pBlock->read.Result() < 0 || m_pBlock->write.Result() < 0 || m_pBlock->closeCancel.Result() <= 0) {
            m_nState = JS_IDLE;
            m_bConnected = false;
            Cleanup();
            m_host.EndDialog(kJobDialogOK);
        }
        break;
    default:
        break;
    }
}

void PAPRenameJob::StepOpening()
{
    const int32_t result = m_pBlock->open.Result();
    if (result > 0)
        return;  // no limit of our own: the open waits for the stack or for Cancel
    if (result < 0) {
        ReportPrinterNotFound();
        OnCancel();
        return;
    }
    m_bConnected = true;
    m_host.ShowStatus(m_host.LoadText(IDS_STATUS_OPEN));
    m_host.ShowStatus(m_host.LoadText(IDS_RENAME_STARTING));
    PostRead();
    m_nState = JS_SENDING;
}

void PAPRenameJob::StepSending()
{
    if (!CanProceed() || m_pBlock->write.Result() < 0)
        return;  // a failed read or write has stopped the job
    PollRead();
    if (m_nState != JS_SENDING || !m_pBlock)
        return;
    if (m_pBlock->write.Result() == 0) {
        std::string text = JobText(m_host.LoadText(IDS_RENAME_JOB), m_newName);
        if (text.size() >= static_cast<std::size_t>(kPAPChunkSize))
            text.resize(kPAPChunkSize - 1);  // one write, whatever the string table holds
        std::memcpy(m_pBlock->send, text.c_str(), text.size() + 1);
        IssueWrite(static_cast<int32_t>(text.size()), true);
        m_nState = JS_LASTWRITE;
    }
    m_host.ShowStatus(m_host.LoadText(IDS_RENAME_IN_PROGRESS));
}

void PAPRenameJob::StepWaitEOF()
{
    PollRead();
    if (m_nState != JS_WAITEOF || !m_bEOFSeen)
        return;
    // Only now has the printer run the whole job; an error line in its reply
    // means it refused it (a server password that is not the default one).
    EndReplyLine();
    if (!m_errorLine.empty()) {
        m_host.ShowError(RefusedText(m_oldName, m_newName, m_errorLine));
        OnCancel();
        return;
    }
    AppendLog(TextModeBytes(FormatPrintfText(m_host.LoadText(IDS_RENAME_LOG_LINE), {m_oldName, m_newName})));
    if (m_bConnected)
        IssueClose();
    else
        m_nState = JS_STOPPED;
}

void PAPRenameJob::OnStatusFailed()
{
    m_host.ShowStatus(FormatJobText(m_host.LoadText(IDS_PRINTER_NOT_FOUND), m_oldName));
}
