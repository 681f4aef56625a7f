#include "pages.h"

#include "directory_info.h"
#include "file_info.h"
#include "file_page.h"
#include "folder_page.h"
#include "fx/fx_string.h"
#include "net_info.h"
#include "printer_info.h"
#include "printer_page.h"
#include "resource.h"
#include "server_advanced_page.h"
#include "server_info.h"
#include "server_page.h"
#include "shell_ext.h"
#include "volume_info.h"
#include "volume_page.h"

namespace {

PageLink* LinkOf(LPARAM propSheetPage)
{
    return reinterpret_cast<PageLink*>(reinterpret_cast<const PROPSHEETPAGEA*>(propSheetPage)->lParam);
}

// Both kinds of page may be left whenever the user wants.
bool IsKillActive(UINT message, LPARAM lParam)
{
    return message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_KILLACTIVE;
}

INT_PTR AllowLeaving(HWND hwnd)
{
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, FALSE);
    return TRUE;
}

// The page object of a record's first page, by its kind.
CPropertyPage* MakeFirstPageObject(HWND hwnd, CNetInfoObj* record)
{
    switch (record->m_nKind) {
    case NETOBJ_SERVER:
        return new CServerPage(hwnd, static_cast<CServerInfoObj*>(record));
    case NETOBJ_VOLUME:
        return new CVolumePage(hwnd, static_cast<CVolumeInfoObj*>(record));
    case NETOBJ_PRINTER:
        return new CPrinterPage(hwnd, static_cast<CPrinterInfoObj*>(record));
    case NETOBJ_FOLDER:
        return new CFolderPage(hwnd, static_cast<CDirectoryInfoObj*>(record));
    case NETOBJ_FILE:
        return new CFilePage(hwnd, static_cast<CFileInfoObj*>(record));
    default:
        return nullptr;
    }
}

// The page object of a further page: a server's advanced page, or a
// volume's root folder (the record the page was made with).
CPropertyPage* MakeSecondPageObject(HWND hwnd, CNetInfoObj* record)
{
    switch (record->m_nKind) {
    case NETOBJ_SERVER:
        return new CServerAdvancedPage(hwnd, static_cast<CServerInfoObj*>(record));
    case NETOBJ_FOLDER:
        return new CFolderPage(hwnd, static_cast<CDirectoryInfoObj*>(record));
    default:
        return nullptr;
    }
}

void ReleasePage(LPPROPSHEETPAGEA psp, bool ownsRecord)
{
    auto* link = reinterpret_cast<PageLink*>(psp->lParam);
    psp->lParam = 0;
    if (link == nullptr)
        return;
    delete link->page;
    if (ownsRecord)
        delete link->record;  // a volume's root goes with it
    CVSXShellExt* ext = link->ext;
    delete link;
    ext->Release();
}

}  // namespace

INT_PTR CALLBACK PageDlgProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        PageLink* link = LinkOf(lParam);
        CNetInfoObj* record = link->record;
        if (record->m_nKind == NETOBJ_ZONE) {
            // The zone page (and the page of a multiple selection) has no
            // page object.
            if (!record->m_bMultiple)
                SetDlgItemTextA(hwnd, IDC_ZONE_NAME, record->GetName().c_str());
            ShowSheetContextHelp(hwnd, false);
            link->page = nullptr;
            return TRUE;
        }
        link->page = MakeFirstPageObject(hwnd, record);
        return link->page != nullptr;
    }
    return IsKillActive(message, lParam) ? AllowLeaving(hwnd) : FALSE;
}

INT_PTR CALLBACK SecondPageDlgProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        PageLink* link = LinkOf(lParam);
        link->page = MakeSecondPageObject(hwnd, link->record);
        return link->page != nullptr;
    }
    return IsKillActive(message, lParam) ? AllowLeaving(hwnd) : FALSE;
}

UINT CALLBACK PageReleaseProc(HWND, UINT message, LPPROPSHEETPAGEA page)
{
    if (message == PSPCB_RELEASE && page != nullptr)
        ReleasePage(page, true);
    return 1;
}

UINT CALLBACK SecondPageReleaseProc(HWND, UINT message, LPPROPSHEETPAGEA page)
{
    if (message == PSPCB_RELEASE && page != nullptr)
        ReleasePage(page, false);
    return 1;
}

PageAdder::PageAdder(CVSXShellExt* ext, LPFNADDPROPSHEETPAGE addPage, LPARAM lParam)
    : m_pExt(ext), m_pfnAddPage(addPage), m_lParam(lParam)
{
}

HPROPSHEETPAGE PageAdder::Create(UINT templateId, CNetInfoObj* record, DLGPROC dlgProc, LPFNPSPCALLBACKA release,
                                 UINT titleId)
{
    HINSTANCE module = AfxGetResourceHandle();
    if (FindResourceA(module, MAKEINTRESOURCEA(templateId), RT_DIALOG) == nullptr)
        return nullptr;
    auto* link = new PageLink{record, m_pExt, nullptr};
    PROPSHEETPAGEA psp{};
    psp.dwSize = PROPSHEETPAGEA_V1_SIZE;
    psp.dwFlags = PSP_USECALLBACK | PSP_USEREFPARENT | (titleId ? PSP_USETITLE : 0);
    psp.hInstance = module;
    psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    psp.pszTitle = MAKEINTRESOURCEA(titleId);
    psp.pfnDlgProc = dlgProc;
    psp.lParam = reinterpret_cast<LPARAM>(link);
    psp.pfnCallback = release;
    psp.pcRefParent = &m_pExt->m_cRefParent;
    HPROPSHEETPAGE page = CreatePropertySheetPageA(&psp);
    if (page == nullptr) {
        delete link;
        return nullptr;
    }
    m_pExt->AddRef();  // dropped by the page's release callback
    m_pExt->m_hLastPage = page;
    return page;
}

BOOL PageAdder::AddFirst(UINT templateId)
{
    CNetInfoObj* record = m_pExt->m_pRecord;
    HPROPSHEETPAGE page = Create(templateId, record, &PageDlgProc, &PageReleaseProc, 0);
    if (page == nullptr)
        return TRUE;
    m_pExt->m_pRecord = nullptr;  // the page has it now
    if (m_pfnAddPage(page, m_lParam))
        return TRUE;
    DestroyPropertySheetPage(page);
    return FALSE;
}

BOOL PageAdder::AddSecond(UINT templateId, CNetInfoObj* record, UINT titleId)
{
    HPROPSHEETPAGE page = Create(templateId, record, &SecondPageDlgProc, &SecondPageReleaseProc, titleId);
    if (page == nullptr)
        return TRUE;
    if (m_pfnAddPage(page, m_lParam))
        return TRUE;
    DestroyPropertySheetPage(page);
    return FALSE;
}
