#include "shell_ext.h"

#include "directory_info.h"
#include "file_info.h"
#include "fx/ole.h"
#include "printer_info.h"
#include "selection.h"
#include "server_info.h"
#include "volume_info.h"
#include "zone_info.h"

namespace {
LONG g_liveExtensions = 0;
}

IMPLEMENT_DYNAMIC(CVSXShellExt, CCmdTarget)

BEGIN_INTERFACE_MAP(CVSXShellExt, CCmdTarget)
    INTERFACE_PART(IID_IShellExtInit, IShellExtInit)
    INTERFACE_PART(IID_IShellPropSheetExt, IShellPropSheetExt)
END_INTERFACE_MAP()

CVSXShellExt::CVSXShellExt()
{
    AfxOleLockApp();
    InterlockedIncrement(&g_liveExtensions);
}

CVSXShellExt::~CVSXShellExt()
{
    if (m_pDataObject != nullptr)
        m_pDataObject->Release();
    DeleteRecord();
    InterlockedDecrement(&g_liveExtensions);
    AfxOleUnlockApp();
}

LONG CVSXShellExt::LiveCount()
{
    return InterlockedCompareExchange(&g_liveExtensions, 0, 0);
}

void CVSXShellExt::DeleteRecord()
{
    delete m_pRecord;
    m_pRecord = nullptr;
}

STDMETHODIMP CVSXShellExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY)
{
    if (m_pDataObject != nullptr) {
        m_pDataObject->Release();
        m_pDataObject = nullptr;
    }
    if (data == nullptr)
        return E_FAIL;
    m_pDataObject = data;
    m_pDataObject->AddRef();
    return ReadSelection(data);
}

STDMETHODIMP CVSXShellExt::AddPages(LPFNSVADDPROPSHEETPAGE addPage, LPARAM lParam)
{
    if (m_pRecord != nullptr && addPage != nullptr) {
        PageAdder pages(this, addPage, lParam);
        ChoosePages(pages);
    }
    return S_OK;
}

int16_t KindOfBitmap(uint32_t bitmap)
{
    for (int16_t kind : {NETOBJ_PRINTER, NETOBJ_FILE, NETOBJ_FOLDER, NETOBJ_VOLUME, NETOBJ_SERVER, NETOBJ_ZONE})
        if (bitmap & static_cast<uint16_t>(kind))
            return kind;
    return NETOBJ_NONE;
}

CNetInfoObj* NewInfoObject(int16_t kind, const char* name)
{
    switch (kind) {
    case NETOBJ_ZONE:
        return new CZoneInfoObj(name);
    case NETOBJ_SERVER:
        return new CServerInfoObj(name);
    case NETOBJ_VOLUME:
        return new CVolumeInfoObj(name);
    case NETOBJ_FOLDER:
        return new CDirectoryInfoObj(name);
    case NETOBJ_FILE:
        return new CFileInfoObj(name);
    case NETOBJ_PRINTER:
        return new CPrinterInfoObj(name);
    default:
        return new CZoneInfoObj();
    }
}

UINT CVSXShellExt::ReadDroppedNames(IDataObject* data, UINT format, HRESULT& result)
{
    FORMATETC wanted{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    result = data->GetData(&wanted, &medium);
    if (FAILED(result))
        return 0;
    const UINT count = GetFirstDroppedName(medium, m_strName);
    ReleaseStgMedium(&medium);
    return count;
}

BOOL CVSXShellExt::CreateInfoObject(uint32_t bitmap)
{
    DeleteRecord();
    CNetInfoObj* record = NewInfoObject(KindOfBitmap(bitmap), m_strName.c_str());
    if (!record->m_bValid) {
        delete record;
        return FALSE;
    }
    m_pRecord = record;
    return TRUE;
}
