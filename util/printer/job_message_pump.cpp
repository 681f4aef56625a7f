#include "job_message_pump.h"

#include "fx/win_app.h"

void PumpJobMessages()
{
    CWinApp* app = AfxGetApp();
    PumpWaitingMessages([app]() -> BOOL {
        if (app)
            return app->PumpMessage();
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0))
            return FALSE;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        return TRUE;
    });
}
