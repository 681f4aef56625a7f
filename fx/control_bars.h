// Control bars of a frame: the toolbar (the common toolbar control loaded
// from a toolbar resource and its 16 x 15 button bitmap) and the status bar
// (a message pane and indicator panes). Both take their enabled state from
// the command update query at idle time.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "fx/wnd.h"

// Bar styles.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM;

// Status-bar pane styles.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x0400;
constexpr UINT SBPS_STRETCH = 0x0800;

// Resource type of toolbar resources: version, button width and height,
// count, then one command id per button (0 for a separator).
#define RT_TOOLBAR MAKEINTRESOURCE(241)

class CFrameWnd;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style) { m_dwStyle = style; }
    void EnableDocking(DWORD sides) { m_dwDockStyle = sides; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    // Whether the bar is shown on its frame: its own visible style, so that
    // a frame lays out its bars while it is still hidden.
    bool IsVisible() const { return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0; }
    // Height the bar takes along its side of the frame.
    virtual int CalcHeight() const;
    // Brings buttons or panes in line with the update query of `target`.
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) = 0;

protected:
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = 59392);
    // Loads toolbar resource `id` and the bitmap of the same id.
    BOOL LoadToolBar(UINT id);
    int GetCount() const;
    // Command id of button `index` (0 for a separator).
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    // The window the buttons' commands and notifications go to, when it is
    // not the bar's parent (a bar on a container's window).
    void SetOwner(CWnd* owner) { SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(owner->m_hWnd)); }
    SIZE GetButtonImageSize() const { return m_sizeImage; }
    BOOL IsButtonEnabled(UINT id) const;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

private:
    SIZE m_sizeImage{16, 15};
};

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = 59393);
    // One pane per id: ID_SEPARATOR for the stretching message pane, any
    // other id for an indicator whose text is the string of that id.
    BOOL SetIndicators(const UINT* ids, int count);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int index) const { return m_panes[static_cast<size_t>(index)].id; }
    int CommandToIndex(UINT id) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetPaneStyle(int index) const { return m_panes[static_cast<size_t>(index)].style; }
    void SetPaneStyle(int index, UINT style);
    BOOL SetPaneText(int index, const char* text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    // Right edges of the panes as the control holds them.
    std::vector<int> GetPartEdges() const;
    // Lays the panes out again after a size change.
    void UpdateLayout();
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

private:
    struct Pane {
        UINT id;
        UINT style;
        int cxText;
        CString text;
    };
    std::vector<Pane> m_panes;
    void ApplyPane(int index);
};
