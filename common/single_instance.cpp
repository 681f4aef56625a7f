#include "single_instance.h"

BOOL BringExistingInstanceToFront(const char* wndClass)
{
    HWND existing = nullptr;
    for (HWND h = FindWindowExA(nullptr, nullptr, wndClass, nullptr); h != nullptr;
         h = FindWindowExA(nullptr, h, wndClass, nullptr)) {
        if (GetPropA(h, kServingClientProperty) == nullptr) {
            existing = h;
            break;
        }
    }
    if (existing == nullptr)
        return FALSE;
    HWND popup = GetLastActivePopup(existing);
    BringWindowToTop(existing);
    SetForegroundWindow(existing);
    if (IsIconic(existing))
        ShowWindow(existing, SW_RESTORE);
    if (popup != existing)
        BringWindowToTop(popup);
    return TRUE;
}
