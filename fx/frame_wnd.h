// CFrameWnd: a window with a menu, accelerators, control bars and a view.
// It routes commands to its active view first (and from there to the
// document and its template), then takes them itself; a top-level frame
// finally offers them to the application.
#pragma once

#include <vector>

#include "fx/control_bars.h"
#include "fx/fx_ids.h"
#include "fx/wnd.h"

class CView;
class CDocument;
class CDocTemplate;

// Frame style bit: the title shows the active document's name.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
// ... with the document's name first ("Doc - Program").
constexpr DWORD FWS_PREFIXTITLE = 0x00004000;

// What a frame needs to make its view when a template creates it.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
    DECLARE_MESSAGE_MAP()
public:
    CFrameWnd() = default;

    CString m_strTitle;
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDResource = 0;
    BOOL m_bAutoMenuEnable = TRUE;  // commands nobody handles are disabled

    // The framework's window class of single-document main frames and
    // views; registered on demand.
    static const char* kWndClass;
    static BOOL RegisterFrameClass();

    // Creates the frame from resource `id`: title (first line of string
    // `id`), menu, accelerators and icon of that id. On failure the frame
    // object is gone (deleted), like a frame whose window was destroyed.
    virtual BOOL LoadFrame(UINT id, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view);
    virtual CDocument* GetActiveDocument();
    // The frame whose view is active: this one, or the active MDI child.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // Creates the view of `context` as this frame's client pane.
    CView* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);

    // Bars: registered by their Create, placed by RecalcLayout.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    CControlBar* GetControlBar(UINT id) const;
    void ShowControlBar(CControlBar* bar, BOOL show);
    void EnableDocking(DWORD sides) { m_dwDockSides = sides; }
    void DockControlBar(CControlBar* bar);
    virtual void RecalcLayout();

    // The message pane of the status bar.
    virtual void SetMessageText(const char* text);
    void SetMessageText(UINT id);
    // The prompt of command `id`: its string before the first "\n".
    virtual void GetMessageString(UINT id, CString& text) const;

    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    void UpdateFrameTitleForDocument(const char* docName);
    // Asks the update query for every bar (the application calls it at idle).
    virtual void OnIdleUpdateCmdUI();

    BOOL OnCmdMsg(UINT id, int code, void* pExtra, CommandHandlerInfo* pHandlerInfo) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }

protected:
    CView* m_pViewActive = nullptr;
    std::vector<CControlBar*> m_controlBars;
    DWORD m_dwDockSides = 0;
    UINT m_nIdleFlags = 0;

    virtual BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context);
    void PostNcDestroy() override;
    // Space left for the client area after the bars; RecalcLayout places
    // the view or the MDI client there.
    RECT LayoutBars();

    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(HWND oldFocus);
    void OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnDropFiles(HDROP drop);
    LRESULT OnExitMenuLoop(WPARAM, LPARAM);
    LRESULT OnSetMessageString(WPARAM, LPARAM);
    void OnToolbarHotItem(NMHDR* hdr, LRESULT* result);
    void OnViewToolbar() { ToggleBar(AFX_IDW_TOOLBAR); }
    void OnViewStatusBar() { ToggleBar(AFX_IDW_STATUS_BAR); }
    void OnUpdateViewToolbar(CCmdUI* ui) { UpdateBarCheck(ui, AFX_IDW_TOOLBAR); }
    void OnUpdateViewStatusBar(CCmdUI* ui) { UpdateBarCheck(ui, AFX_IDW_STATUS_BAR); }
    void OnUpdateKeyIndicator(CCmdUI* ui);
    LRESULT OnDDEInitiate(WPARAM client, LPARAM lParam);
    LRESULT OnDDEExecute(WPARAM client, LPARAM lParam);
    LRESULT OnDDETerminate(WPARAM client, LPARAM lParam);

private:
    void ToggleBar(UINT id);
    void UpdateBarCheck(CCmdUI* ui, UINT id);
    void ShowPromptOrIdle(UINT id);
};

// The private message by which a frame shows a prompt (wParam: string id).
constexpr UINT WM_SETMESSAGESTRING = 0x0362;
