#include "util/version_text.h"

#include <vector>

CString FormatFileVersion(const VS_FIXEDFILEINFO& info)
{
    CString text;
    text.Format("%d.%2.2d.%2.2d.%2.2d", HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS),
                HIWORD(info.dwFileVersionLS), LOWORD(info.dwFileVersionLS));
    return text;
}

CString ReadFileVersionText(const char* modulePath, VS_FIXEDFILEINFO& info)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(modulePath, &handle);
    if (size == 0)
        return "Unknown";
    std::vector<char> block(size + 1);
    void* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoA(modulePath, 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", &fixed, &fixedSize) || fixedSize < sizeof(VS_FIXEDFILEINFO))
        return "Unknown";
    memcpy(&info, fixed, sizeof info);
    return FormatFileVersion(info);
}
