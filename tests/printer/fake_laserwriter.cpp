#include "fake_laserwriter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "nbp_names.h"

namespace {

constexpr int32_t kConnRef = 7;
constexpr int32_t kErrRefused = -1096;
constexpr int32_t kErrNoPrinter = -1028;
constexpr int32_t kErrCancelled = -1105;
constexpr int32_t kErrBad = -1;

}  // namespace

int32_t FakeLaserWriter::Alloc(void** block, uint32_t size)
{
    *block = nullptr;
    if (allocFails)
        return -1;
    void* p = std::calloc(1, size == 0 ? kPAPParamBlockSize : size);
    if (!p)
        return -1;
    // Garbage, so that an engine relying on the allocator to zero the
    // block would be caught; the stack promises zero-filled memory, but
    // the engine zero-fills its block itself.
    std::memset(p, 0xA5, size);
    *block = p;
    live_.insert(p);
    sizes_[p] = size;
    ++allocations;
    lastAllocSize = size;
    return 0;
}

int32_t FakeLaserWriter::Free(void* block)
{
    if (!live_.count(block))
        return -1;
    const auto* lo = static_cast<const char*>(block);
    const auto* hi = lo + sizes_[block];
    auto inside = [&](const Pending& p) {
        const auto* c = reinterpret_cast<const char*>(p.block);
        return c >= lo && c < hi;
    };
    const auto before = pending_.size();
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(), inside), pending_.end());
    detached += static_cast<int>(before - pending_.size());
    live_.erase(block);
    sizes_.erase(block);
    std::free(block);
    ++frees;
    return 0;
}

int32_t FakeLaserWriter::GetDefaultPrinter(_NBPTuple* printer)
{
    if (!defaultPrinter)
        return -1;
    *printer = *defaultPrinter;
    return 0;
}

int32_t FakeLaserWriter::Dispatch(void* block)
{
    auto* b = static_cast<PAPParamBlock*>(block);
    Request r;
    r.command = b->Command();
    r.at = now_;
    r.completion = b->header.completion;
    r.param44 = b->header.param44;
    r.requestId = b->requestId;
    r.connRef = b->connRef;
    r.length = b->length;
    r.eof = b->Eof();
    r.quantum = b->flowQuantum;
    r.readOutstanding = std::any_of(pending_.begin(), pending_.end(),
                                    [](const Pending& q) { return q.command == kPAPRead; });

    Pending p;
    p.block = b;
    p.command = r.command;
    p.due = now_;
    switch (r.command) {
    case kPAPOpen:
        r.printer = NBPSlotText(b->printer.object);
        b->requestId = p.id = r.issuedId = nextId_++;
        p.due = openNeverEnds ? kNever : now_ + openDelayMs;
        break;
    case kPAPStatus:
        r.printer = NBPSlotText(b->printer.object);
        b->requestId = p.id = r.issuedId = nextId_++;
        p.due = now_ + statusDelayMs;
        break;
    case kPAPWrite:
        if (b->connRef != connRef_ || connRef_ == 0 || b->length < 0 || b->length > kPAPChunkSize) {
            p.forced = kErrBad;
        } else {
            r.data.assign(static_cast<const char*>(b->DataBuffer()), static_cast<std::size_t>(b->length));
            p.data = r.data;
            p.eof = r.eof;
            if (++writes_ == failWriteNumber)
                p.forced = kErrRefused;
        }
        p.due = now_ + writeDelayMs;
        break;
    case kPAPRead:
        if (b->connRef != connRef_ || connRef_ == 0 || b->length <= 0)
            p.forced = kErrBad;
        else if (++reads_ == failReadNumber)
            p.forced = kErrRefused;
        else
            p.due = kNever;  // until a reply is there
        break;
    case kPAPClose:
        if (b->connRef != connRef_ || connRef_ == 0)
            p.forced = kErrBad;
        p.due = now_ + closeDelayMs;
        if (closeEndsReadFirst)
            for (auto& q : pending_)
                if (q.command == kPAPRead) {
                    q.forced = kErrCancelled;
                    q.due = now_;
                }
        break;
    case kPAPCancel:
        p.id = b->requestId;
        p.due = ignoreCancels ? kNever : now_;
        break;
    default:
        p.forced = kErrBad;
        break;
    }
    requests_.push_back(r);
    b->SetResult(kATResultPending);
    pending_.push_back(std::move(p));
    return 0;
}

void FakeLaserWriter::Advance(int64_t ms)
{
    now_ += ms;
    for (bool progress = true; progress;) {
        progress = false;
        for (std::size_t i = 0; i < pending_.size(); ++i) {
            Pending p = pending_[i];
            if (TryComplete(p)) {
                // Completing may have removed other entries (a cancel).
                auto it = std::find_if(pending_.begin(), pending_.end(),
                                       [&](const Pending& q) { return q.block == p.block && q.command == p.command; });
                if (it != pending_.end())
                    pending_.erase(it);
                progress = true;
                break;
            }
        }
    }
}

bool FakeLaserWriter::TryComplete(Pending& p)
{
    PAPParamBlock* b = p.block;
    if (p.command == kPAPRead && p.forced == 1) {
        if (replyQueue_.empty() || replyQueue_.front().due > now_)
            return false;
        Reply& reply = replyQueue_.front();
        const std::size_t n = std::min<std::size_t>(reply.bytes.size(), static_cast<std::size_t>(b->length));
        std::memcpy(b->DataBuffer(), reply.bytes.data(), n);
        reply.bytes.erase(0, n);
        b->length = readLengthLie >= 0 ? readLengthLie : static_cast<int32_t>(n);
        b->SetEof(reply.bytes.empty());
        if (reply.bytes.empty())
            replyQueue_.pop_front();
        b->SetResult(0);
        return true;
    }
    if (p.due > now_)
        return false;
    if (p.forced != 1) {
        b->SetResult(p.forced);
        return true;
    }
    switch (p.command) {
    case kPAPOpen:
        if (openRefused) {
            b->SetResult(kErrNoPrinter);
        } else {
            connRef_ = kConnRef;
            b->connRef = kConnRef;
            b->SetResult(0);
        }
        return true;
    case kPAPStatus:
        if (statusResult == 0)
            b->SetStatusString(statusText.c_str());
        b->SetResult(statusResult);
        return true;
    case kPAPWrite:
        job_ += p.data;
        if (p.eof)
            EndJob();
        b->SetResult(0);
        return true;
    case kPAPClose:
        for (auto& q : pending_)
            if (q.command == kPAPRead) {
                q.forced = kErrCancelled;
                q.due = now_;
            }
        if (!job_.empty())
            EndJob();
        connRef_ = 0;
        b->SetResult(0);
        return true;
    case kPAPCancel: {
        auto target = std::find_if(pending_.begin(), pending_.end(), [&](const Pending& q) {
            return (q.command == kPAPOpen || q.command == kPAPStatus) && q.id == p.id;
        });
        if (target != pending_.end()) {
            target->block->SetResult(kErrCancelled);
            pending_.erase(target);
        }
        b->SetResult(0);
        return true;
    }
    default:
        b->SetResult(kErrBad);
        return true;
    }
}

void FakeLaserWriter::EndJob()
{
    const std::size_t n = jobs_.size();
    jobs_.push_back(job_);
    job_.clear();
    replyQueue_.push_back({n < replies.size() ? replies[n] : std::string(), now_ + replyDelayMs});
}

std::vector<FakeLaserWriter::Request> FakeLaserWriter::RequestsOf(int32_t command) const
{
    std::vector<Request> out;
    for (const auto& r : requests_)
        if (r.command == command)
            out.push_back(r);
    return out;
}
