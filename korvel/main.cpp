// Korvel's entry point and its one application object.
#include <windows.h>

#include "fx/win_app.h"
#include "korvel/app.h"

namespace {
CKorvelApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int cmdShow)
{
    return AfxWinMain(instance, cmdLine, cmdShow);
}
