#include "download_engine.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "job_texts.h"
#include "nbp_names.h"

namespace {

constexpr char kResponseFileName[] = "Response.txt";
constexpr char kLogFileName[] = "VestrelUtil.txt";
constexpr char kControlD = 0x04;
constexpr char kSpace = 0x20;

}  // namespace

PAPDownloadEngine::PAPDownloadEngine(ZJobTicket* ticket, PapStack& stack, JobHost& host, JobFiles& files,
                                     std::string productDir)
    : m_pTicket(ticket), m_stack(stack), m_host(host), m_files(files), m_productDir(std::move(productDir))
{
    void* block = nullptr;
    if (m_stack.Alloc(&block, kPAPJobBlockSize) == 0 && block) {
        std::memset(block, 0, kPAPJobBlockSize);
        m_pBlock = static_cast<PAPJobBlock*>(block);
        m_pBlock->useCount = 1;
    }
}

PAPDownloadEngine::~PAPDownloadEngine()
{
    if (m_pBlock) {
        AbortConnection();
        CancelStatus();
        ReleaseBlock();
    }
}

// ---- the job ---------------------------------------------------------------

void PAPDownloadEngine::RunJob()
{
    if (!m_pBlock)
        return;  // nothing can be sent; the dialog waits for Cancel
    if (m_nState != JS_STOPPED)
        OpenPrinter();
    if (m_nState != JS_STOPPED)
        WaitForOpen();
    if (m_nState != JS_STOPPED)
        PostRead();
    if (m_nState != JS_STOPPED)
        SendFiles();
    if (m_nState != JS_STOPPED)
        ClosePrinter();
    if (m_nState != JS_STOPPED)
        WaitForClose();
}

void PAPDownloadEngine::OnCancel()
{
    m_nState = JS_STOPPED;
    Cleanup();
    m_host.EndDialog(kJobDialogCancel);
}

int32_t PAPDownloadEngine::OpenPrinter()
{
    if (m_nState != JS_IDLE)
        return kJobErrAlreadyStarted;
    if (!m_pBlock)
        return kJobErrNoBlock;
    if (!m_pTicket)
        return kJobErrNoTicket;
    PAPParamBlock& open = m_pBlock->open;
    open.printer = m_pTicket->m_printer;
    open.flowQuantum = kPAPFlowQuantum;
    open.SetStatusString("");
    open.BeginRequest(kPAPOpen);
    m_stack.Dispatch(&open);
    m_nState = JS_OPENING;
    m_host.ShowStatus(m_host.LoadText(IDS_STATUS_OPENING));
    m_tLastStatus = m_host.Now();
    return open.Result();
}

void PAPDownloadEngine::WaitForOpen()
{
    // No limit of our own: the open waits for the stack or for Cancel.
    while (m_nState != JS_STOPPED && m_pBlock && m_pBlock->open.Result() > 0)
        PumpAndSleep();
    if (!m_pBlock || m_nState == JS_STOPPED)
        return;
    const int32_t result = m_pBlock->open.Result();
    if (result == 0) {
        m_bConnected = true;
        m_host.ShowStatus(m_host.LoadText(IDS_STATUS_OPEN));
    } else if (result < 0) {
        const std::string name = NBPSlotText(m_pBlock->open.printer.object);
        m_host.ShowError(FormatJobText(m_host.LoadText(IDS_PRINTER_NOT_FOUND), name));
        m_nState = JS_STOPPED;
        OnCancel();
    }
}

void PAPDownloadEngine::PostRead()
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

void PAPDownloadEngine::SendFiles()
{
    if (m_pTicket) {
        for (const std::string& path : m_pTicket->GetFiles()) {
            if (m_nState == JS_STOPPED || !m_pBlock)
                break;
            SendOneFile(path);
            if (m_nState == JS_STOPPED)
                break;
        }
    }
    m_pFile.reset();
}

void PAPDownloadEngine::SendOneFile(const std::string& path)
{
    const std::string title = JobFileTitle(path);
    m_host.ShowFileTitle(title);
    m_nBytesSent = 0;
    // Each file waits for an EOF of its own job, not one left from the last.
    m_bEOFSeen = false;

    m_pFile = m_files.OpenForReading(path);
    if (!m_pFile) {
        m_host.ShowError(FormatJobText(m_host.LoadText(IDS_FILE_NOT_ACCESSIBLE), path));
        m_nState = JS_STOPPED;
        return;
    }
    m_nFileSize = static_cast<int32_t>(std::clamp<int64_t>(m_pFile->Size(), 0, INT32_MAX));
    m_host.ShowFileSize(m_nFileSize);
    m_nState = JS_SENDING;

    while (m_nState == JS_SENDING) {
        WriteChunk();
        PumpAndSleep();
    }
    while (m_nState == JS_LASTWRITE) {
        PollRead();
        while (m_nState == JS_LASTWRITE && m_pBlock && m_pBlock->write.Result() > 0)
            PumpAndSleep();
        if (m_nState != JS_LASTWRITE || !m_pBlock)
            break;
        if (m_pBlock->write.Result() < 0) {
            m_nState = JS_STOPPED;  // silently: the dialog waits for Cancel
            break;
        }
        UpdateProgress();
        m_nState = JS_WAITEOF;
    }
    while (m_nState == JS_WAITEOF) {
        PollRead();
        if (m_nState != JS_WAITEOF)
            break;  // a failed read stopped the job
        if (!m_pTicket->m_bWaitForEOF || m_bEOFSeen)
            m_nState = JS_FILEDONE;
        PumpAndSleep();
    }
    if (m_nState == JS_STOPPED)
        return;
    LogDownload(title);
}

void PAPDownloadEngine::ClosePrinter()
{
    if (!m_pBlock)
        return;
    if (!m_bConnected) {
        m_nState = JS_STOPPED;
        return;
    }
    PAPParamBlock& close = m_pBlock->closeCancel;
    close.connRef = m_pBlock->open.connRef;
    close.BeginRequest(kPAPClose);
    m_stack.Dispatch(&close);
    m_nState = JS_CLOSING;
}

void PAPDownloadEngine::WaitForClose()
{
    while (m_nState == JS_CLOSING && m_pBlock && m_pBlock->closeCancel.Result() > 0 &&
           m_pBlock->read.Result() >= 0 && m_pBlock->write.Result() >= 0)
        PumpAndSleep();
    if (m_nState == JS_STOPPED)
        return;  // cancelled meanwhile: the dialog has already ended
    m_bConnected = false;
    Cleanup();
    m_host.EndDialog(kJobDialogOK);
}

// ---- polling ---------------------------------------------------------------

void PAPDownloadEngine::PumpAndSleep()
{
    m_host.PumpMessages();
    PollStatus();
    m_host.Sleep(kJobPumpSleepMs);
}

void PAPDownloadEngine::PollStatus()
{
    if (!m_pBlock)
        return;
    const int64_t now = m_host.Now();
    if (now - m_tLastStatus < kJobStatusPollSeconds)
        return;
    m_tLastStatus = now;
    // A status request that failed is never re-issued during this dialog.
    if (m_pBlock->status.Result() != 0)
        return;
    const std::string text = m_pBlock->status.StatusString();
    if (!text.empty())
        m_host.ShowStatus(text);
    IssueStatus();
}

void PAPDownloadEngine::IssueStatus()
{
    PAPParamBlock& status = m_pBlock->status;
    if (status.Result() == kATResultPending)
        return;
    status.printer = m_pBlock->open.printer;
    status.BeginRequest(kPAPStatus);
    m_stack.Dispatch(&status);
}

bool PAPDownloadEngine::CanProceed()
{
    if (!m_pBlock)
        return false;
    if (m_pBlock->read.Result() < 0 || m_pBlock->write.Result() < 0)
        m_nState = JS_STOPPED;
    return m_bConnected && m_pBlock->read.Result() >= 0;
}

void PAPDownloadEngine::PollRead()
{
    if (!CanProceed() || m_pBlock->read.Result() != 0)
        return;
    const PAPParamBlock& read = m_pBlock->read;
    if (read.Eof())
        m_bEOFSeen = true;
    // Never trust a length beyond the buffer the read was given.
    const int32_t received = std::min(read.length, kPAPChunkSize);
    if (received > 0)
        KeepReply(m_pBlock->receive, static_cast<std::size_t>(received));
    PostRead();
}

void PAPDownloadEngine::KeepReply(const char* data, std::size_t size)
{
    if (!m_bResponseTried) {
        m_bResponseTried = true;
        m_pResponseFile = m_files.CreateResponse(kResponseFileName);
    }
    if (m_pResponseFile)
        m_pResponseFile->Write(data, size);  // a failed write is ignored
}

void PAPDownloadEngine::WriteChunk()
{
    if (!m_pBlock || !m_pFile || !CanProceed())
        return;
    if (m_pBlock->write.Result() < 0) {
        m_nState = JS_STOPPED;
        return;
    }
    PollRead();
    if (!CanProceed() || m_pBlock->write.Result() != 0)
        return;  // the previous write is still on its way
    UpdateProgress();

    const int32_t n = m_pFile->Read(m_pBlock->send, kPAPChunkSize);
    if (n < 0)
        return;  // a read error of the file ends this step without sending
    // A Control-D at the very start would end the printer's job at once.
    if (m_nBytesSent == 0 && n >= 1 && m_pBlock->send[0] == kControlD)
        m_pBlock->send[0] = kSpace;

    PAPParamBlock& write = m_pBlock->write;
    write.connRef = m_pBlock->open.connRef;
    write.SetDataBuffer(m_pBlock->send);
    write.length = n;
    const bool last = n < kPAPChunkSize;
    write.SetEof(last);
    write.BeginRequest(kPAPWrite);
    m_stack.Dispatch(&write);
    if (last) {
        m_pFile.reset();
        m_nState = JS_LASTWRITE;
    }
    if (n > 0)
        m_nBytesSent = static_cast<int32_t>(std::min<int64_t>(int64_t{m_nBytesSent} + n, INT32_MAX));
}

void PAPDownloadEngine::UpdateProgress()
{
    m_host.ShowBytesSent(m_nBytesSent);
    if (m_nFileSize > 0) {
        const double percent = static_cast<double>(m_nBytesSent) * 100.0 / static_cast<double>(m_nFileSize);
        if (percent <= 100.0)
            m_host.SetProgress(static_cast<int>(percent));
    }
}

void PAPDownloadEngine::LogDownload(const std::string& title)
{
    if (!m_bLogTried) {
        m_bLogTried = true;
        m_pLogFile = m_files.OpenLog(m_productDir + kLogFileName);
    }
    if (m_pLogFile) {
        const std::string line = "DownLoaded File " + title + "\r\n";
        m_pLogFile->Write(line.data(), line.size());
    }
}

// ---- the end ---------------------------------------------------------------

void PAPDownloadEngine::Cleanup()
{
    m_host.ShowStatus(m_host.LoadText(IDS_STATUS_CLOSING));
    m_pFile.reset();
    m_pResponseFile.reset();
    m_pLogFile.reset();
    if (!m_pBlock)
        return;
    AbortConnection();
    CancelStatus();
    ReleaseBlock();
}

void PAPDownloadEngine::AbortConnection()
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

void PAPDownloadEngine::CancelStatus()
{
    PAPParamBlock& cc = m_pBlock->closeCancel;
    cc.requestId = m_pBlock->status.requestId;
    cc.BeginRequest(kPAPCancel);
    m_stack.Dispatch(&cc);
    SpinWhilePending(cc);
    std::memset(&m_pBlock->status, 0, sizeof m_pBlock->status);
    std::memset(&cc, 0, sizeof cc);
}

void PAPDownloadEngine::ReleaseBlock()
{
    if (--m_pBlock->useCount <= 0) {
        m_stack.Free(m_pBlock);
        m_pBlock = nullptr;
    }
}

// Waits without pumping (no Cancel can come in here), but never for ever: a
// stack that does not answer must not freeze the program. The stack detaches
// whatever is still outstanding when the block is freed.
void PAPDownloadEngine::SpinWhilePending(const PAPParamBlock& block)
{
    for (unsigned waited = 0; block.Result() == kATResultPending && waited < kJobCleanupSpinLimitMs; ++waited)
        m_host.Sleep(1);
}
