// The download engine against a simulated printer whose every behaviour
// comes from the input: delays, refusals, failures, replies, a stack that
// lies about read lengths, Cancel at any pump pass. Whatever happens, the
// dialog ends exactly once, the job block goes back to the stack exactly
// once, and a job that nothing disturbed reaches the printer byte for byte.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "download_engine.h"
#include "fake_job_host.h"
#include "fake_laserwriter.h"
#include "fuzz_target.h"
#include "nbp_names.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

class MemoryFiles : public JobFiles {
public:
    struct Reader : JobInputFile {
        explicit Reader(std::string b) : bytes(std::move(b)) {}
        int64_t Size() override { return static_cast<int64_t>(bytes.size()); }
        int32_t Read(char* buffer, int32_t count) override
        {
            const auto n = std::min<std::size_t>(static_cast<std::size_t>(count), bytes.size() - pos);
            std::copy_n(bytes.data() + pos, n, buffer);
            pos += n;
            return static_cast<int32_t>(n);
        }
        std::string bytes;
        std::size_t pos = 0;
    };
    struct Writer : JobOutputFile {
        explicit Writer(std::string& t) : target(t) {}
        bool Write(const char* data, std::size_t size) override
        {
            target.append(data, size);
            return true;
        }
        std::string& target;
    };

    std::unique_ptr<JobInputFile> OpenForReading(const std::string& path) override
    {
        auto it = files.find(path);
        if (it == files.end())
            return nullptr;
        return std::make_unique<Reader>(it->second);
    }
    std::unique_ptr<JobOutputFile> CreateResponse(const std::string& path) override
    {
        outputs[path].clear();
        return std::make_unique<Writer>(outputs[path]);
    }
    std::unique_ptr<JobOutputFile> OpenLog(const std::string& path) override
    {
        return std::make_unique<Writer>(outputs[path]);
    }

    std::map<std::string, std::string> files, outputs;
};

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size);
    FakeLaserWriter printer;
    printer.defaultPrinter = NBPMakeTuple("Fuzz LW", "LaserWriter", "*");
    printer.openDelayMs = in.Byte() * 100;
    const uint8_t flags = in.Byte();
    printer.openRefused = flags & 0x01;
    printer.openNeverEnds = flags & 0x02;
    printer.ignoreCancels = flags & 0x04;
    printer.closeEndsReadFirst = flags & 0x08;
    const bool waitForEOF = flags & 0x10;
    printer.allocFails = (flags & 0x60) == 0x60;
    if (flags & 0x80)
        printer.readLengthLie = in.Word() * 2;
    printer.writeDelayMs = in.Byte() * 50;
    printer.replyDelayMs = in.Byte() * 100;
    printer.closeDelayMs = in.Byte() * 50;
    printer.statusDelayMs = in.Byte() * 100;
    printer.failWriteNumber = in.Byte() % 16;
    printer.failReadNumber = in.Byte() % 16;
    if (in.Byte() & 1)
        printer.statusResult = -1028;
    const int cancelAtPump = in.Byte();  // 0: never

    MemoryFiles files;
    const int fileCount = 1 + in.Byte() % 3;
    ZJobTicket ticket(printer);
    ticket.m_bWaitForEOF = waitForEOF;
    std::vector<std::string> sent;
    bool missingFile = false;
    for (int i = 0; i < fileCount; ++i) {
        const uint16_t length = in.Word() % 20000;
        const std::string path = "file" + std::to_string(i);
        ticket.AddFile(path);
        if (length == 19999) {
            missingFile = true;  // a file that cannot be opened
            continue;
        }
        std::string bytes(length, '\0');
        for (auto& c : bytes)
            c = static_cast<char>(in.Byte());
        files.files[path] = bytes;
        if (!bytes.empty() && bytes[0] == '\x04')
            bytes[0] = ' ';
        sent.push_back(bytes);
    }
    for (int i = 0; i < fileCount; ++i)
        printer.replies.push_back(std::string(in.Byte() * 40, 'r'));

    FakeJobHost host(printer);
    {
        PAPDownloadEngine engine(&ticket, printer, host, files, "");
        bool runaway = false;
        host.onPump = [&] {
            if (cancelAtPump != 0 && host.pumps == cancelAtPump)
                engine.OnCancel();
            if (printer.NowMs() > 15LL * 60 * 1000 && !runaway) {
                runaway = true;
                engine.OnCancel();
            }
        };
        engine.RunJob();
        if (host.endCodes.empty())
            engine.OnCancel();  // the job stopped; the user presses Cancel

        Check(host.endCodes.size() == 1);
        Check(engine.Block() == nullptr);
        Check(!runaway || printer.openNeverEnds);
        const bool disturbed = printer.openRefused || printer.openNeverEnds || printer.allocFails ||
                               printer.failWriteNumber != 0 || printer.failReadNumber != 0 || cancelAtPump != 0 ||
                               missingFile || printer.readLengthLie >= 0;
        if (!disturbed) {
            Check(host.endCodes[0] == kJobDialogOK);
            Check(printer.Jobs() == sent);
        }
    }
    Check(printer.allocations == printer.frees);
    Check(printer.LiveBlocks() == 0);
    return 0;
}
