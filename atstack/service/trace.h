// atnetd's trace: one JSON object per line, in the order things happened,
// each stamped with `t`, the milliseconds since the service started.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

namespace atsvc {

class Trace {
public:
    // An empty path keeps no trace. The file starts empty.
    explicit Trace(const std::string& path);
    void Write(nlohmann::json line, int64_t sinceStartMs);

private:
    std::unique_ptr<std::ofstream> file_;
};

}  // namespace atsvc
