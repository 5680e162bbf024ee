#include "platform/framework/bars/StatusBar.h"

#include <algorithm>

#include "platform/user/Resources.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {
constexpr int kPaneBorder = 6;  // a pane is this much wider than its text

// The keyboard indicators: their key and the text shown when the program's strings have none.
struct Indicator {
    UINT id;
    int vk;
    const char* text;
};
constexpr Indicator kIndicators[] = {
    {ID_INDICATOR_CAPS, VK_CAPITAL, "CAP"},
    {ID_INDICATOR_NUM, VK_NUMLOCK, "NUM"},
    {ID_INDICATOR_SCRL, VK_SCROLL, "SCRL"},
};

const Indicator* FindIndicator(UINT id) {
    for (const Indicator& i : kIndicators)
        if (i.id == id)
            return &i;
    return nullptr;
}

// A pane's update: Enable shows or blanks its text, SetCheck pops it out, SetText sets its text.
class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override {
        m_bEnableChanged = TRUE;
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT style = bar->GetPaneStyle((int)m_nIndex);
        UINT next = on ? (style & ~(UINT)SBPS_DISABLED) : (style | SBPS_DISABLED);
        if (next != style)
            bar->SetPaneStyle((int)m_nIndex, next);
    }
    void SetCheck(int check) override {
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT style = bar->GetPaneStyle((int)m_nIndex);
        UINT next = check ? (style | SBPS_POPOUT) : (style & ~(UINT)SBPS_POPOUT);
        if (next != style)
            bar->SetPaneStyle((int)m_nIndex, next);
    }
    void SetRadio(BOOL on) override { SetCheck(on ? 1 : 0); }
    void SetText(LPCTSTR text) override { static_cast<CStatusBar*>(m_pOther)->SetPaneText((int)m_nIndex, text); }
};
}  // namespace

CStatusBar::CStatusBar() {
    m_cxLeftBorder = m_cxRightBorder = 0;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar() {
    m_ctrl.m_hWnd = nullptr;
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    return CreateEx(parent, 0, style, id);
}

BOOL CStatusBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, UINT id) {
    if (!parent)
        return FALSE;
    m_dwStyle = style & CBRS_ALL;
    DWORD windowStyle = (style & ~CBRS_ALL) | (ctrlStyle & 0xFFFF) | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                        CCS_NODIVIDER | CCS_NORESIZE | WS_CLIPSIBLINGS;
    // A resizable frame gets a size grip in the corner.
    if (parent->GetStyle() & WS_THICKFRAME)
        windowStyle |= SBARS_SIZEGRIP;
    RECT rc{0, 0, 0, 0};
    if (!CWnd::CreateEx(0, STATUSCLASSNAME, nullptr, windowStyle, rc, parent, id))
        return FALSE;
    m_ctrl.m_hWnd = m_hWnd;
    return TRUE;
}

HFONT CStatusBar::Font() const {
    HFONT f = m_hWnd ? (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0) : nullptr;
    return f ? f : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

int CStatusBar::TextWidth(const CString& text) const {
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, Font());
    SIZE size{0, 0};
    GetTextExtentPoint32(dc, text, text.GetLength(), &size);
    SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return size.cx;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (count < 0 || (count > 0 && !ids))
        return FALSE;
    m_panes.assign((size_t)count, Pane{});
    for (int i = 0; i < count; ++i) {
        Pane& p = m_panes[(size_t)i];
        p.nID = ids[i];
        if (p.nID != ID_SEPARATOR) {
            char text[256];
            if (LoadString(nullptr, p.nID, text, sizeof text))
                p.strText = text;
            else if (const Indicator* ind = FindIndicator(p.nID))
                p.strText = ind->text;
            p.cxText = TextWidth(p.strText);
        }
        if (i == 0 && p.nID == ID_SEPARATOR)
            p.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
    }
    m_nCount = count;
    UpdateAllPanes(TRUE, TRUE);
    return TRUE;
}

void CStatusBar::UpdateAllPanes(BOOL updateRects, BOOL updateText) {
    if (!m_hWnd || m_panes.empty())
        return;
    if (updateRects) {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        int borders[3] = {0, 0, 0};
        m_ctrl.GetBorders(borders);
        int fixed = 0, stretch = -1;
        for (size_t i = 0; i < m_panes.size(); ++i) {
            fixed += m_panes[i].cxText + kPaneBorder + (i ? borders[2] : 0);
            if ((m_panes[i].nStyle & SBPS_STRETCH) && stretch < 0)
                stretch = (int)i;
        }
        // The stretching pane takes what the others leave (the grip's corner included).
        int extra = std::max(0, (int)client.right - borders[0] - fixed);
        std::vector<int> rights(m_panes.size());
        int x = borders[0];
        for (size_t i = 0; i < m_panes.size(); ++i) {
            if (i)
                x += borders[2];
            x += m_panes[i].cxText + kPaneBorder + ((int)i == stretch ? extra : 0);
            rights[i] = x;
        }
        m_ctrl.SetParts((int)rights.size(), rights.data());
    }
    if (updateText) {
        for (size_t i = 0; i < m_panes.size(); ++i) {
            const Pane& p = m_panes[i];
            // A disabled pane shows no text.
            LPCTSTR text = (p.nStyle & SBPS_DISABLED) ? "" : (LPCTSTR)p.strText;
            int type = (int)(p.nStyle & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW));
            m_ctrl.SetText(text, (int)i, type);
        }
    }
}

int CStatusBar::CommandToIndex(UINT id) const {
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].nID == id)
            return (int)i;
    return -1;
}

UINT CStatusBar::GetItemID(int index) const {
    return index >= 0 && index < (int)m_panes.size() ? m_panes[(size_t)index].nID : 0;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const {
    if (!m_ctrl.GetRect(index, rect))
        *rect = RECT{};
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    if (index < 0 || index >= (int)m_panes.size()) {
        id = style = 0;
        width = 0;
        return;
    }
    const Pane& p = m_panes[(size_t)index];
    id = p.nID;
    style = p.nStyle;
    width = p.cxText;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    if (index < 0 || index >= (int)m_panes.size())
        return;
    Pane& p = m_panes[(size_t)index];
    p.nID = id;
    p.nStyle = style;
    p.cxText = std::max(0, width);
    UpdateAllPanes(TRUE, TRUE);
}

UINT CStatusBar::GetPaneStyle(int index) const {
    return index >= 0 && index < (int)m_panes.size() ? m_panes[(size_t)index].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int index, UINT style) {
    if (index < 0 || index >= (int)m_panes.size() || m_panes[(size_t)index].nStyle == style)
        return;
    bool rects = ((m_panes[(size_t)index].nStyle ^ style) & SBPS_STRETCH) != 0;
    m_panes[(size_t)index].nStyle = style;
    UpdateAllPanes(rects, TRUE);
}

CString CStatusBar::GetPaneText(int index) const {
    return index >= 0 && index < (int)m_panes.size() ? m_panes[(size_t)index].strText : CString();
}

BOOL CStatusBar::SetPaneText(int index, LPCTSTR text, BOOL update) {
    if (index < 0 || index >= (int)m_panes.size())
        return FALSE;
    Pane& p = m_panes[(size_t)index];
    CString next = text ? text : "";
    if (p.strText == next)
        return TRUE;
    p.strText = next;
    if (update)
        UpdateAllPanes(FALSE, TRUE);
    return TRUE;
}

SIZE CStatusBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, Font());
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    // A line of text in a sunken pane, with the bar's margins.
    SIZE size = CControlBar::CalcFixedLayout(stretch, horz);
    size.cy += std::max((int)tm.tmHeight, GetSystemMetrics(SM_CYSMICON)) + 2 + 2;
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL) {
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)m_panes.size();
    for (size_t i = 0; i < m_panes.size(); ++i) {
        UINT id = m_panes[i].nID;
        if (id == ID_SEPARATOR)
            continue;
        state.m_nIndex = (UINT)i;
        state.m_nID = id;
        state.m_bEnableChanged = FALSE;
        state.m_bContinueRouting = FALSE;
        // A keyboard indicator shows while its lock key is on; a handler of its own may say otherwise.
        if (const Indicator* ind = FindIndicator(id))
            state.Enable((::GetKeyState(ind->vk) & 1) != 0);
        state.DoUpdate(target, FALSE);
    }
}

BOOL CStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (result)
            *result = TRUE;
        return TRUE;
    }
    return CControlBar::OnChildNotify(message, wParam, lParam, result);
}

LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT: {
            // The window text is the message pane's (the first pane).
            int pane = CommandToIndex(ID_SEPARATOR);
            if (pane >= 0)
                SetPaneText(pane, reinterpret_cast<LPCTSTR>(lParam));
            return TRUE;
        }
        case WM_GETTEXT: {
            int pane = CommandToIndex(ID_SEPARATOR);
            CString text = pane >= 0 ? m_panes[(size_t)pane].strText : CString();
            auto* out = reinterpret_cast<char*>(lParam);
            int n = std::min(text.GetLength(), (int)wParam - 1);
            if (!out || (int)wParam <= 0)
                return 0;
            std::memcpy(out, (LPCTSTR)text, (size_t)std::max(n, 0));
            out[std::max(n, 0)] = 0;
            return std::max(n, 0);
        }
        case WM_GETTEXTLENGTH: {
            int pane = CommandToIndex(ID_SEPARATOR);
            return pane >= 0 ? m_panes[(size_t)pane].strText.GetLength() : 0;
        }
        case WM_SIZE: {
            LRESULT r = CControlBar::WindowProc(message, wParam, lParam);
            UpdateAllPanes(TRUE, FALSE);
            return r;
        }
        case WM_NCDESTROY:
            m_ctrl.m_hWnd = nullptr;
            break;
        default:
            break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
