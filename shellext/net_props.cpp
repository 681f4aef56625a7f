#include "net_props.h"

#include <cstring>

#include "change_password_dlg.h"
#include "fx/message_box.h"
#include "molven32.h"
#include "resource.h"
#include "selection.h"
#include "server_info.h"
#include "volume_info.h"

IMPLEMENT_DYNCREATE(CVSXNetProps, CVSXShellExt)

BEGIN_INTERFACE_MAP(CVSXNetProps, CVSXShellExt)
    INTERFACE_PART(IID_IContextMenu, IContextMenu)
END_INTERFACE_MAP()

CVSXNetProps::CVSXNetProps() : m_cfNetResource(RegisterClipboardFormatA("Net Resource")) {}

CVSXNetProps::~CVSXNetProps()
{
    delete m_pMenuRecord;
}

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

STDMETHODIMP CVSXNetProps::QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT, UINT)
{
    CNetInfoObj* record = m_pRecord;
    m_pRecord = nullptr;
    const bool offered = record != nullptr && record->m_nKind == NETOBJ_SERVER &&
                         (record->m_wAttributes & NA_ALLOWSCHANGEPWD) && record->GetDateAt(1).has_value();
    if (!offered) {
        delete record;
        return E_FAIL;
    }
    InsertMenuA(menu, index, MF_BYPOSITION, firstId, FxLoadString(IDS_CHANGE_PASSWORD_ITEM).c_str());
    delete m_pMenuRecord;
    m_pMenuRecord = record;
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
}

STDMETHODIMP CVSXNetProps::InvokeCommand(CMINVOKECOMMANDINFO* info)
{
    if (info == nullptr || HIWORD(reinterpret_cast<ULONG_PTR>(info->lpVerb)) != 0)
        return E_FAIL;
    if (LOWORD(reinterpret_cast<ULONG_PTR>(info->lpVerb)) != 0)
        return E_INVALIDARG;
    if (m_pMenuRecord == nullptr)
        return E_FAIL;  // no menu was made with the command
    ChangeServerPassword(info->hwnd);
    return S_OK;
}

STDMETHODIMP CVSXNetProps::GetCommandString(UINT_PTR, UINT type, UINT*, CHAR* name, UINT size)
{
    if (type != 0)
        return E_INVALIDARG;
    if (name != nullptr && size > 0)
        lstrcpynA(name, FxLoadString(IDS_CHANGE_PASSWORD_HELP).c_str(), static_cast<int>(size));
    return S_OK;
}

void CVSXNetProps::ChangeServerPassword(HWND owner)
{
    auto* server = static_cast<CServerInfoObj*>(m_pMenuRecord);
    const CString caption = FxLoadString(IDS_PRODUCT_CAPTION);
    CString password = server->m_strPassword;
    UINT text = IDS_NO_PASSWORD_CHANGE;
    UINT icon = MB_ICONINFORMATION;
    if (RunChangePasswordDialog(owner, password)) {
        const bool changed = AFPChangeSrvrPassword(server->m_strPath.c_str(), server->m_strPassword.c_str(),
                                                   password.c_str()) == 0;
        text = changed ? IDS_PASSWORD_CHANGED : IDS_PASSWORD_CHANGE_FAILED;
        icon = changed ? MB_ICONINFORMATION : MB_ICONERROR;
        // The session now holds the new password: a second change from
        // this menu starts from it.
        if (changed)
            server->m_strPassword = password;
    }
    FxMessageBox(nullptr, FxLoadString(text).c_str(), caption.c_str(), MB_OK | icon);
}
