// atnetd's trace: one JSON object per line, in the order things happened,
// each stamped with `t`, the milliseconds since the service started. Its
// size is bounded: a line longer than kMaxLine keeps its fields but not
// their contents ("truncated"), and once the file reaches its limit one
// last line says so and nothing more is written.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

namespace atsvc {

constexpr uint64_t kDefaultTraceLimit = 256ull << 20;

class Trace {
public:
    static constexpr std::size_t kMaxLine = 16u << 10;

    // An empty path keeps no trace. The file starts empty.
    explicit Trace(const std::string& path);
    void Limit(uint64_t bytes) { limit_ = bytes; }
    bool Enabled() const { return file_ && !full_; }
    // Each line is in the file when Write returns: whoever holds an answer
    // finds its line there.
    void Write(nlohmann::json line, int64_t sinceStartMs);

private:
    std::unique_ptr<std::ofstream> file_;
    uint64_t limit_ = kDefaultTraceLimit;
    uint64_t written_ = 0;
    bool full_ = false;
};

// A request's fields as the trace keeps them while it waits: at most 16
// fields, long texts and nested values cut short, so a waiting request costs
// little whatever its sender put in it.
nlohmann::json TraceCopy(const nlohmann::json& head);

}  // namespace atsvc
