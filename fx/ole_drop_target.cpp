#include "fx/ole_drop_target.h"

#include <ole2.h>

#include "fx/wnd.h"

#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Every drag over the window is answered "no drop here".
struct COleDropTarget::Target final : public IDropTarget {
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *out = static_cast<IDropTarget*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The target lives as long as its COleDropTarget, which revokes it
    // first; the references OLE takes do not own it.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override { return Refuse(effect); }
    STDMETHODIMP DragOver(DWORD, POINTL, DWORD* effect) override { return Refuse(effect); }
    STDMETHODIMP DragLeave() override { return S_OK; }
    STDMETHODIMP Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override { return Refuse(effect); }

private:
    static HRESULT Refuse(DWORD* effect)
    {
        if (effect != nullptr)
            *effect = DROPEFFECT_NONE;
        return S_OK;
    }
};

COleDropTarget::COleDropTarget() : m_pTarget(new Target) {}

COleDropTarget::~COleDropTarget()
{
    Revoke();
    delete m_pTarget;
}

BOOL COleDropTarget::Register(CWnd* wnd)
{
    if (wnd == nullptr || m_hWnd != nullptr || FAILED(RegisterDragDrop(wnd->m_hWnd, m_pTarget)))
        return FALSE;
    m_hWnd = wnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_hWnd != nullptr && IsWindow(m_hWnd))
        RevokeDragDrop(m_hWnd);
    m_hWnd = nullptr;
}
