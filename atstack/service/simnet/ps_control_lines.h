// The standard output of an interpreting printer's Ghostscript carries the
// job's back channel and, mixed into it in order, the control lines of the
// server loop (laserwriter_prolog.ps): MARKER text LF, where the marker
// holds a nonce the job cannot know. This cuts the stream apart, whatever
// the pieces it arrives in.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace simnet {

class ControlLines {
public:
    using Data = std::function<void(std::string_view bytes)>;
    using Line = std::function<void(std::string_view text)>;

    ControlLines(std::string marker, Data data, Line line);
    void Feed(std::string_view bytes);

    // A control line is short; a "line" longer than this is not one of
    // ours and goes to the back channel as it is.
    static constexpr std::size_t kMaxLine = 1024;

private:
    std::string marker_;
    Data data_;
    Line line_;
    std::string carry_;  // a marker begun, or a control line not yet ended
};

}  // namespace simnet
