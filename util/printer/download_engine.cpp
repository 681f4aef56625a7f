#include "download_engine.h"

#include <algorithm>
#include <climits>

#include "job_texts.h"

namespace {

constexpr char kLogFileName[] = "VestrelUtil.txt";
constexpr char kControlD = 0x04;
constexpr char kSpace = 0x20;

}  // namespace

PAPDownloadEngine::PAPDownloadEngine(ZJobTicket* ticket, PapStack& stack, DownloadJobHost& host, JobFiles& files,
                                     const std::string& productDir)
    : PAPJob(stack, host, files, productDir + kLogFileName), m_pTicket(ticket), m_progress(host)
{
    AllocateBlock();
}

// ---- the job ---------------------------------------------------------------

void PAPDownloadEngine::RunJob()
{
    if (!m_pBlock)
        return;  // nothing can be sent; the dialog waits for Cancel
    if (!m_pTicket && m_nState != JS_STOPPED) {
        // No files and no printer: say so rather than "open" connection 0.
        m_host.ShowError(m_host.LoadText(IDS_NO_JOB));
        OnCancel();
        return;
    }
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
    CloseFileAndCleanup();
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
    return IssueOpen(m_pTicket->m_printer);
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
        ReportPrinterNotFound();
        m_nState = JS_STOPPED;
        OnCancel();
    }
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
    m_progress.ShowFileTitle(title);
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
    m_progress.ShowFileSize(m_nFileSize);
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
    AppendLog("DownLoaded File " + title + "\r\n");
}

void PAPDownloadEngine::ClosePrinter()
{
    if (!m_pBlock)
        return;
    if (!m_bConnected) {
        m_nState = JS_STOPPED;
        return;
    }
    IssueClose();
}

void PAPDownloadEngine::WaitForClose()
{
    while (m_nState == JS_CLOSING && m_pBlock && m_pBlock->closeCancel.Result() > 0 &&
           m_pBlock->read.Result() >= 0 && m_pBlock->write.Result() >= 0)
        PumpAndSleep();
    if (m_nState == JS_STOPPED)
        return;  // cancelled meanwhile: the dialog has already ended
    m_bConnected = false;
    CloseFileAndCleanup();
    m_host.EndDialog(kJobDialogOK);
}

// ---- polling ---------------------------------------------------------------

void PAPDownloadEngine::PumpAndSleep()
{
    m_host.PumpMessages();
    PollStatus();
    m_host.Sleep(kJobPumpSleepMs);
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

    const bool last = n < kPAPChunkSize;
    IssueWrite(n, last);
    if (last) {
        m_pFile.reset();
        m_nState = JS_LASTWRITE;
    }
    if (n > 0)
        m_nBytesSent = static_cast<int32_t>(std::min<int64_t>(int64_t{m_nBytesSent} + n, INT32_MAX));
}

void PAPDownloadEngine::UpdateProgress()
{
    m_progress.ShowBytesSent(m_nBytesSent);
    if (m_nFileSize > 0) {
        const double percent = static_cast<double>(m_nBytesSent) * 100.0 / static_cast<double>(m_nFileSize);
        if (percent <= 100.0)
            m_progress.SetProgress(static_cast<int>(percent));
    }
}

// ---- the end ---------------------------------------------------------------

void PAPDownloadEngine::CloseFileAndCleanup()
{
    m_pFile.reset();
    Cleanup();
}
