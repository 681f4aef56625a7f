#include "info_text.h"

#include <cstdio>
#include <ctime>

std::string GroupDigits(std::string text)
{
    for (std::size_t at = text.size(); at > 3;) {
        at -= 3;
        text.insert(at, 1, ',');
    }
    return text;
}

// The formats come from the string table, not from the program text.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

std::string GroupThousands(int32_t number, const char* format)
{
    char digits[64] = "";
    std::snprintf(digits, sizeof digits, format, static_cast<long>(number));
    return GroupDigits(digits);
}

std::string DateText(std::optional<int32_t> seconds, const char* format, const char* noDateText)
{
    if (!seconds)
        return noDateText;
    const std::time_t when = *seconds;
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &when) != 0)
        return std::string();
#else
    if (localtime_r(&when, &local) == nullptr)
        return std::string();
#endif
    char text[128];
    const std::size_t n = std::strftime(text, sizeof text, format, &local);
    return std::string(text, n);
}

#pragma GCC diagnostic pop

std::string ElapsedText(int64_t seconds, const char* format)
{
    if (seconds < 0)
        seconds = 0;
    auto twoDigits = [](int64_t n) {
        char text[8];
        std::snprintf(text, sizeof text, "%02d", static_cast<int>(n));
        return std::string(text);
    };
    std::string text;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%' || p[1] == '\0') {
            text += *p;
            continue;
        }
        switch (*++p) {
        case 'D':
            text += std::to_string(seconds / 86400);
            break;
        case 'H':
            text += twoDigits(seconds / 3600 % 24);
            break;
        case 'M':
            text += twoDigits(seconds / 60 % 60);
            break;
        case 'S':
            text += twoDigits(seconds % 60);
            break;
        case '%':
            text += '%';
            break;
        default:  // not ours: kept as written
            text += '%';
            text += *p;
            break;
        }
    }
    return text;
}
