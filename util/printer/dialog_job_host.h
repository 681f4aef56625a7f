// The part of a PAP job's host that is the same in every dialog hosting a
// job: the C clock, SleepEx without alerts, the waiting loops' message pump
// and the string table (English when an id is missing). `Host` is JobHost
// or DownloadJobHost; the dialog adds its controls, messages and end.
#pragma once

#include <windows.h>

#include <ctime>
#include <string>

#include "fx/fx_string.h"
#include "job_message_pump.h"
#include "job_texts.h"

template <class Host>
class DialogJobHost : public Host {
public:
    int64_t Now() override { return static_cast<int64_t>(std::time(nullptr)); }
    void Sleep(unsigned ms) override { ::SleepEx(ms, FALSE); }
    void PumpMessages() override { PumpJobMessages(); }
    std::string LoadText(int id) override
    {
        CString text = FxLoadString(static_cast<UINT>(id));
        return text.IsEmpty() ? JobTextEnglish(id) : std::string(text);
    }
};
