#include "fx/control_bars.h"

#include "fx/frame_wnd.h"
#include "fx/fx_ids.h"
#include "fx/module.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

int CControlBar::CalcHeight() const
{
    if (!IsVisible())
        return 0;
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    return r.bottom - r.top;
}

namespace {

// Attaches a common control created for a frame and registers it as one of
// the frame's bars.
BOOL AttachBar(CControlBar* bar, HWND hwnd, CWnd* parent)
{
    if (hwnd == nullptr || !bar->Attach(hwnd))
        return FALSE;
    if (parent->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        static_cast<CFrameWnd*>(parent)->AddControlBar(bar);
    return TRUE;
}

class CToolCmdUI : public CCmdUI {
public:
    HWND toolbar = nullptr;
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        SendMessageA(toolbar, TB_ENABLEBUTTON, m_nID, MAKELONG(on ? TRUE : FALSE, 0));
    }
    void SetCheck(int check) override
    {
        SendMessageA(toolbar, TB_CHECKBUTTON, m_nID, MAKELONG(check != 0, 0));
    }
};

class CStatusCmdUI : public CCmdUI {
public:
    CStatusBar* bar = nullptr;
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~SBPS_DISABLED;
        bar->SetPaneStyle(static_cast<int>(m_nIndex), on ? style : style | SBPS_DISABLED);
    }
    void SetCheck(int check) override
    {
        UINT style = bar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~SBPS_POPOUT;
        bar->SetPaneStyle(static_cast<int>(m_nIndex), check ? style | SBPS_POPOUT : style);
    }
    void SetText(const char* text) override { bar->SetPaneText(static_cast<int>(m_nIndex), text); }
};

}  // namespace

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    m_dwStyle = style & (CBRS_ALIGN_ANY | CBRS_BORDER_BOTTOM | CBRS_TOOLTIPS | CBRS_FLYBY);
    DWORD ws = (style & (WS_CHILD | WS_VISIBLE)) | WS_CHILD | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP;
    HWND h = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, ws, 0, 0, 0, 0, parent->m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), nullptr);
    if (!AttachBar(this, h, parent))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT id)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), RT_TOOLBAR);
    HGLOBAL data = res ? LoadResource(module, res) : nullptr;
    const WORD* words = data ? static_cast<const WORD*>(LockResource(data)) : nullptr;
    if (words == nullptr || SizeofResource(module, res) < 8 || words[0] != 1)
        return FALSE;
    const WORD count = words[3];
    if (SizeofResource(module, res) < 8u + 2u * count)
        return FALSE;
    m_sizeImage = {words[1], words[2]};
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(m_sizeImage.cx, m_sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(m_sizeImage.cx + 7, m_sizeImage.cy + 7));

    std::vector<TBBUTTON> buttons;
    int images = 0;
    for (WORD i = 0; i < count; ++i) {
        TBBUTTON b{};
        b.idCommand = words[4 + i];
        if (b.idCommand == 0) {
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = images++;
            b.fsStyle = BTNS_BUTTON;
            b.fsState = TBSTATE_ENABLED;
        }
        buttons.push_back(b);
    }
    TBADDBITMAP bitmap{module, id};
    if (SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&bitmap)) < 0)
        return FALSE;
    if (!SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())))
        return FALSE;
    SendMessage(TB_AUTOSIZE);
    return TRUE;
}

int CToolBar::GetCount() const
{
    return static_cast<int>(SendMessage(TB_BUTTONCOUNT));
}

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON b{};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b)))
        return 0;
    return (b.fsStyle & BTNS_SEP) ? 0 : static_cast<UINT>(b.idCommand);
}

int CToolBar::CommandToIndex(UINT id) const
{
    return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id));
}

BOOL CToolBar::IsButtonEnabled(UINT id) const
{
    return SendMessage(TB_ISBUTTONENABLED, id) != 0;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CToolCmdUI ui;
    ui.toolbar = m_hWnd;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        UINT id = GetItemID(i);
        if (id == 0)
            continue;
        ui.m_nID = id;
        ui.m_nIndex = static_cast<UINT>(i);
        ui.DoUpdate(target, disableIfNoHandler);
    }
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    m_dwStyle = style & CBRS_ALIGN_ANY;
    DWORD ws = (style & (WS_CHILD | WS_VISIBLE)) | WS_CHILD | SBARS_SIZEGRIP;
    HWND h = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, ws, 0, 0, 0, 0, parent->m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), nullptr);
    return AttachBar(this, h, parent);
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    m_panes.clear();
    HDC dc = GetDC(m_hWnd);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    BOOL ok = TRUE;
    for (int i = 0; i < count; ++i) {
        Pane pane{ids[i], SBPS_NORMAL, 0, {}};
        if (pane.id == ID_SEPARATOR) {
            pane.style = SBPS_NOBORDERS | SBPS_STRETCH;
        } else {
            if (!pane.text.LoadString(pane.id))
                ok = FALSE;
            SIZE size{};
            GetTextExtentPoint32A(dc, pane.text.c_str(), pane.text.GetLength(), &size);
            pane.cxText = size.cx;
        }
        m_panes.push_back(pane);
    }
    if (old)
        SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);
    UpdateLayout();
    return ok;
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id)
            return static_cast<int>(i);
    return -1;
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    const Pane& p = m_panes[static_cast<size_t>(index)];
    id = p.id;
    style = p.style;
    width = p.cxText;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    Pane& p = m_panes[static_cast<size_t>(index)];
    p.id = id;
    p.style = style;
    p.cxText = width;
    UpdateLayout();
}

void CStatusBar::SetPaneStyle(int index, UINT style)
{
    Pane& p = m_panes[static_cast<size_t>(index)];
    if (p.style == style)
        return;
    p.style = style;
    ApplyPane(index);
}

BOOL CStatusBar::SetPaneText(int index, const char* text, BOOL update)
{
    if (index < 0 || static_cast<size_t>(index) >= m_panes.size())
        return FALSE;
    Pane& p = m_panes[static_cast<size_t>(index)];
    if (p.text == text)
        return TRUE;
    p.text = text;
    if (update)
        ApplyPane(index);
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const
{
    return m_panes[static_cast<size_t>(index)].text;
}

void CStatusBar::ApplyPane(int index)
{
    const Pane& p = m_panes[static_cast<size_t>(index)];
    // A disabled indicator shows nothing; its text is kept for when it
    // comes back.
    const char* shown = (p.style & SBPS_DISABLED) ? "" : p.text.c_str();
    WPARAM drawing = (p.style & SBPS_NOBORDERS) ? SBT_NOBORDERS : (p.style & SBPS_POPOUT) ? SBT_POPOUT : 0;
    SendMessage(SB_SETTEXTA, static_cast<WPARAM>(index) | drawing, reinterpret_cast<LPARAM>(shown));
}

void CStatusBar::UpdateLayout()
{
    if (m_hWnd == nullptr || m_panes.empty())
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    int borders[3] = {0, 0, 0};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    // Every pane gets its text width plus room for its frame; the stretching
    // pane takes what is left.
    const int frame = 2 * GetSystemMetrics(SM_CXEDGE) + 2 * borders[2] + 4;
    int fixed = 0;
    for (const Pane& p : m_panes)
        if (!(p.style & SBPS_STRETCH))
            fixed += p.cxText + frame + borders[1];
    const int grip = GetSystemMetrics(SM_CXVSCROLL);
    int stretch = client.right - fixed - grip;
    std::vector<int> edges;
    int x = 0;
    for (const Pane& p : m_panes) {
        x += (p.style & SBPS_STRETCH) ? (stretch > 0 ? stretch : 0) : p.cxText + frame + borders[1];
        edges.push_back(x);
    }
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < m_panes.size(); ++i)
        ApplyPane(static_cast<int>(i));
}

std::vector<int> CStatusBar::GetPartEdges() const
{
    int n = static_cast<int>(SendMessage(SB_GETPARTS, 0, 0));
    std::vector<int> edges(static_cast<size_t>(n > 0 ? n : 0));
    if (n > 0)
        SendMessage(SB_GETPARTS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CStatusCmdUI ui;
    ui.bar = this;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].id == ID_SEPARATOR)
            continue;
        ui.m_nID = m_panes[i].id;
        ui.m_nIndex = static_cast<UINT>(i);
        ui.DoUpdate(target, disableIfNoHandler);
    }
}
