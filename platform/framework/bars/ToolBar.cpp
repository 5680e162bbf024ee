#include "platform/framework/bars/ToolBar.h"

#include <algorithm>
#include <vector>

#include "platform/user/Resources.h"
#include "platform/user/ToolTip.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {
// The update of a button: enabled, checked (or indeterminate) through the button's states.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override {
        m_bEnableChanged = TRUE;
        auto* bar = static_cast<CToolBar*>(m_pOther);
        UINT id = bar->GetItemID((int)m_nIndex);
        int state = bar->GetToolBarCtrl().GetState((int)id);
        if (state < 0)
            return;
        UINT next = on ? (state | TBSTATE_ENABLED) : (state & ~(TBSTATE_ENABLED | TBSTATE_PRESSED));
        if (next != (UINT)state)
            bar->GetToolBarCtrl().SetState((int)id, next);
    }
    void SetCheck(int check) override {
        auto* bar = static_cast<CToolBar*>(m_pOther);
        UINT id = bar->GetItemID((int)m_nIndex);
        int state = bar->GetToolBarCtrl().GetState((int)id);
        if (state < 0)
            return;
        UINT style = bar->GetButtonStyle((int)m_nIndex);
        if (!(style & TBSTYLE_CHECK))
            bar->SetButtonStyle((int)m_nIndex, style | TBSTYLE_CHECK);
        UINT next = state & ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE);
        if (check == 1)
            next |= TBSTATE_CHECKED;
        else if (check == 2)
            next |= TBSTATE_INDETERMINATE;
        if (next != (UINT)state)
            bar->GetToolBarCtrl().SetState((int)id, next);
    }
    void SetRadio(BOOL on) override { SetCheck(on ? 1 : 0); }
    void SetText(LPCTSTR) override {}
};
}  // namespace

CToolBar::CToolBar() {
    m_cxLeftBorder = m_cxRightBorder = 1;
    m_cyTopBorder = m_cyBottomBorder = 1;
}

CToolBar::~CToolBar() {
    m_ctrl.m_hWnd = nullptr;
    if (m_images)
        ImageList_Destroy(m_images);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
    return CreateEx(parent, 0, style, RECT{1, 1, 1, 1}, id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, RECT borders, UINT id) {
    if (!parent)
        return FALSE;
    SetBorders(borders.left, borders.top, borders.right, borders.bottom);
    m_dwStyle = style & CBRS_ALL;
    // The control places nothing itself: the bar's layout does.
    DWORD windowStyle = (style & ~CBRS_ALL) | (ctrlStyle & 0xFFFF) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER |
                        CCS_NORESIZE | WS_CLIPSIBLINGS;
    RECT rc{0, 0, 0, 0};
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAME, nullptr, windowStyle, rc, parent, id))
        return FALSE;
    m_ctrl.m_hWnd = m_hWnd;
    ::SendMessage(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Clicks and notifications go to the frame, wherever the bar docks.
    CWnd* owner = parent->IsFrameWnd() ? parent : parent->GetParentFrame();
    if (owner)
        ::SendMessage(m_hWnd, TB_SETPARENT, (WPARAM)owner->m_hWnd, 0);
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

void CToolBar::SetSizes(SIZE button, SIZE image) {
    m_sizeButton = button;
    m_sizeImage = image;
    if (!m_hWnd)
        return;
    ::SendMessage(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
    ::SendMessage(m_hWnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
    Invalidate();
}

void CToolBar::SetHeight(int height) {
    m_cyTopBorder = m_cyBottomBorder = std::max(0, (height - (int)m_sizeButton.cy) / 2);
}

BOOL CToolBar::LoadToolBar(UINT resourceId) {
    const ToolbarTemplate* tmpl = FindToolbarTemplate(resourceId);
    if (!tmpl || !m_hWnd)
        return FALSE;
    SetSizes(SIZE{tmpl->width + 7, tmpl->height + 7}, SIZE{tmpl->width, tmpl->height});
    if (!LoadBitmap(resourceId))
        return FALSE;
    return SetButtons(tmpl->items.data(), (int)tmpl->items.size());
}

BOOL CToolBar::LoadBitmap(UINT resourceId) {
    HBITMAP bitmap = ::LoadBitmap((HINSTANCE)1, MAKEINTRESOURCE(resourceId));
    if (!bitmap)
        return FALSE;
    HIMAGELIST list = ImageList_Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR32 | ILC_MASK, 8, 8);
    int first = ImageList_AddMasked(list, bitmap, RGB(192, 192, 192));
    DeleteObject(bitmap);
    if (first < 0) {
        ImageList_Destroy(list);
        return FALSE;
    }
    m_ctrl.SetImageList(list);
    if (m_images)
        ImageList_Destroy(m_images);
    m_images = list;
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count) {
    if (!m_hWnd || count < 0)
        return FALSE;
    while (m_ctrl.GetButtonCount() > 0)
        m_ctrl.DeleteButton(0);
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        b.iString = -1;
        UINT id = ids ? ids[i] : 0;
        if (ids && id == 0) {
            b.fsStyle = TBSTYLE_SEP;
            b.iBitmap = 6;
        } else {
            b.idCommand = (int)id;
            b.fsState = TBSTATE_ENABLED;
            b.iBitmap = ids ? image++ : -1;
        }
        m_ctrl.InsertButton(i, &b);
    }
    m_nCount = count;
    if (CFrameWnd* frame = GetDockingFrame())
        frame->DelayRecalcLayout();
    return TRUE;
}

int CToolBar::CommandToIndex(UINT id) const {
    return (int)m_ctrl.CommandToIndex(id);
}

UINT CToolBar::GetItemID(int index) const {
    TBBUTTON b{};
    if (!m_ctrl.GetButton(index, &b))
        return 0;
    return (b.fsStyle & TBSTYLE_SEP) ? 0 : (UINT)b.idCommand;
}

void CToolBar::GetItemRect(int index, LPRECT rect) const {
    if (!m_ctrl.GetItemRect(index, rect))
        *rect = RECT{};
}

UINT CToolBar::GetButtonStyle(int index) const {
    TBBUTTON b{};
    if (!m_ctrl.GetButton(index, &b))
        return 0;
    return MAKELONG(b.fsStyle, b.fsState);
}

void CToolBar::SetButtonStyle(int index, UINT style) {
    TBBUTTONINFO info{sizeof info, TBIF_BYINDEX | TBIF_STYLE | TBIF_STATE, 0, 0, 0, 0, 0, 0, nullptr, 0};
    info.fsStyle = (BYTE)LOWORD(style);
    info.fsState = (BYTE)HIWORD(style);
    if (!HIWORD(style)) {
        TBBUTTON b{};
        if (m_ctrl.GetButton(index, &b))
            info.fsState = b.fsState;
    }
    m_ctrl.SetButtonInfo((UINT)index, &info);
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const {
    TBBUTTON b{};
    if (!m_ctrl.GetButton(index, &b)) {
        id = style = 0;
        image = -1;
        return;
    }
    id = (UINT)b.idCommand;
    style = MAKELONG(b.fsStyle, b.fsState);
    image = b.iBitmap;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image) {
    TBBUTTONINFO info{sizeof info, TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_IMAGE, 0, 0, 0, 0, 0, 0, nullptr, 0};
    info.idCommand = (int)id;
    info.fsStyle = (BYTE)LOWORD(style);
    info.iImage = image;
    m_ctrl.SetButtonInfo((UINT)index, &info);
}

BOOL CToolBar::SetButtonText(int index, LPCTSTR text) {
    TBBUTTONINFO info{sizeof info, TBIF_BYINDEX | TBIF_TEXT, 0, 0, 0, 0, 0, 0, const_cast<LPTSTR>(text), 0};
    return m_ctrl.SetButtonInfo((UINT)index, &info);
}

CString CToolBar::GetButtonText(int index) const {
    return m_ctrl.GetButtonText(GetItemID(index));
}

void CToolBar::SetWrapStates(const std::vector<bool>& wraps) {
    int n = m_ctrl.GetButtonCount();
    for (int i = 0; i < n && i < (int)wraps.size(); ++i) {
        TBBUTTON b{};
        m_ctrl.GetButton(i, &b);
        BYTE state = wraps[(size_t)i] ? (BYTE)(b.fsState | TBSTATE_WRAP) : (BYTE)(b.fsState & ~TBSTATE_WRAP);
        if (state != b.fsState) {
            TBBUTTONINFO info{sizeof info, TBIF_BYINDEX | TBIF_STATE, 0, 0, state, 0, 0, 0, nullptr, 0};
            m_ctrl.SetButtonInfo((UINT)i, &info);
        }
    }
}

SIZE CToolBar::WrapTo(int width) {
    int n = m_ctrl.GetButtonCount();
    std::vector<bool> wraps((size_t)n, false);
    if (width == 0) {
        // One button a row; a separator becomes a gap between rows.
        for (int i = 0; i < n; ++i)
            wraps[(size_t)i] = true;
    } else if (width > 0) {
        int x = 0;
        for (int i = 0; i < n; ++i) {
            TBBUTTON b{};
            m_ctrl.GetButton(i, &b);
            if (b.fsState & TBSTATE_HIDDEN)
                continue;
            RECT r;
            m_ctrl.GetItemRect(i, &r);
            int w = (b.fsStyle & TBSTYLE_SEP) ? (b.iBitmap > 0 ? b.iBitmap : 8) : (int)(r.right - r.left);
            if (x > 0 && x + w > width && i > 0) {
                // The row ends before this button (at the separator before it, when there is one).
                int end = i - 1;
                wraps[(size_t)end] = true;
                x = 0;
                if (b.fsStyle & TBSTYLE_SEP)
                    continue;
            }
            x += w;
        }
    }
    SetWrapStates(wraps);
    SIZE size{0, 0};
    m_ctrl.GetMaxSize(&size);
    return size;
}

SIZE CToolBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    SIZE size = WrapTo(horz ? -1 : 0);
    RECT inside{0, 0, 0, 0};
    CalcInsideRect(inside, horz);
    size.cx -= inside.right - inside.left;
    size.cy -= inside.bottom - inside.top;
    if (stretch) {
        if (horz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

SIZE CToolBar::CalcDynamicLayout(int length, DWORD mode) {
    if ((mode & (LM_HORZDOCK | LM_VERTDOCK)) || !(m_dwStyle & CBRS_SIZE_DYNAMIC))
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & (LM_HORZ | LM_HORZDOCK)) != 0);
    RECT inside{0, 0, 0, 0};
    CalcInsideRect(inside, TRUE);
    SIZE border{-(inside.right - inside.left), -(inside.bottom - inside.top)};
    SIZE size;
    if (mode & LM_MRUWIDTH) {
        size = WrapTo(m_nMRUWidth >= 32767 ? -1 : m_nMRUWidth);
    } else if (mode & LM_LENGTHY) {
        // The narrowest layout whose height fits `length`.
        int want = length - border.cy;
        SIZE one = WrapTo(-1);
        size = one;
        for (int w = one.cx; w > 0; w -= 4) {
            SIZE s = WrapTo(w);
            if (s.cy > want)
                break;
            size = s;
        }
        size = WrapTo(size.cx);
    } else {
        size = WrapTo(length < 0 ? -1 : std::max(1, length - (int)border.cx));
    }
    if (mode & LM_COMMIT)
        m_nMRUWidth = size.cx;
    return SIZE{size.cx + border.cx, size.cy + border.cy};
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
    UpdateButtons(target, disableIfNoHandler);
}

void CToolBar::UpdateButtons(CCmdTarget* target, BOOL disableIfNoHandler) {
    CToolCmdUI state;
    state.m_pOther = this;
    int n = m_ctrl.GetButtonCount();
    state.m_nIndexMax = (UINT)n;
    for (int i = 0; i < n; ++i) {
        TBBUTTON b{};
        if (!m_ctrl.GetButton(i, &b) || (b.fsStyle & TBSTYLE_SEP))
            continue;
        state.m_nIndex = (UINT)i;
        state.m_nID = (UINT)b.idCommand;
        state.m_bEnableChanged = FALSE;
        state.m_bContinueRouting = FALSE;
        state.DoUpdate(target, disableIfNoHandler);
    }
}

INT_PTR CToolBar::OnToolHitTest(POINT point, TOOLINFO* info) const {
    int hit = m_ctrl.HitTest(&point);
    if (hit < 0)
        return -1;
    UINT id = GetItemID(hit);
    if (!id)
        return -1;
    if (info) {
        // The button is a tool of the bar whose text the bar is asked for.
        info->hwnd = m_hWnd;
        info->uId = id;
        GetItemRect(hit, &info->rect);
        info->lpszText = LPSTR_TEXTCALLBACK;
    }
    return (INT_PTR)id;
}

LRESULT CToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY)
        m_ctrl.m_hWnd = nullptr;
    // A bar owned by a control (not a frame) takes its buttons' states from that control's handlers.
    if (message == WM_IDLEUPDATECMDUI) {
        CWnd* owner = GetOwner();
        if (owner && !owner->IsFrameWnd()) {
            if ((GetStyle() & WS_VISIBLE) || (m_nStateFlags & delayShow))
                UpdateButtons(owner, (BOOL)wParam);
            return 0;
        }
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
