// The printer information query behind the printer page's "Additional
// Info:" button. It finds the printer on the network when its name holds
// "_" (which may stand for a character the name could not keep), opens a
// PAP connection, sends the query job (the installation's "PInfo.ps", else
// the built-in one), collects the printer's answer into the page's text box
// and closes the connection.
//
// It runs on the page's thread and dispatches the thread's messages between
// its polls, so the sheet stays alive; the page may be cancelled or
// destroyed from inside any of those waits. Stop then ends the lookups and
// the connection at once, and the query touches neither the page nor the
// record again. The request blocks and buffers come from the stack
// (MPPAlloc), so a late answer to a request of a stopped query writes
// nowhere once they are given back.
#pragma once

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "fx/fx_string.h"
#include "pap_block.h"

class CPrinterInfoObj;

class CPrinterQuery : public std::enable_shared_from_this<CPrinterQuery> {
public:
    // `textBox` shows the status texts and the answer (control 1061).
    CPrinterQuery(CPrinterInfoObj* record, HWND textBox);
    ~CPrinterQuery();
    CPrinterQuery(const CPrinterQuery&) = delete;
    CPrinterQuery& operator=(const CPrinterQuery&) = delete;

    // The whole query; returns when it ended or was stopped. The caller
    // holds the query in a shared_ptr (Run keeps it alive meanwhile).
    void Run();
    // The page is going or was cancelled: ends the lookups, cancels a
    // pending open or closes the connection without waiting, and forgets
    // the record and the text box. Run returns at its next poll and gives
    // the blocks back.
    void Stop();
    bool Stopped() const { return m_bStopped; }

    // The most of the answer kept and shown.
    static constexpr std::size_t kMaxReply = 4095;

private:
    enum class Step { Done, Failed, Stopped };
    enum class Connection { None, Opening, Open, Closing, Closed };

    struct Blocks;  // the four request blocks and two buffers

    void RunSteps();
    Step ResolveName();
    int PollLookups();
    Step Open();
    void PostRead();
    // Fills a read or write block for the connection and dispatches it.
    void DispatchData(PAPParamBlock& block, PAPCommand command, char* buffer, int32_t length, bool eof);
    void CollectReplies();
    Step SendJob();
    Step SendCustomFile(FILE* file);
    Step SendBuiltInQuery();
    // The first `length` bytes of the write buffer, announced by status
    // `announcement`.
    Step SendChunk(std::size_t length, UINT announcement);
    // One write of `length` bytes of the write buffer, waited for while the
    // answer is collected; a failed one shows "Unable to Write to Printer!".
    Step Write(int32_t length, bool eof);
    Step WaitForReply();
    // Cancels a pending open or closes an open connection; `wait`: until
    // the stack answered, pumping meanwhile.
    void EndConnection(bool wait);
    void FreeBlocks();

    // Pumps the thread's messages, then sleeps; false when the query was
    // stopped meanwhile (the caller then returns at once).
    bool Pause(unsigned ms);
    void ShowStatus(UINT id);
    void ShowText(const std::string& text);

    CPrinterInfoObj* m_pRecord;
    HWND m_hTextBox;
    Blocks* m_pBlocks = nullptr;
    Connection m_connection = Connection::None;
    std::string m_reply;        // the answer collected (at most kMaxReply characters)
    std::string m_shownReply;   // the answer as it was last shown
    bool m_bReplyOnShow = false;
    bool m_bEndOfReply = false;
    bool m_bReadFailed = false;
    bool m_bStopped = false;
    bool m_bRunning = false;   // Run is on the stack: it frees the blocks
};
