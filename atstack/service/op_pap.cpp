// PAP operations: the printers' side is the network's; here the requests'
// fields are read and checked.
#include "operations.h"

namespace atsvc::ops {

namespace {

atw::EntityName PrinterName(Request& r)
{
    return {r.NbpName("object"), r.NbpName("type"), r.NbpName("zone")};
}

// The request's connection reference; 0 (no connection's) when it is
// missing or out of range.
int32_t ConnRef(const Request& r)
{
    bool ok = true;
    const int64_t ref = atwire::GetInt(r.Head(), "connRef", 0, ok);
    return ok && ref >= INT32_MIN && ref <= INT32_MAX ? static_cast<int32_t>(ref) : 0;
}

int32_t RequestId(const Request& r, const char* key)
{
    return static_cast<int32_t>(atwire::IntOr(r.Head(), key));
}

}  // namespace

void PapOpen(Request& r)
{
    const atw::EntityName name = PrinterName(r);
    r.Int("reqid");
    if (!r.Ok()) {
        r.Answer(atw::kErrFailed, {{"error", "bad printer name"}});
        return;
    }
    r.Net().PapOpen(r.Client(), RequestId(r, "reqid"), name, r.Later(), r.Interim());
}

void PapStatus(Request& r)
{
    const atw::EntityName name = PrinterName(r);
    if (!r.Ok()) {
        r.Answer(atw::kErrNoSuchPrinter, {{"status", ""}});
        return;
    }
    r.Net().PapStatus(r.Client(), RequestId(r, "reqid"), name, r.Later());
}

void PapWrite(Request& r)
{
    const bool eof = r.Bool("eof");
    if (!r.Ok()) {
        r.Answer(atw::kErrFailed, {{"error", "bad write"}});
        return;
    }
    r.Net().PapWrite(r.Client(), ConnRef(r), r.Blob(), eof, r.Later());
}

void PapRead(Request& r)
{
    const int64_t length = r.Int("length");
    // 0: refused by the network as a bad length.
    const std::size_t max = r.Ok() && length > 0 ? static_cast<std::size_t>(length) : 0;
    r.Net().PapRead(r.Client(), ConnRef(r), max, r.Later());
}

void PapClose(Request& r)
{
    r.Net().PapClose(r.Client(), ConnRef(r), r.Later());
}

void PapCancel(Request& r)
{
    const bool found = r.Net().PapCancel(r.Client(), RequestId(r, "target"));
    r.Answer(0, {{"found", found}});
}

}  // namespace atsvc::ops
