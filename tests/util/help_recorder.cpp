// Put in place of the help program by the help tests: appends its command
// line, one per line, to the file named by VESTREL_HELP_RECORD, and ends.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("VESTREL_HELP_RECORD", path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return 1;
    FILE* f = fopen(path, "a");
    if (f == nullptr)
        return 1;
    fprintf(f, "%s\n", GetCommandLineA());
    fclose(f);
    return 0;
}
