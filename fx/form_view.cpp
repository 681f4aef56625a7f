#include "fx/form_view.h"

#include "fx/document.h"

IMPLEMENT_DYNAMIC(CFormView, CView)

CFormView::CFormView(UINT templateId) : m_nIDTemplate(templateId)
{
    m_bDialogManaged = true;
}

BOOL CFormView::Create(CFrameWnd* parent, UINT id, CCreateContext* context)
{
    if (context != nullptr && context->m_pCurrentDoc != nullptr)
        context->m_pCurrentDoc->AddView(this);
    FxSetWindowBeingCreated(this);
    HWND h = CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), parent->m_hWnd,
                                &CWnd::FxDlgProc, 0);
    const bool attached = FxTakeWindowBeingCreated() == nullptr;  // taken by the first message
    if (h == nullptr) {
        if (!attached)
            delete this;  // never a window: nobody else will delete it
        return FALSE;
    }
    // The form (its template has WS_CHILD) is the frame's client pane.
    SetWindowLongPtrA(h, GWLP_ID, static_cast<LONG_PTR>(id));
    RECT r;
    parent->GetClientRect(&r);
    ::MoveWindow(h, 0, 0, r.right, r.bottom, TRUE);
    ::ShowWindow(h, SW_SHOW);
    return TRUE;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
}

BOOL CFormView::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    // The frames' accelerators first: the dialog manager would take every
    // key of the form's controls.
    for (CFrameWnd* frame = GetParentFrame(); frame != nullptr; frame = frame->GetParentFrame())
        if (frame->PreTranslateMessage(msg))
            return TRUE;
    // Then tab, arrow and mnemonic keys of the form's controls.
    return ::IsDialogMessageA(m_hWnd, msg);
}
