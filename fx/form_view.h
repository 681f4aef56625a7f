// CFormView: a view whose window is a dialog template (its style must hold
// WS_CHILD, as DS_CONTROL templates do) laid into its frame. Its controls' commands and notifications go through
// the view's message table, so buttons, menu commands and accelerator keys
// with the same id reach the same handler; data exchange runs through
// DoDataExchange as in a dialog.
#pragma once

#include "fx/dialog.h"  // data exchange
#include "fx/view.h"

class CFormView : public CView {
    DECLARE_DYNAMIC(CFormView)
public:
    explicit CFormView(UINT templateId);

    BOOL Create(CFrameWnd* parent, UINT id, CCreateContext* context) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC*) override {}
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialogMessage() override { return FALSE; }
    // Sizes the parent frame so that its client area holds the form exactly
    // (the template's size), after laying out its bars.
    void ResizeParentToFit();

protected:
    UINT m_nIDTemplate;
};
