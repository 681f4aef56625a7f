// "VSXNetExt": the extension for network objects (a "Net Resource" block)
// and drive selections (drop lists). It makes every kind of record but the
// file's: a file's name gives the nameless zone record.
#pragma once

#include "shell_ext.h"

class CVSXNetProps : public CVSXShellExt {
    DECLARE_DYNCREATE(CVSXNetProps)
public:
    CVSXNetProps();

    UINT m_cfNetResource;  // the registered clipboard format "Net Resource"

protected:
    HRESULT ReadSelection(IDataObject* data) override;
    void ChoosePages(PageAdder& pages) override;
};
