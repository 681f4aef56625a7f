#include "trace.h"

namespace atsvc {

using nlohmann::json;

namespace {

std::string Dump(const json& j)
{
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

constexpr std::size_t kMaxField = 256;

}  // namespace

json TraceCopy(const json& head)
{
    json in = json::object();
    std::size_t fields = 0;
    for (auto it = head.begin(); it != head.end(); ++it) {
        if (it.key() == "id" || it.key() == "op")
            continue;
        if (++fields > 16 || it.key().size() > 64) {
            in["truncated"] = true;
            continue;
        }
        if (it->is_string() && it->get_ref<const std::string&>().size() > kMaxField)
            in[it.key()] = it->get_ref<const std::string&>().substr(0, kMaxField) + "...";
        else if (it->is_structured() && Dump(*it).size() > kMaxField)
            in[it.key()] = std::to_string(Dump(*it).size()) + " bytes";
        else
            in[it.key()] = *it;
    }
    return in;
}

Trace::Trace(const std::string& path)
{
    if (!path.empty())
        file_ = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
}

void Trace::Write(json line, int64_t sinceStartMs)
{
    if (!file_ || full_)
        return;
    line["t"] = sinceStartMs;
    std::string text = Dump(line);
    if (text.size() > kMaxLine) {
        for (const char* big : {"in", "out"})
            if (line.contains(big))
                line[big] = {{"truncated", Dump(line[big]).size()}};
        line["truncated"] = true;
        text = Dump(line);
        if (text.size() > kMaxLine)
            text = Dump({{"event", "line too long"}, {"bytes", text.size()}, {"t", sinceStartMs}});
    }
    if (written_ + text.size() + 1 > limit_) {
        full_ = true;
        text = Dump({{"event", "trace full"}, {"limit", limit_}, {"t", sinceStartMs}});
    }
    *file_ << text << '\n';
    file_->flush();
    written_ += text.size() + 1;
}

}  // namespace atsvc
