// The device behind a simulated printer's PAP side: what it makes of the
// jobs it is sent. The PAP side (pap_printers.cpp) owns connections, queues,
// status and the spool; a model sees each job's bytes as they arrive and
// answers on the back channel when the job ends. A new kind of printer is a
// new PrinterModel and a case in MakePrinterModel.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "world.h"

namespace simnet {

// The printer's answer to one job, read by the client through PAP reads:
// bytes as the model sends them, then the EOF. A model may fill it at once
// or later (from Tick); once the connection is gone it is written to no one.
class ReplyStream {
public:
    void Send(std::string_view bytes);
    // The EOF, after `last` (the EOF then comes with the last bytes).
    void End(std::string_view last = {});

    // ---- the PAP side ----
    bool Ended() const { return ended_; }
    std::string& Pending() { return pending_; }
    // Told whenever bytes or the EOF arrive.
    void OnChange(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    std::string pending_;
    bool ended_ = false;
    std::function<void()> changed_;
};

// One job as it ended.
struct JobEnd {
    int32_t connRef = 0;
    bool eof = false;          // false: cut off (closed, timed out, too large)
    uint64_t bytes = 0;
    std::string spoolPath;     // where its bytes are; empty when jobs are not kept
};

// What a model may do to its printer beyond answering.
class PrinterHost {
public:
    virtual ~PrinterHost() = default;
    virtual const atw::Printer& Record() const = 0;
    // Registers the printer under a new NBP object name; false when refused.
    virtual bool Rename(const std::string& object) = 0;
    // Replaces what the printer keeps across jobs and restarts of the
    // service (atw::Printer::persistent).
    virtual void SetPersistent(std::vector<std::string> kept) = 0;
    // A line for the trace about this printer's work.
    virtual void Event(nlohmann::json event) = 0;
};

class PrinterModel {
public:
    virtual ~PrinterModel() = default;
    // The bytes of the job in progress, in order, as they arrive.
    virtual void JobData(std::string_view bytes) = 0;
    // The job ended. A job that ended with EOF gets the printer's answer
    // through `reply` (ended by reply->End(), now or later); a job cut off
    // gets none (`reply` is null).
    virtual void JobEnded(const JobEnd& job, PrinterHost& host, std::shared_ptr<ReplyStream> reply) = 0;
    // The connection closed: work still running for it can stop.
    virtual void ConnectionClosed(int32_t /*connRef*/) {}
    virtual void Tick(int64_t /*nowMs*/) {}
    virtual int64_t NextDeadline() const { return -1; }
    // The printer's status when the model knows better than the PAP side
    // (a job still printing after its end of file, a printer error);
    // nothing: the world's idle, waiting or busy string.
    virtual std::optional<std::string> Status() const { return std::nullopt; }
};

// The model a printer of the world file asks for. `host` outlives it;
// `spoolDir` is the service's spool folder (empty when jobs are not kept).
std::unique_ptr<PrinterModel> MakePrinterModel(const atw::Printer& printer, PrinterHost& host,
                                               const std::string& spoolDir);

}  // namespace simnet
