// What atnetd and its Ghostscript runner (atnetd-gs) say to each other.
//
// atnetd starts one runner and talks to it over a socket that is the
// runner's standard input, in the frames of the wire protocol (wire.h).
// The runner starts one Ghostscript process a job, feeds it, reads what it
// prints and enforces the job's limits; when the socket closes it kills its
// jobs and ends, so it never outlives atnetd.
//
//   atnetd -> runner
//     {"op":"start","job":N, "dir":PATH, <RunLimits fields>}   the job's folder must exist
//     {"op":"input","job":N} + bytes                            Ghostscript's standard input
//     {"op":"close","job":N}                                    its end of file
//     {"op":"kill","job":N}
//   runner -> atnetd
//     {"op":"output","job":N} + bytes                           Ghostscript's standard output
//     {"op":"ended","job":N,"exit":E,"signal":S,"limit":L,"pages":P,"error":T,"stderr":X}
//
// "ended" comes once a job, after all its output: `exit` is the exit
// status (-1 when killed by a signal), `limit` names the limit that ended
// it ("cpu", "memory", "time", "pages", "output", "file", "input", "" for
// none, "killed" when atnetd asked), `pages` counts the page files left in
// the folder (page-1.png, page-2.png, ...), `error` says why a job could
// not start, `stderr` is the end of Ghostscript's error output.
#pragma once

#include <cstdint>

#include <nlohmann/json.hpp>

namespace gsrun {

struct RunLimits {
    int resolution = 72;                  // dots per inch of the page files
    int cpuSeconds = 20;                  // processor time
    int seconds = 60;                     // wall-clock time after the job's end of file
    uint64_t memoryBytes = 512ull << 20;  // address space
    int pages = 50;                       // page files
    uint64_t outputBytes = 1u << 20;      // standard output
    uint64_t fileBytes = 16u << 20;       // any one file written
};

inline nlohmann::json ToJson(const RunLimits& l)
{
    return {{"resolution", l.resolution}, {"cpuSeconds", l.cpuSeconds}, {"seconds", l.seconds},
            {"memoryBytes", l.memoryBytes}, {"pages", l.pages}, {"outputBytes", l.outputBytes},
            {"fileBytes", l.fileBytes}};
}

// Input waiting for Ghostscript to read it; past this a job is ended
// (limit "input").
constexpr uint64_t kMaxPendingInput = 32u << 20;
// Jobs running at once.
constexpr int kMaxJobs = 32;

}  // namespace gsrun
