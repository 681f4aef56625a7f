// The printer type window of VestrelUtil, run in process through its real
// frame, form and list, against a real atnetd whose folder is the
// installation folder; with what its tests do to the window.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "atnetd_process.h"
#include "fx/doc_template.h"
#include "message_box_recorder.h"
#include "shell_fixture.h"
#include "tables/dev_type_entry.h"
#include "util/devtype/devtype_doc.h"
#include "util/devtype/devtype_view.h"
#include "util/resource.h"

class DevTypeWindow : public ShellTest {
protected:
    attest::AtnetdProcess service;
    std::unique_ptr<vtest::InstallFolderOverride> installFolder;
    std::vector<MessageBoxRequest> boxes;
    std::deque<int> answers;  // the buttons the next message boxes get
    std::unique_ptr<vtest::MessageBoxRecorder> messages;

    void SetUp() override
    {
        ASSERT_TRUE(service.StartWorldFile(attest::WinePath(SAMPLE_WORLD)));
        installFolder = std::make_unique<vtest::InstallFolderOverride>(service.Dir());
        messages = std::make_unique<vtest::MessageBoxRecorder>(boxes, answers);
        ShellTest::SetUp();
    }

    void TearDown() override
    {
        for (CDocTemplate* t : {app ? app->m_pTypesTemplate : nullptr})
            if (t != nullptr)
                for (CDocument* doc : t->GetDocuments())
                    doc->SetModifiedFlag(FALSE);  // no save prompt at the end
        ShellTest::TearDown();
        messages.reset();
        installFolder.reset();
    }

    std::string TablePath() const { return service.Dir() + "Printers.PAPTypes"; }
    void WriteTable(const std::string& text) const { attest::WriteFile(TablePath(), text); }
    std::string ReadTable() const { return attest::ReadFile(TablePath()); }
    size_t Notifications() const { return service.TraceOf("tarpin.notify").size(); }

    // Printer > Printer Type Entry ...: the view of the window it opened.
    CDevTypeView* OpenWindow()
    {
        return dynamic_cast<CDevTypeView*>(OpenWindowOf(app->m_pTypesTemplate, ID_PRINTER_TYPE_ENTRY));
    }

    static void Type(CDevTypeView* view, int id, const char* text) { view->SetDlgItemText(id, text); }
    static void SetBox(CDevTypeView* view, bool checked)
    {
        CheckDlgButton(view->m_hWnd, IDC_DEVTYPE_POSTSCRIPT, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    static void Press(CDevTypeView* view, int id)
    {
        view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(view->GetDlgItem(id)));
        PumpWaitingMessages();
    }
    static bool Enabled(CDevTypeView* view, int id) { return IsWindowEnabled(view->GetDlgItem(id)) != FALSE; }
    static void Select(CDevTypeView* view, int row)
    {
        view->m_listCtrl.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        PumpWaitingMessages();
    }
    static void ClickHeader(CDevTypeView* view, int column) { ClickListHeader(view, IDC_DEVTYPE_LIST, column); }
    // A new row through the entry area: New, the fields, Accept.
    static void AddRow(CDevTypeView* view, const char* type, bool postScript, const char* remark)
    {
        Press(view, IDC_DEVTYPE_NEW);
        Type(view, IDC_DEVTYPE_TYPE, type);
        SetBox(view, postScript);
        Type(view, IDC_DEVTYPE_REMARK, remark);
        Press(view, IDC_DEVTYPE_ACCEPT);
    }
    // What the list shows, row by row, as "type|PostScript|remark".
    static std::vector<std::string> Shown(CDevTypeView* view)
    {
        std::vector<std::string> rows;
        for (int i = 0; i < view->m_listCtrl.GetItemCount(); ++i)
            rows.push_back(view->m_listCtrl.GetItemText(i, 0) + "|" + view->m_listCtrl.GetItemText(i, 1) + "|" +
                           view->m_listCtrl.GetItemText(i, 2));
        return rows;
    }
    // The entry area's state: "idle", "new" or "loaded".
    static std::string EntryState(CDevTypeView* view)
    {
        const bool fields = Enabled(view, IDC_DEVTYPE_TYPE) && Enabled(view, IDC_DEVTYPE_REMARK);
        const bool accept = Enabled(view, IDC_DEVTYPE_ACCEPT), del = Enabled(view, IDC_DEVTYPE_DELETE);
        if (!fields && !accept && !del && !view->m_bNewEntry && view->m_nEditItem == -1 &&
            view->GetDlgItemText(IDC_DEVTYPE_TYPE).empty())
            return "idle";
        if (fields && accept && !del && view->m_bNewEntry && view->m_nEditItem == -1)
            return "new";
        if (fields && accept && del && !view->m_bNewEntry && view->m_nEditItem >= 0)
            return "loaded";
        return "mixed";
    }
    std::string PaneText(UINT id)
    {
        app->OnIdle(0);
        int index = frame->m_wndStatusBar.CommandToIndex(id);
        char text[64] = "";
        frame->m_wndStatusBar.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
};
