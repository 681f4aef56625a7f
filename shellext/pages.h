// Property pages of the extension, as the shell's sheet wants them: made
// with CreatePropertySheetPageA from a template of this module, each with a
// PageLink in its lParam (the record it shows, the extension that made it,
// and the page object made when its window is first shown).
//
// Ownership: the record belongs to its first page once that page exists,
// and is deleted by that page's release callback; further pages over the
// same record only read it. Until a first page exists the extension keeps
// the record. Every page holds a reference to the extension, so a record
// the extension kept outlives the pages that show it.
#pragma once

#include <windows.h>
#include <prsht.h>

class CNetInfoObj;
class CPropertyPage;
class CVSXShellExt;

struct PageLink {
    CNetInfoObj* record;
    CVSXShellExt* ext;
    CPropertyPage* page;  // made at WM_INITDIALOG; null until then and for pages without one
};

// The dialog procedures and release callbacks of first and second pages.
INT_PTR CALLBACK PageDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SecondPageDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
UINT CALLBACK PageReleaseProc(HWND hwnd, UINT message, LPPROPSHEETPAGEA page);
UINT CALLBACK SecondPageReleaseProc(HWND hwnd, UINT message, LPPROPSHEETPAGEA page);

// Offers the pages of the extension's record to the shell, one AddPages.
class PageAdder {
public:
    PageAdder(CVSXShellExt* ext, LPFNADDPROPSHEETPAGE addPage, LPARAM lParam);

    // The record's first page; it takes the record over. FALSE when the
    // shell refused it: the record is gone then and no more pages follow.
    // A page that cannot be made (no such template) is skipped (TRUE).
    BOOL AddFirst(UINT templateId);
    // A further page over `record` (the extension's record or a part of
    // it), titled with string `titleId` when not 0.
    BOOL AddSecond(UINT templateId, CNetInfoObj* record, UINT titleId = 0);

private:
    CVSXShellExt* m_pExt;
    LPFNADDPROPSHEETPAGE m_pfnAddPage;
    LPARAM m_lParam;

    // The created page, or null when it could not be made.
    HPROPSHEETPAGE Create(UINT templateId, CNetInfoObj* record, DLGPROC dlgProc, LPFNPSPCALLBACKA release,
                          UINT titleId);
};
