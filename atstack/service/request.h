// One request of a library as an operation's handler sees it: its fields,
// the network to ask, and the ways to answer it (at once, later, or with an
// interim word while it waits).
#pragma once

#include <cstdint>
#include <string>

#include "network.h"
#include "wire.h"

namespace atsvc {

class Engine;

class Request {
public:
    Request(Engine& engine, uint64_t key, ClientId client, const atwire::Message& message)
        : engine_(engine), key_(key), client_(client), message_(message)
    {
    }

    ClientId Client() const { return client_; }
    const nlohmann::json& Head() const { return message_.head; }
    const std::string& Blob() const { return message_.blob; }
    Network& Net() const;
    Engine& Service() const { return engine_; }

    // Typed reads of the head's fields; a missing or mistyped field gives
    // the fallback and clears Ok().
    std::string Name(const char* key) { return atwire::GetName(message_.head, key, ok_); }
    // An NBP name: at most 32 characters.
    std::string NbpName(const char* key)
    {
        std::string s = Name(key);
        ok_ = ok_ && s.size() <= 32;
        return s;
    }
    int64_t Int(const char* key, int64_t fallback = 0) { return atwire::GetInt(message_.head, key, fallback, ok_); }
    bool Bool(const char* key, bool fallback = false) { return atwire::GetBool(message_.head, key, fallback, ok_); }
    bool Ok() const { return ok_; }

    // Ends the request now.
    void Answer(int32_t result, nlohmann::json out = nlohmann::json::object(), std::string blob = {}) const;
    void Answer(atsvc::Answer answer) const;
    // Ends it later: the network calls the returned function once.
    Done Later() const;
    // Words while it waits.
    Word Interim() const;

private:
    Engine& engine_;
    uint64_t key_;
    ClientId client_;
    const atwire::Message& message_;
    bool ok_ = true;
};

// What sets an operation apart.
enum OperationFlags : unsigned {
    // It may stay outstanding for long (a lookup, an open behind a busy
    // printer): it counts against the client's limit of waiting requests.
    kWaits = 1,
    // Not written to the trace (the libraries' signs of life).
    kUntraced = 2,
};

// An operation of the wire protocol: its name, its handler and its flags.
struct Operation {
    const char* name;
    void (*handle)(Request& request);
    unsigned flags;
};

// The operation of that name; null when there is none.
const Operation* FindOperation(std::string_view name);

}  // namespace atsvc
