// The cool tool bar's own layout: rows wrapped at separators, sizes from the buttons, and the
// buttons written back into the control only where the layout changed them.
#include <algorithm>
#include <vector>

#include "guilib/skins/OXCoolToolBar.h"

namespace {
constexpr int kMaxLength = 32767;

bool Hidden(const TBBUTTON& b) {
    return (b.fsState & TBSTATE_HIDDEN) != 0;
}
bool Separator(const TBBUTTON& b) {
    return (b.fsStyle & TBSTYLE_SEP) != 0;
}
}  // namespace

SIZE COXCoolToolBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    return CalcLayout((stretch ? LM_STRETCH : 0) | (horz ? LM_HORZ : 0), -1);
}

SIZE COXCoolToolBar::CalcDynamicLayout(int length, DWORD mode) {
    if (length == -1 && !(mode & (LM_MRUWIDTH | LM_COMMIT)) && (mode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZDOCK) != 0);
    return CalcLayout(mode, length);
}

int COXCoolToolBar::ButtonAdvance(const TBBUTTON& button, int index) {
    SIZE size = GetToolBarCtrl().GetButtonSize();
    int width = (int)size.cx;
    if (button.fsStyle & TBSTYLE_AUTOSIZE) {
        RECT r{};
        if (GetToolBarCtrl().GetItemRect(index, &r))
            width = (int)(r.right - r.left);
    } else if ((button.fsStyle & TBSTYLE_DROPDOWN) && IsDropDownArrow()) {
        if (OldControls() && !IsFlat())
            MeasureDropDownArrow();
        if (!(OldControls() && IsFlat()))
            width += m_nDropDownArrowWidth;
    }
    return width;
}

int COXCoolToolBar::WrapToolBar(TBBUTTON* buttons, int count, int width) {
    int wraps = 0;
    int x = 0;
    for (int i = 0; i < count; ++i)
        buttons[i].fsState &= (BYTE)~TBSTATE_WRAP;
    for (int i = 0; i < count; ++i) {
        if (Hidden(buttons[i]))
            continue;
        int advance = Separator(buttons[i]) ? buttons[i].iBitmap : ButtonAdvance(buttons[i], i);
        if (x + advance > width) {
            int found = -1;
            // The last visible plain separator of this row; a separator with an id hosts a window.
            for (int j = i; j >= 0 && !(buttons[j].fsState & TBSTATE_WRAP); --j) {
                if (Separator(buttons[j]) && buttons[j].idCommand == 0 && !Hidden(buttons[j])) {
                    found = j;
                    break;
                }
            }
            if (found < 0) {
                for (int j = i - 1; j >= 0 && !(buttons[j].fsState & TBSTATE_WRAP); --j) {
                    if (Hidden(buttons[j]) || (Separator(buttons[j]) && buttons[j].idCommand != 0))
                        continue;
                    found = j;
                    break;
                }
            }
            if (found >= 0) {
                buttons[found].fsState |= TBSTATE_WRAP;
                ++wraps;
                x = 0;
                i = found;
                continue;
            }
        }
        x += advance;
    }
    return wraps + 1;
}

SIZE COXCoolToolBar::CalcSize(TBBUTTON* buttons, int count) {
    SIZE button = GetToolBarCtrl().GetButtonSize();
    int cy = (int)button.cy;
    SIZE size{0, 0};
    int x = 0, y = 0;
    BOOL fullGap = IsFlat() && !OldControls();
    for (int i = 0; i < count; ++i) {
        const TBBUTTON& b = buttons[i];
        if (Hidden(b))
            continue;
        int advance;
        int gap = 0;
        if (Separator(b)) {
            advance = b.iBitmap;
            gap = fullGap ? b.iBitmap : b.iBitmap * 2 / 3;
            if (b.fsState & TBSTATE_WRAP) {
                size.cy = std::max<LONG>(size.cy, y + cy + gap);
            } else {
                size.cx = std::max<LONG>(size.cx, x + advance);
                size.cy = std::max<LONG>(size.cy, y + cy);
            }
        } else {
            advance = ButtonAdvance(b, i);
            size.cx = std::max<LONG>(size.cx, x + advance);
            size.cy = std::max<LONG>(size.cy, y + cy);
        }
        x += advance;
        if (b.fsState & TBSTATE_WRAP) {
            x = 0;
            y += cy + (Separator(b) ? gap : 0);
        }
    }
    size.cx += m_nIndent;
    return size;
}

void COXCoolToolBar::SizeToolBar(TBBUTTON* buttons, int count, int length, BOOL vertical) {
    if (!vertical) {
        int low = 0, high = length;
        int target = WrapToolBar(buttons, count, high);
        int current = WrapToolBar(buttons, count, low);
        if (current != target) {
            while (low < high) {
                int mid = (low + high) / 2;
                current = WrapToolBar(buttons, count, mid);
                if (current == target) {
                    high = mid;
                } else {
                    if (low == mid) {
                        WrapToolBar(buttons, count, high);
                        break;
                    }
                    low = mid;
                }
            }
        }
        SIZE size = CalcSize(buttons, count);
        WrapToolBar(buttons, count, (int)size.cx);
        return;
    }
    WrapToolBar(buttons, count, 0);
    SIZE smallest = CalcSize(buttons, count);
    WrapToolBar(buttons, count, kMaxLength);
    SIZE largest = CalcSize(buttons, count);
    while (smallest.cx < largest.cx) {
        int mid = (int)(smallest.cx + largest.cx) / 2;
        WrapToolBar(buttons, count, mid);
        SIZE middle = CalcSize(buttons, count);
        if (length < middle.cy) {
            if (smallest.cx == middle.cx && smallest.cy == middle.cy) {
                WrapToolBar(buttons, count, (int)largest.cx);
                return;
            }
            smallest = middle;
        } else if (length > middle.cy) {
            largest = middle;
        } else {
            return;
        }
    }
}

void COXCoolToolBar::WriteButtons(const TBBUTTON* buttons, int count) {
    for (int i = 0; i < count; ++i) {
        TBBUTTON now{};
        if (!GetToolBarCtrl().GetButton(i, &now))
            continue;
        const TBBUTTON& want = buttons[i];
        if (now.idCommand == want.idCommand && now.iBitmap == want.iBitmap && now.fsState == want.fsState &&
            now.fsStyle == want.fsStyle && now.dwData == want.dwData)
            continue;
        TBBUTTONINFO info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_IMAGE | TBIF_STATE | TBIF_STYLE | TBIF_LPARAM;
        info.idCommand = want.idCommand;
        info.iImage = want.iBitmap;
        info.fsState = want.fsState;
        info.fsStyle = want.fsStyle;
        info.lParam = want.dwData;
        GetToolBarCtrl().SetButtonInfo((UINT)i, &info);
        bool separatorChanged = ((now.fsStyle ^ want.fsStyle) & TBSTYLE_SEP) != 0 ||
                                (Separator(want) && now.iBitmap != want.iBitmap);
        if (separatorChanged) {
            Invalidate();
        } else {
            RECT r{};
            if (GetToolBarCtrl().GetItemRect(i, &r))
                ::InvalidateRect(m_hWnd, &r, TRUE);
        }
    }
}

SIZE COXCoolToolBar::CalcLayout(DWORD mode, int length) {
    SIZE size{0, 0};
    int count = m_hWnd ? (int)SendMessage(TB_BUTTONCOUNT) : 0;
    if (count > 0) {
        std::vector<TBBUTTON> buttons((size_t)count);
        for (int i = 0; i < count; ++i)
            GetToolBarCtrl().GetButton(i, &buttons[(size_t)i]);
        TBBUTTON* data = buttons.data();
        if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
            BOOL dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
            if (dynamic && (mode & LM_MRUWIDTH)) {
                SizeToolBar(data, count, m_nMRUWidth);
            } else if (dynamic && (mode & LM_HORZDOCK)) {
                SizeToolBar(data, count, kMaxLength);
            } else if (dynamic && (mode & LM_VERTDOCK)) {
                SizeToolBar(data, count, 0);
            } else if (dynamic && length != -1) {
                RECT inside{0, 0, 0, 0};
                CalcInsideRect(inside, (mode & LM_HORZ) != 0);
                BOOL vertical = (mode & LM_LENGTHY) != 0;
                int margin = vertical ? (int)(inside.bottom - inside.top) : (int)(inside.right - inside.left);
                SizeToolBar(data, count, length + margin, vertical);
            } else if (dynamic && (m_dwStyle & CBRS_FLOATING)) {
                SizeToolBar(data, count, m_nMRUWidth);
            } else {
                SizeToolBar(data, count, (mode & LM_HORZ) ? kMaxLength : 0);
            }
        }
        size = CalcSize(data, count);
        if (mode & LM_COMMIT) {
            // Windows hosted over separators move with their items.
            struct Hosted {
                int index;
                int id;
                RECT before;
            };
            std::vector<Hosted> hosted;
            for (int i = 0; i < count; ++i) {
                if (Separator(data[i]) && data[i].idCommand != 0) {
                    RECT r{};
                    GetToolBarCtrl().GetItemRect(i, &r);
                    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
                    hosted.push_back(Hosted{i, data[i].idCommand, r});
                }
            }
            if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
                m_nMRUWidth = (int)size.cx;
            WriteButtons(data, count);
            for (const Hosted& h : hosted) {
                HWND child = ::GetDlgItem(m_hWnd, h.id);
                RECT after{};
                if (!child || !GetToolBarCtrl().GetItemRect(h.index, &after))
                    continue;
                ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&after), 2);
                RECT wr{};
                ::GetWindowRect(child, &wr);
                POINT p{wr.left + (after.left - h.before.left), wr.top + (after.top - h.before.top)};
                ::ScreenToClient(m_hWnd, &p);
                ::SetWindowPos(child, nullptr, p.x, p.y, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
            }
        }
    } else if (m_hWnd) {
        size = GetToolBarCtrl().GetButtonSize();
        if (!(m_dwStyle & CBRS_FLOATING)) {
            if (mode & (LM_HORZ | LM_HORZDOCK))
                size.cx /= 2;
            else
                size.cy /= 2;
        }
    }
    RECT inside{0, 0, 0, 0};
    CalcInsideRect(inside, TRUE);
    size.cx -= inside.right - inside.left;
    size.cy -= inside.bottom - inside.top;
    SIZE fixed = CControlBar::CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
    size.cx = std::max(size.cx, fixed.cx);
    size.cy = std::max(size.cy, fixed.cy);
    return size;
}

void COXCoolToolBar::CalcInsideRect(RECT& rect, BOOL horz) const {
    CControlBar::CalcInsideRect(rect, horz);
    if (m_hIcon) {
        if (horz)
            rect.left += ::GetSystemMetrics(SM_CXSMICON) + 2;
        else
            rect.top += ::GetSystemMetrics(SM_CYSMICON) + 2;
    }
    RECT margins{0, 0, 0, 0};
    const_cast<COXCoolToolBar*>(this)->AdjustNonClientRect(margins, horz ? 2 : 0);
    rect.left += margins.left;
    rect.top += margins.top;
    rect.right -= margins.right;
    rect.bottom -= margins.bottom;
}
