// The wire protocol between the stack libraries and atnetd: length-framed
// messages over one TCP connection per library instance.
//
//   frame := u32 total | u32 headLength | head | blob      (little-endian)
//
// `total` counts everything after itself (4 + headLength + blob size). The
// head is a JSON object (UTF-8, names as in latin1.h); the blob carries raw
// bytes (PAP data, AFP buffers). A request head has "op" and "id" (id 0: no
// answer wanted); an answer head has the request's "id" and "result".
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace atwire {

constexpr uint32_t kMaxFrame = 1u << 20;  // 1 MiB: far above any real message
constexpr uint32_t kMaxHead = kMaxFrame;  // a lookup of 1024 names is ~100 KiB of head

struct Message {
    nlohmann::json head;
    std::string blob;
};

// The bytes of one frame. The head is dumped with invalid UTF-8 replaced.
std::string Encode(const Message& m);

// Collects bytes from a stream and cuts them into messages.
class Decoder {
public:
    enum class Status { Message, NeedMore, Error };
    void Feed(const char* data, std::size_t size) { buffer_.append(data, size); }
    // Message: `out` holds the next message. Error: the stream is broken
    // (oversized frame, head that is not a JSON object or is nested too
    // deeply); `error` says why and the decoder stays in error.
    Status Next(Message& out);
    const std::string& Error() const { return error_; }
    std::size_t Buffered() const { return buffer_.size() - pos_; }

private:
    std::string buffer_;
    std::size_t pos_ = 0;
    std::string error_;
};

// Typed reads of head fields that never throw: a missing or mistyped field
// gives `fallback` and clears `ok`.
int64_t GetInt(const nlohmann::json& head, const char* key, int64_t fallback, bool& ok);
std::string GetName(const nlohmann::json& head, const char* key, bool& ok);  // bytes of a latin1 text
bool GetBool(const nlohmann::json& head, const char* key, bool fallback, bool& ok);

// The same for answers, where a missing field simply gives the fallback.
int64_t IntOr(const nlohmann::json& head, const char* key, int64_t fallback = 0);
std::string NameOr(const nlohmann::json& head, const char* key);

// "A.B.C.D:PORT" (IPv4, decimal, no spaces) taken apart; port 0 is accepted
// only when `allowAnyPort`.
struct Endpoint {
    uint8_t ip[4] = {};
    uint16_t port = 0;
};
bool ParseEndpoint(const std::string& text, Endpoint& out, bool allowAnyPort);

}  // namespace atwire
