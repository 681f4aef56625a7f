#include "pap_job.h"

#include <algorithm>
#include <cstring>

#include "job_texts.h"
#include "nbp_names.h"

namespace {
constexpr char kResponseFileName[] = "Response.txt";
}  // namespace

PAPJob::PAPJob(PapStack& stack, JobHost& host, JobFiles& files, std::string logPath)
    : m_stack(stack), m_host(host), m_files(files), m_logPath(std::move(logPath))
{
}

PAPJob::~PAPJob()
{
    if (m_pBlock) {
        AbortConnection();
        CancelStatus();
        ReleaseBlock();
    }
}

bool PAPJob::AllocateBlock()
{
    void* block = nullptr;
    if (m_stack.Alloc(&block, kPAPJobBlockSize) != 0 || !block)
        return false;
    std::memset(block, 0, kPAPJobBlockSize);
    m_pBlock = static_cast<PAPJobBlock*>(block);
    m_pBlock->useCount = 1;
    return true;
}

int32_t PAPJob::IssueOpen(const _NBPTuple& printer)
{
    PAPParamBlock& open = m_pBlock->open;
    open.printer = printer;
    open.flowQuantum = kPAPFlowQuantum;
    open.SetStatusString("");
    open.BeginRequest(kPAPOpen);
    m_stack.Dispatch(&open);
    m_nState = JS_OPENING;
    m_host.ShowStatus(m_host.LoadText(IDS_STATUS_OPENING));
    m_tLastStatus = m_host.Now();
    return open.Result();
}

void PAPJob::ReportPrinterNotFound()
{
    const std::string name = m_pBlock ? NBPSlotText(m_pBlock->open.printer.object) : std::string();
    m_host.ShowError(FormatJobText(m_host.LoadText(IDS_PRINTER_NOT_FOUND), name));
}

// ---- polling ---------------------------------------------------------------

void PAPJob::PollStatus()
{
    if (!m_pBlock)
        return;
    const int64_t now = m_host.Now();
    if (now - m_tLastStatus < kJobStatusPollSeconds)
        return;
    m_tLastStatus = now;
    const int32_t result = m_pBlock->status.Result();
    if (result < 0)
        OnStatusFailed();
    // A status request that failed is never re-issued during this dialog.
    if (result != 0)
        return;
    const std::string text = m_pBlock->status.StatusString();
    if (!text.empty())
        m_host.ShowStatus(text);
    IssueStatus();
}

void PAPJob::IssueStatus()
{
    PAPParamBlock& status = m_pBlock->status;
    if (status.Result() == kATResultPending)
        return;
    status.printer = m_pBlock->open.printer;
    status.BeginRequest(kPAPStatus);
    m_stack.Dispatch(&status);
}

bool PAPJob::CanProceed()
{
    if (!m_pBlock)
        return false;
    if (m_pBlock->read.Result() < 0 || m_pBlock->write.Result() < 0)
        m_nState = JS_STOPPED;
    return m_bConnected && m_pBlock->read.Result() >= 0;
}

void PAPJob::PostRead()
{
    if (!CanProceed())
        return;
    PAPParamBlock& read = m_pBlock->read;
    read.connRef = m_pBlock->open.connRef;
    read.SetDataBuffer(m_pBlock->receive);
    read.length = kPAPChunkSize;
    read.BeginRequest(kPAPRead);
    m_stack.Dispatch(&read);
}

void PAPJob::PollRead()
{
    if (!CanProceed() || m_pBlock->read.Result() != 0)
        return;
    const PAPParamBlock& read = m_pBlock->read;
    if (read.Eof())
        m_bEOFSeen = true;
    // Never trust a length beyond the buffer the read was given.
    const int32_t received = std::min(read.length, kPAPChunkSize);
    if (received > 0) {
        KeepReply(m_pBlock->receive, static_cast<std::size_t>(received));
        OnReply(m_pBlock->receive, static_cast<std::size_t>(received));
    }
    PostRead();
}

void PAPJob::KeepReply(const char* data, std::size_t size)
{
    if (!m_bResponseTried) {
        m_bResponseTried = true;
        m_pResponseFile = m_files.CreateResponse(kResponseFileName);
    }
    if (m_pResponseFile)
        m_pResponseFile->Write(data, size);  // a failed write is ignored
}

void PAPJob::IssueWrite(int32_t length, bool eof)
{
    PAPParamBlock& write = m_pBlock->write;
    write.connRef = m_pBlock->open.connRef;
    write.SetDataBuffer(m_pBlock->send);
    write.length = length;
    write.SetEof(eof);
    write.BeginRequest(kPAPWrite);
    m_stack.Dispatch(&write);
}

void PAPJob::IssueClose()
{
    PAPParamBlock& close = m_pBlock->closeCancel;
    close.connRef = m_pBlock->open.connRef;
    close.BeginRequest(kPAPClose);
    m_stack.Dispatch(&close);
    m_nState = JS_CLOSING;
}

void PAPJob::AppendLog(const std::string& line)
{
    if (!m_bLogTried) {
        m_bLogTried = true;
        m_pLogFile = m_files.OpenLog(m_logPath);
    }
    if (m_pLogFile)
        m_pLogFile->Write(line.data(), line.size());
}

// ---- the end ---------------------------------------------------------------

void PAPJob::Cleanup()
{
    m_host.ShowStatus(m_host.LoadText(IDS_STATUS_CLOSING));
    m_pResponseFile.reset();
    m_pLogFile.reset();
    if (!m_pBlock)
        return;
    AbortConnection();
    CancelStatus();
    ReleaseBlock();
}

void PAPJob::AbortConnection()
{
    PAPParamBlock& cc = m_pBlock->closeCancel;
    if (m_pBlock->open.Result() > 0) {
        cc.requestId = m_pBlock->open.requestId;
        cc.BeginRequest(kPAPCancel);
        m_stack.Dispatch(&cc);
        SpinWhilePending(cc);
    }
    if (m_bConnected && m_pBlock->open.Result() == 0) {
        cc.connRef = m_pBlock->open.connRef;
        cc.BeginRequest(kPAPClose);
        m_stack.Dispatch(&cc);
        SpinWhilePending(cc);
    }
    m_bConnected = false;
}

void PAPJob::CancelStatus()
{
    PAPParamBlock& cc = m_pBlock->closeCancel;
    cc.requestId = m_pBlock->status.requestId;
    cc.BeginRequest(kPAPCancel);
    m_stack.Dispatch(&cc);
    SpinWhilePending(cc);
    std::memset(&m_pBlock->status, 0, sizeof m_pBlock->status);
    std::memset(&cc, 0, sizeof cc);
}

void PAPJob::ReleaseBlock()
{
    if (--m_pBlock->useCount <= 0) {
        m_stack.Free(m_pBlock);
        m_pBlock = nullptr;
    }
}

// Waits without pumping (no Cancel can come in here), but never for ever: a
// stack that does not answer must not freeze the program. The stack detaches
// whatever is still outstanding when the block is freed. The limit is on the
// clock, not on passes: a 1 ms sleep can last a whole timer tick (15 ms).
void PAPJob::SpinWhilePending(const PAPParamBlock& block)
{
    const int64_t start = m_host.Now();
    while (block.Result() == kATResultPending && m_host.Now() - start < kJobCleanupWaitSeconds)
        m_host.Sleep(1);
}
