// "VSXNetExt": the extension for network objects (a "Net Resource" block)
// and drive selections (drop lists). It makes every kind of record but the
// file's: a file's name gives the nameless zone record. On the context menu
// of a server whose session allows it, it offers "Change Server Password".
#pragma once

#include <shobjidl.h>

#include "shell_ext.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CVSXNetProps : public CVSXShellExt, public IContextMenu {
    DECLARE_DYNCREATE(CVSXNetProps)
    DECLARE_INTERFACE_MAP()
public:
    CVSXNetProps();
    ~CVSXNetProps() override;

    FX_IUNKNOWN_METHODS()

    // IContextMenu. The menu takes the record Initialize made: a server
    // record that allows a password change and has a session adds the
    // command (1 returned); any other record is deleted (E_FAIL).
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) override;
    // Command offset 0 runs the password change; S_OK.
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    // The help text of the command (type 0).
    STDMETHODIMP GetCommandString(UINT_PTR id, UINT type, UINT* reserved, CHAR* name, UINT size) override;

    UINT m_cfNetResource;                   // the registered clipboard format "Net Resource"
    CNetInfoObj* m_pMenuRecord = nullptr;   // the server record the command works on

protected:
    HRESULT ReadSelection(IDataObject* data) override;
    void ChoosePages(PageAdder& pages) override;

private:
    void ChangeServerPassword(HWND owner);
};
#pragma GCC diagnostic pop
