// A simulated LaserWriter behind the engine's stack interface, on a virtual
// clock: opens complete after a delay (or are refused, or wait until
// cancelled), writes collect the job's bytes and a write with EOF ends the
// job and queues the printer's reply, the one outstanding read returns the
// reply in pieces with EOF on the last, status answers at once, close ends
// the outstanding read. Every request is recorded as it was issued, and
// every block allocated and freed is counted.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "pap_block.h"
#include "pap_stack.h"

class FakeLaserWriter : public PapStack {
public:
    // One request as the engine dispatched it.
    struct Request {
        int32_t command = 0;
        int64_t at = 0;          // virtual time in ms
        int32_t completion = -1; // +0x24
        int32_t param44 = -1;    // +0x2C
        int32_t requestId = 0;   // cancel: the target
        int32_t connRef = 0;
        int32_t length = 0;
        bool eof = false;
        uint8_t quantum = 0;
        std::string printer;     // object name (open, status)
        std::string data;        // write: the bytes sent
        int32_t issuedId = 0;    // open, status: the identifier given
        bool readOutstanding = false;  // a read was waiting when this was issued
    };

    // Behaviour.
    int64_t openDelayMs = 0;
    bool openRefused = false;     // the open fails with -1028 after the delay
    bool openNeverEnds = false;   // the open waits until cancelled
    int64_t writeDelayMs = 0;
    int64_t replyDelayMs = 0;     // from the EOF write to the reply
    int64_t closeDelayMs = 0;
    bool closeEndsReadFirst = true;  // the outstanding read ends with -1105 at the close
    std::vector<std::string> replies;  // reply to job n (default: none, a bare EOF)
    std::string statusText = "status: busy; source: AppleTalk";
    int64_t statusDelayMs = 0;
    int32_t statusResult = 0;     // nonzero: every status request fails so
    int failWriteNumber = 0;      // the nth write (1-based) fails with -1096
    int failReadNumber = 0;       // the nth read fails with -1096
    bool allocFails = false;
    bool ignoreCancels = false;   // a cancel that never completes
    int32_t readLengthLie = -1;   // >= 0: every read reports this length, whatever it carried

    // Advances the virtual clock, completing what falls due.
    void Advance(int64_t ms);
    int64_t NowMs() const { return now_; }

    // PapStack.
    int32_t Dispatch(void* block) override;
    int32_t Alloc(void** block, uint32_t size) override;
    int32_t Free(void* block) override;
    int32_t GetDefaultPrinter(_NBPTuple* printer) override;
    std::optional<_NBPTuple> defaultPrinter;

    // What happened.
    const std::vector<Request>& Requests() const { return requests_; }
    std::vector<Request> RequestsOf(int32_t command) const;
    const std::vector<std::string>& Jobs() const { return jobs_; }  // jobs ended by EOF
    std::string CurrentJob() const { return job_; }
    int allocations = 0;
    int frees = 0;
    uint32_t lastAllocSize = 0;
    int LiveBlocks() const { return static_cast<int>(live_.size()); }
    // Requests still pending in blocks that were freed (detached).
    int detached = 0;

private:
    static constexpr int64_t kNever = INT64_MAX;
    struct Pending {
        PAPParamBlock* block = nullptr;
        int32_t command = 0;
        int64_t due = kNever;   // kNever: waits for an event
        int32_t id = 0;         // open/status: its identifier; cancel: the target
        int32_t forced = 1;     // a result decided in advance (1 = none)
        std::string data;       // write: the bytes
        bool eof = false;       // write: the EOF flag
    };
    struct Reply {
        std::string bytes;
        int64_t due = 0;
    };
    // Completes `p` if it is due; true when it did.
    bool TryComplete(Pending& p);
    void EndJob();

    int64_t now_ = 0;
    int32_t nextId_ = 100;
    int32_t connRef_ = 0;      // the open connection, 0 none
    int writes_ = 0, reads_ = 0;
    std::string job_;
    std::vector<std::string> jobs_;
    std::deque<Reply> replyQueue_;  // one entry per ended job, read in order
    std::vector<Pending> pending_;
    std::vector<Request> requests_;
    std::set<void*> live_;
    std::map<void*, uint32_t> sizes_;
};
