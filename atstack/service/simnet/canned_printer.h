// The printer of the world file that interprets nothing: it answers each
// job with the reply its description gives (the first `replies` rule whose
// text occurs in the job, else `reply`), and knows the LaserWriter's server
// loop well enough for a rename job: `serverdict begin PASSWORD exitserver`
// with the printer's password, then `(NAME) setprintername`.
#pragma once

#include <string>
#include <vector>

#include "printer_model.h"

namespace simnet {

class CannedPrinter : public PrinterModel {
public:
    explicit CannedPrinter(const atw::Printer& printer) : printer_(printer) {}
    void JobData(std::string_view bytes) override;
    void JobEnded(const JobEnd& job, PrinterHost& host, std::shared_ptr<ReplyStream> reply) override;
    void ConnectionClosed(int32_t) override { Reset(); }

    // The server loop is looked for in the job's first bytes only, as a
    // LaserWriter takes exitserver only at the start of a job.
    static constexpr std::size_t kHeadBytes = 1u << 20;

private:
    std::string Answer(PrinterHost& host);
    void Reset();

    const atw::Printer& printer_;
    std::string head_;               // the job's first kHeadBytes
    std::vector<bool> matched_;      // per reply rule: its text occurred
    std::string tail_;               // the end of the data seen, for matches across chunks
};

}  // namespace simnet
