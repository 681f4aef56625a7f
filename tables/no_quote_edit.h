// CNoQuoteEdit: a table field whose text is written between double quotes
// (a printer type, a Macintosh type or creator). The line format has no
// escaping, so a typed double quote is dropped with the system's error beep
// and one in pasted text is removed.
#pragma once

#include "fx/controls.h"

class CNoQuoteEdit : public CEdit {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Pastes the clipboard's text without its double quotes; false when
    // it holds none (the control's own paste then runs).
    bool PasteWithoutQuotes();
};
