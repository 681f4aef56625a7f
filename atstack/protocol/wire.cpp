#include "wire.h"

#include <cstdlib>
#include <cstring>

#include "json_depth.h"
#include "latin1.h"

namespace atwire {

namespace {

void Put32(std::string& s, uint32_t v)
{
    char b[4];
    std::memcpy(b, &v, 4);
    s.append(b, 4);
}

uint32_t Get32(const std::string& s, std::size_t at)
{
    uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

}  // namespace

std::string Encode(const Message& m)
{
    const std::string head = m.head.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string out;
    out.reserve(8 + head.size() + m.blob.size());
    Put32(out, static_cast<uint32_t>(4 + head.size() + m.blob.size()));
    Put32(out, static_cast<uint32_t>(head.size()));
    out += head;
    out += m.blob;
    return out;
}

Decoder::Status Decoder::Next(Message& out)
{
    if (!error_.empty())
        return Status::Error;
    if (pos_ > 0 && pos_ * 2 > buffer_.size()) {
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
    if (buffer_.size() - pos_ < 8)
        return Status::NeedMore;
    const uint32_t total = Get32(buffer_, pos_);
    const uint32_t headLen = Get32(buffer_, pos_ + 4);
    if (total < 4 || total > kMaxFrame) {
        error_ = "frame length " + std::to_string(total) + " out of range";
        return Status::Error;
    }
    if (headLen > total - 4 || headLen > kMaxHead || headLen < 2) {
        error_ = "head length " + std::to_string(headLen) + " out of range";
        return Status::Error;
    }
    if (buffer_.size() - pos_ < 4 + static_cast<std::size_t>(total))
        return Status::NeedMore;
    const char* head = buffer_.data() + pos_ + 8;
    if (atw::JsonTooDeepAt({head, headLen}) != std::string_view::npos) {
        error_ = "head nested deeper than " + std::to_string(atw::kMaxJsonDepth) + " levels";
        return Status::Error;
    }
    nlohmann::json j = nlohmann::json::parse(head, head + headLen, nullptr, false);
    if (j.is_discarded() || !j.is_object()) {
        error_ = "head is not a JSON object";
        return Status::Error;
    }
    out.head = std::move(j);
    out.blob.assign(head + headLen, total - 4 - headLen);
    pos_ += 4 + static_cast<std::size_t>(total);
    return Status::Message;
}

int64_t GetInt(const nlohmann::json& head, const char* key, int64_t fallback, bool& ok)
{
    auto it = head.find(key);
    if (it == head.end() || !it->is_number_integer()) {
        ok = false;
        return fallback;
    }
    if (it->is_number_unsigned() && it->get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)) {
        ok = false;
        return fallback;
    }
    return it->get<int64_t>();
}

std::string GetName(const nlohmann::json& head, const char* key, bool& ok)
{
    auto it = head.find(key);
    if (it == head.end() || !it->is_string()) {
        ok = false;
        return {};
    }
    auto bytes = atw::TextToBytes(it->get_ref<const std::string&>());
    if (!bytes) {
        ok = false;
        return {};
    }
    return *bytes;
}

bool GetBool(const nlohmann::json& head, const char* key, bool fallback, bool& ok)
{
    auto it = head.find(key);
    if (it == head.end() || !it->is_boolean()) {
        ok = false;
        return fallback;
    }
    return it->get<bool>();
}

int64_t IntOr(const nlohmann::json& head, const char* key, int64_t fallback)
{
    bool ok = true;
    return GetInt(head, key, fallback, ok);
}

std::string NameOr(const nlohmann::json& head, const char* key)
{
    bool ok = true;
    return GetName(head, key, ok);
}

bool ParseEndpoint(const std::string& text, Endpoint& out, bool allowAnyPort)
{
    // Five decimal numbers: four address bytes, then the port.
    long parts[5] = {};
    std::size_t at = 0;
    for (int i = 0; i < 5; ++i) {
        const char separator = i < 3 ? '.' : i == 3 ? ':' : '\0';
        const std::size_t end = separator ? text.find(separator, at) : text.size();
        if (end == std::string::npos || end == at || end - at > 5)
            return false;
        const std::string digits = text.substr(at, end - at);
        if (digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        parts[i] = std::strtol(digits.c_str(), nullptr, 10);
        if (parts[i] > (i < 4 ? 255 : 65535))
            return false;
        at = end + 1;
    }
    if (parts[4] == 0 && !allowAnyPort)
        return false;
    for (int i = 0; i < 4; ++i)
        out.ip[i] = static_cast<uint8_t>(parts[i]);
    out.port = static_cast<uint16_t>(parts[4]);
    return true;
}

}  // namespace atwire
