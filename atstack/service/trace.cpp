#include "trace.h"

namespace atsvc {

Trace::Trace(const std::string& path)
{
    if (!path.empty())
        file_ = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
}

void Trace::Write(nlohmann::json line, int64_t sinceStartMs)
{
    if (!file_)
        return;
    line["t"] = sinceStartMs;
    *file_ << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    file_->flush();
}

}  // namespace atsvc
