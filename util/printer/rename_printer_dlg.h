// CRenamePrinterDlg (dialog 132, "Change Printer Name"): Printer > Change
// name... The user picks a zone, the dialog looks up the LaserWriters in
// it, the user picks one and edits its name, and Rename sends the printer
// the rename job (PAPRenameJob), which this dialog hosts.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dialog_job_host.h"
#include "fx/controls.h"
#include "fx/dialog.h"
#include "molven32.h"
#include "rename_job.h"

class CRenamePrinterDlg : public CDialog, private DialogJobHost<JobHost> {
    DECLARE_MESSAGE_MAP()
public:
    // `stack` and `files` must outlive the dialog; "VestrelUtil.txt" goes to
    // `logFolder` (ends in a separator; empty = the current directory).
    CRenamePrinterDlg(PapStack& stack, JobFiles& files, std::string logFolder, CWnd* parent = nullptr);
    ~CRenamePrinterDlg() override;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    CComboBox m_zones;      // 1030
    CListBox m_printers;    // 1035
    CEdit m_newName;        // 1037
    CStatic m_oldName;      // 1036
    CEdit m_status;         // 3009

private:
    // What a list entry knows of its printer beside its name (the text).
    struct PrinterRecord {
        char type[kNBPSlotSize];
        uint16_t network;
        uint8_t node;
        uint8_t socket;
    };

    void OnZoneChange();
    void OnPrinterChange();
    void OnNameEdited();
    void OnStopLookup();
    void OnDestroy();

    void LoadZoneList();
    void LookupPrinters();
    // Fills the list from a finished lookup.
    void ShowLookupAnswers(ATEnumHandle lookup);
    void CloseEnumerations();
    void ClearPrinters();
    // List, edit and Rename get `on`; Stop Lookup the opposite.
    void EnableControls(BOOL on);
    void EnableItem(int id, BOOL on);
    void SetWaitCursor(bool wait);
    bool CanRename() const;

    // JobHost
    void ShowStatus(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void EndDialog(int code) override;

    std::unique_ptr<PAPRenameJob> m_pJob;
    ATEnumHandle m_hZoneEnum = 0;
    ATEnumHandle m_hLookup = 0;
    int32_t m_nZoneStatus = 0;
    int m_nSelected = -1;
    std::vector<PrinterRecord> m_records;  // item data n is m_records[n - 1]
    _NBPTuple m_target{};  // the lookup's pattern, then the printer renamed
    bool m_bJobStarted = false;
    bool m_bEnded = false;
};
