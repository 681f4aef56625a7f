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

void CFormView::ResizeParentToFit()
{
    CFrameWnd* frame = GetParentFrame();
    if (frame == nullptr)
        return;
    frame->RecalcLayout();
    // The form's own size, from its template's dialog units.
    RECT form{0, 0, 0, 0};
    if (HRSRC res = FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(5))) {
        if (auto* tmpl = static_cast<const WORD*>(LockResource(LoadResource(AfxGetResourceHandle(), res)))) {
            // DIALOGEX: cx and cy follow the signature, help id, styles,
            // item count, x and y.
            const bool extended = tmpl[0] == 1 && tmpl[1] == 0xFFFF;
            const BYTE* bytes = reinterpret_cast<const BYTE*>(tmpl);
            const short* size = reinterpret_cast<const short*>(bytes + (extended ? 22 : 14));
            form.right = size[0];
            form.bottom = size[1];
        }
    }
    MapDialogRect(m_hWnd, &form);
    RECT view, outer;
    GetWindowRect(&view);
    frame->GetWindowRect(&outer);
    const int width = (outer.right - outer.left) + (form.right - (view.right - view.left));
    const int height = (outer.bottom - outer.top) + (form.bottom - (view.bottom - view.top));
    ::SetWindowPos(frame->m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout();
}
