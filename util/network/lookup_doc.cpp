#include "util/network/lookup_doc.h"

#include "fx/fx_ids.h"
#include "fx/message_box.h"
#include "fx/view.h"
#include "tables/table_file.h"
#include "util/network/lookup_item.h"
#include "util/network/lookup_text.h"
#include "util/network/lookup_view.h"

IMPLEMENT_DYNCREATE(CVestrelLookupDoc, CDocument)

std::string CVestrelLookupDoc::ListingText() const
{
    std::string text;
    if (m_pListCtrl == nullptr || m_pListCtrl->m_hWnd == nullptr)
        return text;
    for (int i = 0; i < m_pListCtrl->GetItemCount(); ++i)
        if (const auto* item = reinterpret_cast<const LookupItem*>(m_pListCtrl->GetItemData(i)))
            text += ListingLine(item->m_strName, item->m_strType, item->m_strAddress);
    return text;
}

BOOL CVestrelLookupDoc::OnOpenDocument(const char* path)
{
    // Nothing is read: the window looks the network up again.
    return CDocument::OnOpenDocument(path);
}

BOOL CVestrelLookupDoc::OnSaveDocument(const char* path)
{
    if (path != nullptr && WriteTableFile(path, ListingText()))
        return TRUE;
    AfxMessageBox(FxFormatStrings(FxLoadString(AFX_IDP_FAILED_TO_SAVE_DOC).c_str(), {path ? path : ""}).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

void CVestrelLookupDoc::OnCloseDocument()
{
    // The view ends its requests and frees its images and items first.
    if (!m_viewList.empty() && m_viewList.front()->m_hWnd != nullptr)
        m_viewList.front()->SendMessage(CVestrelLookupView::WM_RELEASE_LIST);
    m_pListCtrl = nullptr;
    CDocument::OnCloseDocument();
}
