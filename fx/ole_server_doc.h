// COleServerDoc: a document that an OLE container embeds and activates in
// place. A client makes one through the template's class factory (hidden,
// with its frame and view); the container then gives it a site and a
// storage, asks for its picture and data, and activates it:
//  - in place: an in-place frame (the template's COleIPFrameWnd class) is
//    made a child of the container's window, the document's view moves into
//    it, the server's menus (resource "in place") merge with the
//    container's, and its control bars go on the container's frame;
//  - in its own window: the document's frame is shown with the menu and
//    keys of resource "embedded" (Update, Save Copy As).
// The document's data goes into the container's storage as the stream
// "Contents", written and read by its embedded item's Serialize.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

#include "fx/document.h"

class CDocTemplate;
class CFrameWnd;
class CView;
class COleIPFrameWnd;
class COleServerItem;
struct FxServerObject;

class COleServerDoc : public CDocument {
    DECLARE_DYNAMIC(COleServerDoc)
    DECLARE_MESSAGE_MAP()
public:
    COleServerDoc();
    ~COleServerDoc() override;

    // Made for a container (and not opened by the user).
    BOOL IsEmbedded() const { return m_bEmbedded; }
    BOOL IsInPlaceActive() const { return m_pInPlaceFrame != nullptr; }
    COleIPFrameWnd* GetInPlaceFrame() const { return m_pInPlaceFrame; }
    const CLSID& GetClassId() const { return m_clsid; }
    // The document's item as containers embed it, made on first use.
    COleServerItem* GetEmbeddedItem();
    // The object a container holds, with one more reference; null when the
    // document is not embedded.
    IUnknown* GetOleObject();

    // A new embedding (the container's InitNew); by default OnNewDocument.
    virtual void OnNewEmbedding();
    // The document's data as its item serializes it, and back.
    BOOL SaveEmbedding(std::string& bytes);
    BOOL LoadEmbedding(const std::string& bytes);
    // Reads the document again from the container's storage; FALSE when
    // there is none or it cannot be read (nothing changes then).
    BOOL ReloadFromStorage();

    // Activation in place. FALSE when the container cannot activate in
    // place (the document then opens in its own window).
    BOOL ActivateInPlace();
    // Ends it: the view goes back into the document's frame.
    void DeactivateInPlace();
    // Ends the activation's user interface (menus, bars) and tells the
    // container, which decides whether to end the activation.
    virtual void OnDeactivateUI(BOOL bUndoable);
    // Shows or hides the document in its own window.
    virtual void OnShowDocument(BOOL show);
    // The container saves the document into its storage (Update).
    BOOL UpdateContainer();
    // Names the container's document: the title becomes "Doc in Container".
    void SetHostNames(const char* containerApp, const char* containerObject);
    // Asks the container to give the object `rect` (the resize bar).
    void RequestPositionChange(const RECT& rect);

    void OnCloseDocument() override;
    // For an embedded document: "Update CONTAINER?" when modified.
    BOOL SaveModified() override;

protected:
    // The document's embedded item; the document deletes it.
    virtual COleServerItem* OnGetEmbeddedItem() = 0;
    void OnFileUpdate();
    void OnFileSaveCopyAs();

private:
    friend struct FxServerObject;
    friend CDocument* FxCreateDocumentForClient(CDocTemplate* tmpl, REFCLSID clsid);

    BOOL m_bEmbedded = FALSE;
    CLSID m_clsid{};
    CString m_strHostObj;
    COleServerItem* m_pEmbeddedItem = nullptr;
    FxServerObject* m_pObject = nullptr;  // the COM object; it holds the client's interfaces
    COleIPFrameWnd* m_pInPlaceFrame = nullptr;
    CFrameWnd* m_pOrigFrame = nullptr;    // the frame the view lives in when not in place
    BOOL m_bUIActive = FALSE;
    BOOL m_bClosing = FALSE;

    CView* FirstView() const;
    void DeactivateUI(BOOL notifyContainer);
};

// Makes a new document of `tmpl` for a client of class `clsid`: hidden,
// embedded when it is a server document.
CDocument* FxCreateDocumentForClient(CDocTemplate* tmpl, REFCLSID clsid);
