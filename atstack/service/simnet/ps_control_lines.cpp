#include "ps_control_lines.h"

#include <algorithm>

namespace simnet {

ControlLines::ControlLines(std::string marker, Data data, Line line)
    : marker_(std::move(marker)), data_(std::move(data)), line_(std::move(line))
{
}

void ControlLines::Feed(std::string_view bytes)
{
    std::string buf = std::move(carry_);
    carry_.clear();
    buf.append(bytes);
    std::size_t pos = 0;
    while (pos < buf.size()) {
        const std::size_t at = buf.find(marker_, pos);
        if (at == std::string::npos) {
            // Keep back a tail that may be the start of a marker.
            std::size_t keep = std::min(buf.size() - pos, marker_.size() - 1);
            while (keep > 0 && buf.compare(buf.size() - keep, keep, marker_, 0, keep) != 0)
                --keep;
            if (buf.size() - keep > pos)
                data_(std::string_view(buf).substr(pos, buf.size() - keep - pos));
            carry_ = buf.substr(buf.size() - keep);
            return;
        }
        if (at > pos)
            data_(std::string_view(buf).substr(pos, at - pos));
        const std::size_t text = at + marker_.size();
        const std::size_t end = buf.find('\n', text);
        if (end == std::string::npos) {
            if (buf.size() - at <= marker_.size() + kMaxLine) {
                carry_ = buf.substr(at);
                return;
            }
            data_(std::string_view(buf).substr(at));  // too long to be ours
            return;
        }
        if (end - text <= kMaxLine)
            line_(std::string_view(buf).substr(text, end - text));
        else
            data_(std::string_view(buf).substr(at, end + 1 - at));
        pos = end + 1;
    }
}

}  // namespace simnet
