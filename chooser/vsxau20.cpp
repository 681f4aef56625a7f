// VSXAU20.dll's entry points. The framework is linked into this module
// with its own state, so the module's own dialogs come from its own
// resources and every window it makes is owned by the caller's window.
#include "vsxau20.h"

#include "device_chooser_dlg.h"
#include "fx/fx_string.h"
#include "fx/wnd.h"
#include "printer_status_dlg.h"

namespace {
HINSTANCE g_module = nullptr;

// A CWnd standing for the caller's window while a dialog is up.
class CallerWindow : public CWnd {
public:
    explicit CallerWindow(HWND owner) { m_hWnd = owner; }
    ~CallerWindow() override { m_hWnd = nullptr; }
};
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID);
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        AfxSetResourceHandle(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

int32_t ATSTACK_CALL VSXDeviceChooser(_NBPTuple* buffer, int32_t /*mode*/, HWND owner)
{
    CallerWindow parent(owner);
    CDeviceChooserDlg dialog(owner ? &parent : nullptr);
    const INT_PTR result = dialog.DoModal();
    if (result == IDOK && buffer)
        *buffer = dialog.m_chosen;
    return result == IDOK ? 0 : 1;
}

int32_t ATSTACK_CALL VSXPrinterStatus(HWND owner)
{
    CallerWindow parent(owner);
    CPrinterStatusDlg dialog(owner ? &parent : nullptr);
    dialog.DoModal();
    return 0;
}
