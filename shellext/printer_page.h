// The page of an AppleTalk printer (template 129): name, description, zone,
// type and network path; for a PostScript printer type also the
// "Additional Info:" button, which asks the printer about itself and shows
// its answer in the text box below (CPrinterQuery).
#pragma once

#include <memory>

#include "net_page.h"
#include "printer_info.h"
#include "printer_query.h"

class CPrinterPage : public CNetPage {
    DECLARE_MESSAGE_MAP()
public:
    CPrinterPage(HWND page, CPrinterInfoObj* record);
    ~CPrinterPage() override;

    // The sheet's Cancel: a running query stops, its connection ends.
    void OnCancel() override;
    void OnReset() override { OnCancel(); }

private:
    void OnAdditionalInfo();
    void OnDestroy();

    std::shared_ptr<CPrinterQuery> m_query;    // while a query runs
    // Cleared when the page window goes: a query that returns after that
    // must not touch the page.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
