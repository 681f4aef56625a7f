// CDownloadProgressDlg (dialog 136): the window around the download
// engine. It owns the engine, forwards WM_RUNJOB and Cancel to it, and
// supplies what the engine asks of its surroundings (JobHost).
#pragma once

#include <memory>

#include "dialog_job_host.h"
#include "download_engine.h"
#include "fx/dialog.h"
#include "job_ticket.h"
#include "percent_bar.h"

#define WM_RUNJOB (WM_USER + 2)

class CDownloadProgressDlg : public CDialog, private DialogJobHost<DownloadJobHost> {
    DECLARE_MESSAGE_MAP()
public:
    // `stack` and `files` must outlive the dialog; the ticket is borrowed.
    CDownloadProgressDlg(ZJobTicket* ticket, PapStack& stack, JobFiles& files, std::string productDir,
                         CWnd* parent = nullptr);
    ~CDownloadProgressDlg() override;

    BOOL OnInitDialog() override;
    void OnCancel() override;
    LRESULT OnRunJob(WPARAM, LPARAM);

    const PAPDownloadEngine& Engine() const { return *m_pEngine; }
    CPercentBar m_wndPercentBar;

private:
    // DownloadJobHost
    void ShowStatus(const std::string& text) override;
    void ShowFileTitle(const std::string& title) override;
    void ShowFileSize(int32_t bytes) override;
    void ShowBytesSent(int32_t bytes) override;
    void SetProgress(int percent) override;
    void ShowError(const std::string& text) override;
    void EndDialog(int code) override;

    ZJobTicket* m_pTicket;
    std::unique_ptr<PAPDownloadEngine> m_pEngine;
    bool m_bEnded = false;
};
