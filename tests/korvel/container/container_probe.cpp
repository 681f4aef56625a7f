// A second container process: loads the object embedded in a compound file
// and writes the object's text to a file.
//   korvel_container_probe STORAGE OUT
// Exits 0 when the object loaded and gave its text.
#include <windows.h>
#include <ole2.h>

#include <fstream>
#include <string>

#include "test_container.h"

int main(int argc, char** argv)
{
    if (argc != 3 || FAILED(OleInitialize(nullptr)))
        return 2;
    const CLSID korvel = {0x5C7BCAC0, 0x9158, 0x11CF, {0xB6, 0xFC, 0x00, 0x00, 0xC0, 0x37, 0x3B, 0xD0}};
    std::wstring path(argv[1], argv[1] + strlen(argv[1]));
    int result = 1;
    {
        vtest::TestContainer container;
        if (SUCCEEDED(container.Load(korvel, path))) {
            std::ofstream(argv[2], std::ios::binary) << container.Text();
            result = 0;
        }
        container.Close();
    }
    OleUninitialize();
    return result;
}
