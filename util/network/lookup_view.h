// CVestrelLookupView: the form of a lookup window (template 140). It reads
// the zone list, then looks up every name of the chosen zone, polling the
// stack from timer 137 so the window stays live; the answers fill a
// three-column list that can be sorted, saved and printed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "fx/controls.h"
#include "fx/form_view.h"
#include "listing_printer.h"
#include "molven32.h"
#include "util/network/lookup_text.h"

class CVestrelLookupDoc;
struct LookupItem;

class CVestrelLookupView : public CFormView {
    DECLARE_DYNCREATE(CVestrelLookupView)
    DECLARE_MESSAGE_MAP()
public:
    CVestrelLookupView();
    ~CVestrelLookupView() override;

    enum : UINT { kTimerId = 137, kTimerPeriodMs = 100 };
    enum : UINT { WM_RELEASE_LIST = WM_USER + 1 };
    enum : int { kMaxAnswers = 1024 };

    CComboBox m_zoneCombo;
    CStatic m_status;
    CListCtrl m_list;
    HIMAGELIST m_pLargeImages = nullptr;
    HIMAGELIST m_pSmallImages = nullptr;
    ATEnumHandle m_hZoneEnum = 0;
    int32_t m_nZoneStatus = 0;
    ATEnumHandle m_hLookup = 0;
    NBPEntityName m_entity{};
    int m_nTimerDepth = 0;

    // Print state, set up by OnBeginPrinting for one job.
    CListingPrinter m_printer;
    PrintColumns m_columns;
    CString m_strPageFormat;

    CVestrelLookupDoc* GetLookupDoc() const;

    void OnInitialUpdate() override;
    void OnDraw(CDC* dc) override;
    void DoDataExchange(CDataExchange* dx) override;

    // Starts a lookup of every name in the chosen zone.
    void StartLookup();
    // Stops the timer and ends any pending zone request and lookup.
    void StopLookup();
    // The zone to look up into `zone` (33 bytes); the zone status.
    int32_t GetSelectedZone(char* zone);
    // Appends (negative index) or inserts the found name; its index or -1.
    int AddItem(int index, const _NBPTuple& tuple);
    // Frees every item record and empties the list.
    void ClearList();
    // Sorts every item ascending by the text of `column`.
    void SortByColumn(int column);
    // The item record of list item `index`.
    const LookupItem* ItemAt(int index) const;
    // The image of a device type: 0 workstation, 1 file server, 2
    // LaserWriter, 3 anything else.
    static int ImageOfType(const char* type);

    // Printing (File > Print and Print Preview of the framework).
    BOOL OnPreparePrinting(CPrintInfo* info) override;
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;

protected:
    void OnTimer(UINT_PTR id);
    void OnZoneCloseUp();
    void OnStopLookup();
    void OnCancelLookup();
    void OnClose();
    void OnDestroy();
    LRESULT OnReleaseList(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);
    void OnGetDispInfo(NMHDR* hdr, LRESULT* result);
    void OnColumnClick(NMHDR* hdr, LRESULT* result);
    void OnUpdateNeedsItems(CCmdUI* ui);

private:
    HCURSOR m_hCursor = nullptr;  // what the view shows: the arrow, or the hourglass while a lookup runs

    void RunZonePhase();
    void RunLookupPhase();
    // Fills the zone list from a finished zone request (or its failure).
    void FillZoneList(int32_t status);
    void SetViewCursor(LPCSTR cursor);
    void NudgeCursor();
    void SetStatusText(UINT formatId, const char* first, const char* second = nullptr);
    void ReleaseImagesAndItems();
};
