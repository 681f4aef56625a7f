// Plays the shell's part around a property-sheet extension: collects the
// pages AddPages offers (or refuses them), shows them in a real modeless
// property sheet, reads the pages' controls, and closes the sheet (which
// releases every page).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace shelltest {

inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The title on tab `index` of a property sheet.
inline std::string SheetTabTitle(HWND sheet, int index)
{
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    char text[128] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

class SheetHost {
public:
    SheetHost() = default;
    SheetHost(const SheetHost&) = delete;
    SheetHost& operator=(const SheetHost&) = delete;
    ~SheetHost() { Close(); }

    bool refuse = false;                  // answer AddPages' offers with FALSE
    std::vector<HPROPSHEETPAGE> pages;    // the pages taken
    int offers = 0;

    // The callback handed to AddPages.
    static BOOL CALLBACK TakePage(HPROPSHEETPAGE page, LPARAM host)
    {
        auto* self = reinterpret_cast<SheetHost*>(host);
        ++self->offers;
        if (self->refuse)
            return FALSE;
        self->pages.push_back(page);
        return TRUE;
    }
    HRESULT AddPagesOf(IShellPropSheetExt* ext) { return ext->AddPages(&TakePage, reinterpret_cast<LPARAM>(this)); }

    // Shows the pages taken in a modeless sheet and creates every page.
    bool Show(const char* caption = "Properties")
    {
        if (pages.empty())
            return false;
        PROPSHEETHEADERA header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_MODELESS;
        header.pszCaption = caption;
        header.nPages = static_cast<UINT>(pages.size());
        header.phpage = pages.data();
        sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
        if (sheet == nullptr)
            return false;
        for (size_t i = pages.size(); i-- > 0;)
            SendMessageA(sheet, PSM_SETCURSEL, i, 0);
        PumpMessages();
        return true;
    }

    HWND Page(int index) const
    {
        return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_INDEXTOHWND, static_cast<WPARAM>(index), 0));
    }
    std::string TabTitle(int index) const { return SheetTabTitle(sheet, index); }
    void Select(int index)
    {
        SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        PumpMessages();
    }

    // Destroys the sheet, or (never shown) the pages taken.
    void Close()
    {
        if (sheet != nullptr) {
            DestroyWindow(sheet);
            sheet = nullptr;
        } else {
            for (HPROPSHEETPAGE page : pages)
                DestroyPropertySheetPage(page);
        }
        pages.clear();
        PumpMessages();
    }

    HWND sheet = nullptr;
};

inline std::string ItemText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}
inline bool Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
inline bool Visible(HWND dialog, int id)
{
    return (GetWindowLongPtrA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace shelltest
