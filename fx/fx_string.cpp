#include "fx/fx_string.h"

#include <cstdarg>
#include <cstdio>

#include "fx/module.h"

namespace {
HINSTANCE g_resourceModule = nullptr;
}

HINSTANCE AfxGetResourceHandle()
{
    return g_resourceModule ? g_resourceModule : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE module)
{
    g_resourceModule = module;
}

BOOL CString::LoadString(UINT id)
{
    // A string-table entry holds at most 4097 characters.
    char buffer[4100];
    int n = ::LoadStringA(AfxGetResourceHandle(), id, buffer, sizeof buffer);
    assign(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    return n > 0;
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n < 0) {
        clear();
    } else {
        std::string out(static_cast<size_t>(n) + 1, '\0');
        vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(n));
        assign(std::move(out));
    }
    va_end(args);
}

CString FxLoadString(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

CString FxFormatStrings(const char* format, const std::vector<std::string>& args)
{
    CString out;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
            size_t index = static_cast<size_t>(p[1] - '1');
            if (index < args.size())
                out += args[index];
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

CString FxSubString(const std::string& text, int index, char separator)
{
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t next = text.find(separator, start);
        if (next == std::string::npos)
            return {};
        start = next + 1;
    }
    size_t end = text.find(separator, start);
    return CString(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

CString FxPromptPart(const std::string& entry)
{
    return FxSubString(entry, 0);
}

CString FxTipPart(const std::string& entry)
{
    return FxSubString(entry, 1);
}
