// Operations of the service itself: the library's hello, trace notes and
// Tarpin32's change notifications.
#include "engine.h"
#include "operations.h"

namespace atsvc::ops {

void Hello(Request& r)
{
    const std::string program = r.Name("program");
    const int64_t pid = r.Int("pid");
    const std::string library = r.Name("library");
    std::string name = program;
    if (name.empty())
        name = "client" + std::to_string(r.Client());
    name += "#";
    name += std::to_string(pid);
    if (!library.empty())
        name += "/" + library;
    r.Service().NameClient(r.Client(), std::move(name));
    r.Answer(0, {{"service", "atnetd"}, {"version", 1}});
}

// A library's question whether the service still answers.
void Ping(Request& r)
{
    r.Answer(0);
}

// NBPCloseEnum, ZIPCloseEnum: the enumeration's request ends here too, if
// it still waits (-1105).
void EndEnum(Request& r)
{
    const int64_t request = r.Int("request");
    if (r.Ok() && request > 0 && request <= UINT32_MAX)
        r.Service().End(r.Client(), static_cast<uint32_t>(request), {atw::kErrAborted, {{"ended", true}}});
    r.Answer(0);
}

// mpp.alloc, mpp.free, note: written to the trace, nothing more.
void Note(Request& r)
{
    r.Answer(0);
}

void TarpinNotify(Request& r)
{
    const std::string what = r.Name("what");
    if (what == "paptypes" || what == "korvel")
        r.Answer(0, {{"generation", r.Service().Notify(what)}});
    else
        r.Answer(atw::kErrFailed, {{"error", "unknown notification"}});
}

void PapTypesGeneration(Request& r)
{
    r.Answer(0, {{"generation", r.Service().Generation("paptypes")}});
}

}  // namespace atsvc::ops
