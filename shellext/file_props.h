// "VSXFileExt": the extension for files (drop lists of file names). It
// makes only file records: one AppleShare file gives its file page, several
// names the page of a multiple selection.
#pragma once

#include "shell_ext.h"

class CVSXFileProps : public CVSXShellExt {
    DECLARE_DYNCREATE(CVSXFileProps)
protected:
    HRESULT ReadSelection(IDataObject* data) override;
    void ChoosePages(PageAdder& pages) override;
};
