#include "message_pump.h"

#include <windows.h>

#include "fx/win_app.h"
#include "util/printer/job_message_pump.h"

void PumpShellMessages()
{
    CWinApp* app = AfxGetApp();
    PumpWaitingMessages([app] {
        if (app != nullptr)
            return app->PumpMessage();
        MSG msg;
        if (!GetMessageA(&msg, nullptr, 0, 0))
            return FALSE;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        return TRUE;
    });
}
