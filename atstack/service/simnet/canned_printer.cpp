#include "canned_printer.h"

#include <algorithm>

namespace simnet {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The whitespace-separated token that ends just before `at`.
std::string TokenBefore(const std::string& s, std::size_t at)
{
    std::size_t end = at;
    while (end > 0 && IsSpace(s[end - 1]))
        --end;
    std::size_t begin = end;
    while (begin > 0 && !IsSpace(s[begin - 1]))
        --begin;
    return s.substr(begin, end - begin);
}

}  // namespace

void CannedPrinter::JobData(std::string_view bytes)
{
    if (head_.size() < kHeadBytes)
        head_.append(bytes.substr(0, kHeadBytes - head_.size()));
    // Each rule's text is looked for in the new bytes together with the end
    // of the earlier ones, so a match split across two writes counts.
    const auto& rules = printer_.replies;
    matched_.resize(rules.size(), false);
    std::size_t longest = 0;
    for (const auto& r : rules)
        longest = std::max(longest, r.contains.size());
    std::string window = tail_;
    window.append(bytes);
    for (std::size_t i = 0; i < rules.size(); ++i)
        if (!matched_[i] && window.find(rules[i].contains) != std::string::npos)
            matched_[i] = true;
    const std::size_t keep = longest > 0 ? longest - 1 : 0;
    tail_ = window.size() > keep ? window.substr(window.size() - keep) : window;
}

void CannedPrinter::JobEnded(const JobEnd& job, PrinterHost& host, std::shared_ptr<ReplyStream> reply)
{
    (void)job;
    const std::string answer = Answer(host);
    Reset();
    if (!reply)
        return;
    reply->Send(answer);
    reply->End();
}

void CannedPrinter::Reset()
{
    head_.clear();
    matched_.clear();
    tail_.clear();
}

std::string CannedPrinter::Answer(PrinterHost& host)
{
    const std::string& job = head_;
    std::string prefix;
    const std::size_t exitAt = job.find("exitserver");
    const std::size_t dictAt = job.find("serverdict");
    if (exitAt != std::string::npos && dictAt != std::string::npos && dictAt < exitAt) {
        if (TokenBefore(job, exitAt) != printer_.password)
            return "%%[ Error: invalidaccess; OffendingCommand: exitserver ]%%\r\n"
                   "%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n";
        prefix = "%%[ exitserver: permanent state may be changed ]%%\r\n";
        const std::size_t setAt = job.find("setprintername", exitAt);
        if (setAt != std::string::npos) {
            const std::size_t close = job.rfind(')', setAt);
            const std::size_t open = close == std::string::npos ? std::string::npos : job.rfind('(', close);
            if (open != std::string::npos && open > exitAt) {
                const std::string name = job.substr(open + 1, close - open - 1);
                if (!host.Rename(name))
                    return prefix +
                           "%%[ Error: rangecheck; OffendingCommand: setprintername ]%%\r\n"
                           "%%[ Flushing: rest of job (to end-of-file) will be ignored ]%%\r\n";
            }
        }
    }
    // Empty rules match every job.
    matched_.resize(printer_.replies.size(), false);
    for (std::size_t i = 0; i < printer_.replies.size(); ++i)
        if (matched_[i] || printer_.replies[i].contains.empty())
            return prefix + printer_.replies[i].reply;
    return prefix + printer_.reply;
}

}  // namespace simnet
