// What the three shell extensions of VSXPROPS share: the COM object
// (IShellExtInit, IShellPropSheetExt, one reference count, a lock on the
// module for its lifetime), the data object and record it holds between
// Initialize and AddPages, and the steps both calls take. Each extension
// says how it reads the selection and which pages it offers.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstdint>

#include "fx/interface_map.h"
#include "net_info.h"
#include "pages.h"

// COM interfaces have no virtual destructors by design: objects are ended by
// Release, never deleted through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CVSXShellExt : public CCmdTarget, public IShellExtInit, public IShellPropSheetExt {
    DECLARE_DYNAMIC(CVSXShellExt)
    DECLARE_INTERFACE_MAP()
public:
    CVSXShellExt();
    ~CVSXShellExt() override;

    FX_IUNKNOWN_METHODS()

    // IShellExtInit: keeps the data object, reads the selection and builds
    // the record. S_OK, E_FAIL, or the failure of IDataObject::GetData.
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;
    // IShellPropSheetExt: offers the record's pages; always S_OK.
    STDMETHODIMP AddPages(LPFNSVADDPROPSHEETPAGE addPage, LPARAM lParam) override;
    STDMETHODIMP ReplacePage(EXPPS, LPFNSVADDPROPSHEETPAGE, LPARAM) override { return E_NOTIMPL; }

    IDataObject* m_pDataObject = nullptr;
    CNetInfoObj* m_pRecord = nullptr;     // from Initialize until its first page takes it
    CString m_strName;                    // the selected name
    HPROPSHEETPAGE m_hLastPage = nullptr;
    UINT m_cRefParent = 0;                // the pages' parent reference

    // Extensions alive in this module.
    static LONG LiveCount();

protected:
    // Reads the selection of `data` and builds m_pRecord.
    virtual HRESULT ReadSelection(IDataObject* data) = 0;
    // Offers the pages of m_pRecord.
    virtual void ChoosePages(PageAdder& pages) = 0;

    // Replaces the record with one of the kind of the highest-priority bit
    // of `bitmap` (printer, file, folder, volume, server, zone; none: the
    // nameless zone record) made from m_strName. FALSE, and no record, when
    // it could not be filled.
    BOOL CreateInfoObject(uint32_t bitmap);
    void DeleteRecord();
    // The drop list of `format` (global memory) in `data`: its first name
    // into m_strName and the number of names, 0 when it cannot be read or
    // the name is no AppleTalk name. `result` is GetData's.
    UINT ReadDroppedNames(IDataObject* data, UINT format, HRESULT& result);
};
#pragma GCC diagnostic pop

// The kind CreateInfoObject makes for a bitmap.
int16_t KindOfBitmap(uint32_t bitmap);
// A new record of `kind` for `name` (the nameless zone record for none).
CNetInfoObj* NewInfoObject(int16_t kind, const char* name);
