// A printer of the world file that interprets PostScript (its "interpreter"
// field): each job runs through Ghostscript behind the LaserWriter server
// loop of laserwriter_prolog.ps, one job after the other, in a process of
// its own under the job's limits (gsrun/). What the job prints comes back
// on PAP; its pages land in the spool as PNG files; what it changes after a
// correct exitserver persists (replayed before every later job, kept in the
// state file); setprintername after exitserver renames the printer.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "ghostscript_link.h"
#include "printer_model.h"
#include "ps_control_lines.h"

namespace simnet {

class PsPrinter : public PrinterModel {
public:
    PsPrinter(PrinterHost& host, std::string spoolDir);
    ~PsPrinter() override;

    void JobData(std::string_view bytes) override;
    void JobEnded(const JobEnd& job, PrinterHost& host, std::shared_ptr<ReplyStream> reply) override;
    void Tick(int64_t nowMs) override;
    int64_t NextDeadline() const override;
    std::optional<std::string> Status() const override;

    // Bytes of a job kept for its persistent part; a job longer than this
    // keeps nothing.
    static constexpr std::size_t kKeptBytes = 1u << 20;
    // Input waiting for the jobs ahead of it, all jobs together; past this
    // a job is cut short with a limitcheck.
    static constexpr std::size_t kMaxQueuedInput = 16u << 20;

private:
    struct Job;
    Job& Receiving();
    void StartNext();
    void OnOutput(Job& job, std::string_view bytes);
    void OnControl(Job& job, std::string_view line);
    void OnEnded(Job& job, const nlohmann::json& ended);
    void Say(Job& job, const std::string& text);
    // Keeps what followed the job's exitserver; what to tell the sender.
    std::string KeepPersistent(Job& job);
    std::vector<std::string> CollectPages(Job& job);
    void Finish();
    std::size_t QueuedInput() const;

    std::string spoolDir_;
    std::shared_ptr<GhostscriptLink> link_;
    PrinterHost& host_;
    std::deque<std::unique_ptr<Job>> jobs_;  // the front one runs; the back one may still arrive
    Job* receiving_ = nullptr;
    int jobsStarted_ = 0;
    int64_t now_ = 0;
    int64_t heldUntil_ = -1;  // a job fault: the printer reports an error until then
    std::string heldError_;
};

}  // namespace simnet
