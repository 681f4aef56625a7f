// How the pages write numbers and dates. The formats come from the string
// table ("%ld" and "%A,  %B %d, %Y at %I:%M %p" in English).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// `number` written with `format` (a printf format taking one long: "%ld",
// signed 32-bit), then a
// "," put before every group of three characters from the right while more
// than three characters remain: 1234567 gives "1,234,567", 999 stays "999".
// Every character counts, a minus sign included.
std::string GroupThousands(int32_t number, const char* format = "%ld");
// The grouping alone, for text already written.
std::string GroupDigits(std::string text);

// A date (seconds since 1970-01-01 00:00 UTC) in local time with a strftime
// `format`, at most 127 characters; empty when the local time cannot be
// worked out. No date gives `noDateText`.
std::string DateText(std::optional<int32_t> seconds, const char* format, const char* noDateText);

// A length of time in `format` (string 5 "%D Day, %H Hours, %M Minutes, %S
// Seconds"): %D the whole days, %H the hours (0 to 23), %M the minutes and
// %S the seconds, each of those three as two digits; "%%" is a percent
// sign. A negative length (a clock behind the server's) counts as 0.
std::string ElapsedText(int64_t seconds, const char* format);
