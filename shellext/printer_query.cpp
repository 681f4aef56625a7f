#include "printer_query.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/install_folder.h"
#include "fx/module.h"
#include "kestra32.h"
#include "message_pump.h"
#include "molven32.h"
#include "nbp_names.h"
#include "printer_info.h"
#include "resource.h"

namespace {

constexpr unsigned kLongPollMs = 100;   // lookups, the open, writes
constexpr unsigned kShortPollMs = 40;   // the answer, the close
constexpr char kNBPWildcard = static_cast<char>(0xC5);
constexpr char kCtrlD = 4;

// "PInfo.ps" in the installation folder, or in the folder of this module
// when the installation folder is not known (no key, or a key without a
// readable "Path").
std::string CustomQueryPath()
{
    std::optional<std::string> folder = FindInstallFolder();
    if (!folder) {
        char path[MAX_PATH];
        const DWORD n = GetModuleFileNameA(AfxGetInstanceHandle(), path, sizeof path);
        if (n == 0 || n >= sizeof path)
            return std::string();
        const std::string module(path, n);
        const std::size_t slash = module.rfind('\\');
        if (slash == std::string::npos)
            return std::string();
        folder = module.substr(0, slash + 1);
    }
    return *folder + "PInfo.ps";
}

}  // namespace

// MPPAlloc'd: the stack writes into these until they are given back.
struct CPrinterQuery::Blocks {
    PAPParamBlock write, open, read, close;
    char readBuffer[kPAPChunkSize];
    char writeBuffer[kPAPChunkSize];
};

CPrinterQuery::CPrinterQuery(CPrinterInfoObj* record, HWND textBox) : m_pRecord(record), m_hTextBox(textBox) {}

CPrinterQuery::~CPrinterQuery()
{
    if (m_pBlocks != nullptr) {
        EndConnection(false);
        FreeBlocks();
    }
}

void CPrinterQuery::Run()
{
    const auto self = shared_from_this();  // alive through every nested pump
    m_reply.clear();
    ShowStatus(IDS_OPENING_PRINTER);
    void* memory = nullptr;
    if (MPPAlloc(&memory, sizeof(Blocks)) != 0 || memory == nullptr) {
        ShowStatus(IDS_PRINTER_NOT_FOUND);
        return;
    }
    m_pBlocks = static_cast<Blocks*>(memory);
    m_bRunning = true;
    RunSteps();
    m_bRunning = false;
    FreeBlocks();
}

void CPrinterQuery::RunSteps()
{
    Step step = m_pRecord->GetNameAt(0).find('_') != std::string::npos ? ResolveName() : Step::Done;
    if (step == Step::Done)
        step = Open();
    if (step == Step::Stopped)
        return;
    if (step == Step::Failed) {
        ShowStatus(IDS_PRINTER_NOT_FOUND);
        return;
    }

    PostRead();
    step = SendJob();
    if (step == Step::Done) {
        step = Write(0, true);
    }
    if (step == Step::Done) {
        ShowStatus(IDS_WAITING_FOR_REPLY);
        step = WaitForReply();
    }
    if (step == Step::Stopped)
        return;
    if (step == Step::Done) {
        // The answer stays on show, also when a status text replaced it
        // after it arrived.
        if (!m_bReplyOnShow && !m_shownReply.empty())
            ShowText(m_shownReply);
        else if (m_bReadFailed && m_shownReply.empty())
            ShowStatus(IDS_REPLY_FAILED);
    }
    EndConnection(true);
}

void CPrinterQuery::Stop()
{
    if (m_bStopped)
        return;
    m_bStopped = true;
    if (m_pRecord != nullptr)
        m_pRecord->m_lookups.EndAll();
    EndConnection(false);
    // A running query gives its blocks back as it returns.
    if (!m_bRunning)
        FreeBlocks();
    m_pRecord = nullptr;
    m_hTextBox = nullptr;
}

CPrinterQuery::Step CPrinterQuery::ResolveName()
{
    // The name as it is, then twice with every "_" as the NBP wildcard.
    NameLookups& lookups = m_pRecord->m_lookups;
    const std::string object = m_pRecord->GetNameAt(0);
    std::string wildcard = object;
    std::replace(wildcard.begin(), wildcard.end(), '_', kNBPWildcard);
    bool started = false;
    for (int slot = 0; slot < 3; ++slot) {
        lookups.End(slot);
        lookups.tuple[slot] =
            new _NBPTuple(NBPMakeTuple(slot == 0 ? object : wildcard, m_pRecord->GetNameAt(2), m_pRecord->GetNameAt(1)));
        NBPSetEntityName(lookups.tuple[slot], nullptr, nullptr, nullptr);
        if (NBPOpenEnum(&lookups.handle[slot], 2, 2, 1, lookups.tuple[slot]) == 0) {
            started = true;
        } else {
            lookups.handle[slot] = 0;
            lookups.End(slot);
        }
    }
    if (!started)
        return Step::Failed;
    for (;;) {
        const int found = PollLookups();
        if (found > 0)
            return Step::Done;
        if (found < 0)
            return Step::Failed;
        if (!Pause(kLongPollMs))
            return Step::Stopped;
    }
}

int CPrinterQuery::PollLookups()
{
    NameLookups& lookups = m_pRecord->m_lookups;
    for (int slot = 0; slot < 3; ++slot) {
        if (lookups.handle[slot] == 0)
            continue;
        const int32_t status = NBPEnumStatus(lookups.handle[slot]);
        if (status == kATResultPending)
            return 0;
        if (status == kATResultDone) {
            // Found under the wildcard name: the connection asks for that.
            if (slot > 0)
                m_pRecord->m_names[0] = NBPSlotText(lookups.tuple[slot]->object);
            lookups.EndAll();
            return 1;
        }
        lookups.End(slot);
    }
    return -1;
}

CPrinterQuery::Step CPrinterQuery::Open()
{
    PAPParamBlock& open = m_pBlocks->open;
    std::memset(&open, 0, sizeof open);
    open.printer = NBPMakeTuple(m_pRecord->GetNameAt(0), m_pRecord->GetNameAt(2), m_pRecord->GetNameAt(1));
    open.flowQuantum = kPAPFlowQuantum;
    open.SetStatusString("");
    open.BeginRequest(kPAPOpen);
    m_connection = Connection::Opening;
    ATALKDispatch(&open);
    while (open.Result() > 0)
        if (!Pause(kLongPollMs))
            return Step::Stopped;
    if (open.Result() < 0) {
        m_connection = Connection::None;
        return Step::Failed;
    }
    m_connection = Connection::Open;
    return Step::Done;
}

void CPrinterQuery::PostRead()
{
    DispatchData(m_pBlocks->read, kPAPRead, m_pBlocks->readBuffer, kPAPChunkSize, false);
}

void CPrinterQuery::DispatchData(PAPParamBlock& block, PAPCommand command, char* buffer, int32_t length, bool eof)
{
    block.connRef = m_pBlocks->open.connRef;
    block.SetDataBuffer(buffer);
    block.length = length;
    block.SetEof(eof);
    block.BeginRequest(command);
    ATALKDispatch(&block);
}

void CPrinterQuery::CollectReplies()
{
    if (m_bEndOfReply || m_bReadFailed)
        return;  // no read outstanding
    const PAPParamBlock& read = m_pBlocks->read;
    const int32_t result = read.Result();
    if (result == kATResultPending)
        return;
    if (result < 0) {
        // The printer or the connection failed: no more answer comes.
        m_bReadFailed = true;
        return;
    }
    m_bEndOfReply = read.Eof();
    const std::size_t length = static_cast<std::size_t>(std::clamp<int32_t>(read.length, 0, kPAPChunkSize));
    if (length == 0)
        m_reply.clear();
    else
        m_reply.append(m_pBlocks->readBuffer, std::min(length, kMaxReply - m_reply.size()));
    if (!m_bEndOfReply)
        PostRead();
    if (length > 0 && !m_reply.empty()) {
        ShowText(m_reply);
        m_shownReply = m_reply;
        m_bReplyOnShow = true;
    }
}

CPrinterQuery::Step CPrinterQuery::SendJob()
{
    const std::string path = CustomQueryPath();
    FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return SendBuiltInQuery();
    const Step step = SendCustomFile(file);
    std::fclose(file);
    return step;
}

CPrinterQuery::Step CPrinterQuery::SendCustomFile(FILE* file)
{
    for (;;) {
        char* chunk = m_pBlocks->writeBuffer;
        const std::size_t n = std::fread(chunk, 1, kPAPChunkSize, file);
        if (n == 0)
            return Step::Done;
        // A Ctrl-D would end the job on a printer that reads a serial line.
        if (chunk[0] == kCtrlD)
            chunk[0] = ' ';
        const Step step = SendChunk(n, IDS_SENDING_CUSTOM_QUERY);
        if (step != Step::Done)
            return step;
    }
}

CPrinterQuery::Step CPrinterQuery::SendBuiltInQuery()
{
    HMODULE module = AfxGetResourceHandle();
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDR_PRINTER_QUERY), "PSFILE");
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const auto* text = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (text == nullptr)
        return Step::Failed;
    // The text ends at its NUL or at the end of the resource.
    const std::size_t size = strnlen(text, SizeofResource(module, resource));
    for (std::size_t at = 0; at < size; at += kPAPChunkSize) {
        const std::size_t n = std::min<std::size_t>(kPAPChunkSize, size - at);
        std::memcpy(m_pBlocks->writeBuffer, text + at, n);
        const Step step = SendChunk(n, IDS_SENDING_STOCK_QUERY);
        if (step != Step::Done)
            return step;
    }
    return Step::Done;
}

CPrinterQuery::Step CPrinterQuery::SendChunk(std::size_t length, UINT announcement)
{
    ShowStatus(announcement);
    return Write(static_cast<int32_t>(length), false);
}

CPrinterQuery::Step CPrinterQuery::Write(int32_t length, bool eof)
{
    const PAPParamBlock& write = m_pBlocks->write;
    DispatchData(m_pBlocks->write, kPAPWrite, m_pBlocks->writeBuffer, length, eof);
    ShowStatus(IDS_WAITING_FOR_REPLY);
    while (write.Result() == kATResultPending) {
        CollectReplies();
        if (!Pause(kLongPollMs))
            return Step::Stopped;
    }
    if (write.Result() < 0) {
        ShowStatus(IDS_WRITE_FAILED);
        return Step::Failed;
    }
    return Step::Done;
}

CPrinterQuery::Step CPrinterQuery::WaitForReply()
{
    for (;;) {
        CollectReplies();
        if (m_bEndOfReply || m_bReadFailed)
            return Step::Done;
        if (!Pause(kShortPollMs))
            return Step::Stopped;
    }
}

void CPrinterQuery::EndConnection(bool wait)
{
    if (m_pBlocks == nullptr)
        return;
    PAPParamBlock& end = m_pBlocks->close;
    if (m_connection == Connection::Opening) {
        end.requestId = m_pBlocks->open.requestId;
        end.BeginRequest(kPAPCancel);
    } else if (m_connection == Connection::Open) {
        end.connRef = m_pBlocks->open.connRef;
        end.BeginRequest(kPAPClose);
    } else {
        return;  // none, or already ending
    }
    m_connection = Connection::Closing;
    ATALKDispatch(&end);
    if (!wait)
        return;
    while (end.Result() == kATResultPending)
        if (!Pause(kShortPollMs))
            return;
    m_connection = Connection::Closed;
}

void CPrinterQuery::FreeBlocks()
{
    if (m_pBlocks != nullptr)
        MPPFree(m_pBlocks);  // late answers to its requests now write nowhere
    m_pBlocks = nullptr;
}

bool CPrinterQuery::Pause(unsigned ms)
{
    PumpShellMessages();
    if (m_bStopped)
        return false;
    SleepEx(ms, FALSE);
    return true;
}

void CPrinterQuery::ShowStatus(UINT id)
{
    ShowText(FxLoadString(id));
    m_bReplyOnShow = false;
}

void CPrinterQuery::ShowText(const std::string& text)
{
    if (m_hTextBox != nullptr)
        SetWindowTextA(m_hTextBox, text.c_str());
}
