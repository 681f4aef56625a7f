// AppleShare operations: names, IDs, passwords and the 2522-byte buffers.
#include "operations.h"

namespace atsvc::ops {

void NameBitmap(Request& r)
{
    const std::string name = r.Name("name");
    if (!r.Ok()) {
        r.Answer(0, {{"bits", 0}});
        return;
    }
    r.Net().NameBitmap(r.Client(), name, r.Later());
}

void ParseName(Request& r)
{
    const std::string name = r.Name("name");
    if (!r.Ok()) {
        r.Answer(atw::kErrFailed, {{"error", "not a network name"}});
        return;
    }
    r.Net().ParseName(r.Client(), name, r.Later());
}

void MapId(Request& r)
{
    const int64_t ref = r.Int("mapRef");
    const int64_t function = r.Int("function");
    const int64_t id = r.Int("value");
    if (!r.Ok()) {
        r.Answer(atw::kAFPParamErr);
        return;
    }
    r.Net().MapId(r.Client(), static_cast<uint32_t>(ref), static_cast<int32_t>(function), static_cast<int32_t>(id),
                  r.Later());
}

void ChangePassword(Request& r)
{
    const std::string server = r.Name("server");
    const std::string oldPassword = r.Name("old");
    const std::string newPassword = r.Name("new");
    if (!r.Ok()) {
        r.Answer(atw::kAFPParamErr);
        return;
    }
    r.Net().ChangePassword(r.Client(), server, oldPassword, newPassword, r.Later());
}

namespace {

// The two 2522-byte buffers: a path in, the buffer out.
void Buffer(Request& r, void (Network::*fetch)(ClientId, std::string_view, Done))
{
    const std::string path = r.Name("path");
    if (!r.Ok()) {
        r.Answer(atw::kAFPParamErr);
        return;
    }
    (r.Net().*fetch)(r.Client(), path, r.Later());
}

}  // namespace

void FileDirParams(Request& r)
{
    Buffer(r, &Network::FileDirParams);
}

void VolumeParams(Request& r)
{
    Buffer(r, &Network::VolumeParams);
}

void ServerInfo(Request& r)
{
    const std::string name = r.Name("name");
    if (!r.Ok()) {
        r.Answer(atw::kAFPObjectNotFound);
        return;
    }
    r.Net().ServerInfo(r.Client(), name, r.Later());
}

}  // namespace atsvc::ops
