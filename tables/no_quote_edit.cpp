#include "no_quote_edit.h"

#include <algorithm>
#include <string>

#include "fx/edit_commands.h"

LRESULT CNoQuoteEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR && wParam == '"') {
        MessageBeep(MB_ICONHAND);
        return 0;
    }
    if (message == WM_PASTE && (GetStyle() & ES_READONLY) == 0 && PasteWithoutQuotes())
        return 0;
    return CEdit::WindowProc(message, wParam, lParam);
}

bool CNoQuoteEdit::PasteWithoutQuotes()
{
    std::string text = FxClipboardText(m_hWnd);
    if (text.find('"') == std::string::npos)
        return false;  // nothing to take out: the control pastes as usual
    // A single-line field takes the first line only, as its own paste does.
    text.erase(std::min(text.find_first_of("\r\n"), text.size()));
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    return true;
}
