// The chooser: the zones of the internet on the left, the printers of the
// chosen zone on the right (both sorted). A network without zones shows
// "Isolated AppleTalk Network" and looks its printers up in "*". OK makes the selected printer
// the stack's default printer. Lookups run asynchronously and are polled
// on a timer, so the dialog answers while they run.
#pragma once

#include <vector>

#include "atalk_records.h"
#include "fx/dialog.h"
#include "molven32.h"

// The printer type the chooser looks for.
constexpr char kChooserPrinterType[] = "LaserWriter";

class CDeviceChooserDlg : public CDialog {
    DECLARE_MESSAGE_MAP()
public:
    explicit CDeviceChooserDlg(CWnd* parent);
    ~CDeviceChooserDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id);
    void OnZoneChanged();

    // The printer made the default on OK.
    _NBPTuple m_chosen{};

private:
    void CloseLookups();
    void ZonesDone();
    void ShowIsolatedNetwork();
    void PrintersDone(int32_t status);

    _NBPTuple m_default{};
    bool m_hasDefault = false;
    bool m_isolated = false;  // no zones: the one entry stands for "*"
    ATEnumHandle m_zoneEnum = 0;
    ATEnumHandle m_nbpEnum = 0;
    NBPEntityName m_entity{};
    std::vector<_NBPTuple> m_printers;
};
