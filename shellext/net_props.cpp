#include "net_props.h"

#include "molven32.h"
#include "resource.h"
#include "selection.h"
#include "volume_info.h"

IMPLEMENT_DYNCREATE(CVSXNetProps, CVSXShellExt)

CVSXNetProps::CVSXNetProps() : m_cfNetResource(RegisterClipboardFormatA("Net Resource")) {}

HRESULT CVSXNetProps::ReadSelection(IDataObject* data)
{
    HRESULT hr = S_OK;
    UINT count = ReadDroppedNames(data, CF_HDROP, hr);
    if (FAILED(hr)) {
        FORMATETC format{static_cast<CLIPFORMAT>(m_cfNetResource), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        hr = data->GetData(&format, &medium);
        if (FAILED(hr))
            return hr;
        count = GetNetResourceName(medium, m_strName);
        ReleaseStgMedium(&medium);
    }
    if (count == 0)
        return E_FAIL;
    // This extension never makes file records.
    const uint32_t bitmap = count == 1 ? AFPGetNameBitmap(m_strName.c_str()) & ~uint32_t{NETOBJ_FILE} : 0;
    if (!CreateInfoObject(bitmap))
        return E_FAIL;
    if (count > 1)
        m_pRecord->m_bMultiple = 1;
    return S_OK;
}

void CVSXNetProps::ChoosePages(PageAdder& pages)
{
    CNetInfoObj* record = m_pRecord;
    switch (record->m_nKind) {
    case NETOBJ_ZONE:
        pages.AddFirst(record->m_bMultiple ? IDD_MULTIPLE_PAGE : IDD_ZONE_PAGE);
        break;
    case NETOBJ_SERVER:
        if (pages.AddFirst(IDD_SERVER_PAGE))
            pages.AddSecond(IDD_SERVER_ADVANCED_PAGE, record);
        break;
    case NETOBJ_VOLUME: {
        // The root's page comes second, titled "Access Privileges".
        CDirectoryInfoObj* root = static_cast<CVolumeInfoObj*>(record)->m_pRoot.get();
        if (pages.AddFirst(IDD_VOLUME_PAGE) && root != nullptr && root->m_bValid)
            pages.AddSecond(IDD_FOLDER_PAGE, root, IDS_ACCESS_PRIVILEGES);
        break;
    }
    case NETOBJ_FOLDER:
        pages.AddFirst(IDD_FOLDER_PAGE);
        break;
    case NETOBJ_PRINTER:
        pages.AddFirst(IDD_PRINTER_PAGE);
        break;
    default:
        DeleteRecord();
        break;
    }
}
