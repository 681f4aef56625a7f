// CKorvelView: the form of Korvel's window (template 130) on the extension
// map's shared form. It finds the map file, loads it (or the built-in map)
// when it is first shown and on Revert, and lets the main frame record the
// size it fitted the window to.
#pragma once

#include "tables/korvel_form_view.h"

class CKorvelDoc;

class CKorvelView : public CKorvelFormView {
    DECLARE_DYNCREATE(CKorvelView)
    DECLARE_MESSAGE_MAP()
public:
    CKorvelDoc* GetKorvelDoc() const;

protected:
    CTableContents<CKorvelEntry>* GetTableContents() const override;
    // The map file: the document's own when a file was named on the command
    // line, otherwise "Korvel.AFPMap" in the installation folder (or beside
    // the program).
    void LoadInitialTable() override;
    bool RevertTable() override;
    void OnFrameFitted(CFrameWnd* frame) override;
    // Esc while active in place: the activation ends.
    void OnCancelEditSrvr();
};
