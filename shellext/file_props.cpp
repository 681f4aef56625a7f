#include "file_props.h"

#include "resource.h"

IMPLEMENT_DYNCREATE(CVSXFileProps, CVSXShellExt)

HRESULT CVSXFileProps::ReadSelection(IDataObject* data)
{
    HRESULT hr = S_OK;
    const UINT count = ReadDroppedNames(data, CF_HDROP, hr);
    if (FAILED(hr))
        return hr;
    if (count == 0)
        return E_FAIL;
    // Several names: no stack call beyond the first name's check.
    if (!CreateInfoObject(count == 1 ? NETOBJ_FILE : 0))
        return E_FAIL;
    if (count > 1)
        m_pRecord->m_bMultiple = 1;
    return S_OK;
}

void CVSXFileProps::ChoosePages(PageAdder& pages)
{
    if (m_pRecord->m_bMultiple)
        pages.AddFirst(IDD_MULTIPLE_PAGE);
    else if (m_pRecord->m_nKind == NETOBJ_FILE)
        pages.AddFirst(IDD_FILE_PAGE);
}
