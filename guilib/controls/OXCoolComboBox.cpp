#include "guilib/controls/OXCoolComboBox.h"

#include <algorithm>

namespace {

const UINT kEditId = 1001;
const UINT kListId = 1000;

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

// The pens of the combo box's face, made once from the colours of their first use.
HPEN ComboPen(int index) {
    static HPEN pens[4] = {::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT)),
                           ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)),
                           ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE)),
                           ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW))};
    return pens[index];
}
enum { kHighlight, kShadow, kFace, kDark };

}  // namespace

// ---- Edit -----------------------------------------------------------------------------------------

void COXCoolComboEdit::OnChangeFocus(CWnd* pWndGainFocus, CWnd* pWndLoseFocus) {
    if (m_pCombo) {
        if (pWndGainFocus == this && !m_bFocusState)
            m_pCombo->SetFocusState(TRUE);
        else if (pWndLoseFocus == this && m_bFocusState)
            m_pCombo->SetFocusState(FALSE);
    }
    COXCoolCtrl<CEdit>::OnChangeFocus(pWndGainFocus, pWndLoseFocus);
}

// ---- Combo box ------------------------------------------------------------------------------------

COXCoolComboBox::~COXCoolComboBox() {
    if (m_edit.GetSafeHwnd())
        m_edit.UnsubclassWindow();
    if (m_listBox.GetSafeHwnd())
        m_listBox.UnsubclassWindow();
}

void COXCoolComboBox::MeasureTextHeights() {
    if (!m_hWnd)
        return;
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)::SendMessage(m_hWnd, WM_GETFONT, 0, 0));
    TEXTMETRIC tm{};
    ::GetTextMetrics(dc, &tm);
    m_nFontHeight = tm.tmHeight;
    SIZE size{};
    ::GetTextExtentPoint32(dc, "ygaQ!|", 6, &size);
    m_nTextExtentHeight = size.cy;
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
}

BOOL COXCoolComboBox::InitializeCoolControl() {
    if (!COXCoolCtrl<CComboBox>::InitializeCoolControl())
        return FALSE;
    MeasureTextHeights();
    BOOL edit = SubclassEditCtrl();
    BOOL list = SubclassListBox();
    return edit && list;
}

void COXCoolComboBox::PreSubclassWindow() {
    BOOL creating = oxcool::IsCreatingWindow();
    COXCoolCtrl<CComboBox>::PreSubclassWindow();
    if (m_bInitialized && IsOwnerDraw() && !creating)
        ::SendMessage(m_hWnd, CB_SETITEMHEIGHT, (WPARAM)-1, m_nFontHeight + 1);
}

BOOL COXCoolComboBox::SubclassEditCtrl() {
    HWND edit = ::GetDlgItem(m_hWnd, (int)kEditId);
    if (!edit)
        return TRUE;
    if (m_edit.GetSafeHwnd())
        return m_edit.GetSafeHwnd() == edit;
    m_edit.m_pCombo = this;
    if (!m_edit.SubclassWindow(edit))
        return FALSE;
    CString text;
    GetTooltipText(text);
    m_edit.SetTooltipText(text);
    return TRUE;
}

BOOL COXCoolComboBox::SubclassListBox() {
    if (IsOwnerDraw())
        return TRUE;
    HWND list = ::GetDlgItem(m_hWnd, (int)kListId);
    if (!list)
        return TRUE;
    if (m_listBox.GetSafeHwnd())
        return m_listBox.GetSafeHwnd() == list;
    if (!m_listBox.SubclassWindow(list))
        return FALSE;
    CString text;
    GetTooltipText(text);
    m_listBox.SetTooltipText(text);
    return TRUE;
}

void COXCoolComboBox::GetDropDownButtonRect(RECT& rect) const {
    ::SetRectEmpty(&rect);
    if (!m_hWnd || IsSimple())
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    rect.top = client.top + 2;
    rect.bottom = client.bottom - 2;
    rect.right = client.right - 2;
    rect.left = std::max(0, (int)rect.right - ::GetSystemMetrics(SM_CXVSCROLL));
}

void COXCoolComboBox::SetFocusState(BOOL bActive) {
    if (!bActive && m_edit.GetSafeHwnd() && ::GetFocus() == m_edit.GetSafeHwnd())
        return;
    COXCoolCtrl<CComboBox>::SetFocusState(bActive);
    if (m_hWnd && !::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0))
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

BOOL COXCoolComboBox::OnChangeTooltipText(const CString& sText) {
    BOOL result = TRUE;
    if (m_edit.GetSafeHwnd())
        result = m_edit.SetTooltipText(sText) && result;
    if (m_listBox.GetSafeHwnd())
        result = m_listBox.SetTooltipText(sText) && result;
    return result;
}

CString COXCoolComboBox::ItemText(int index) const {
    if (index < 0)
        return CString();
    int length = (int)::SendMessage(m_hWnd, CB_GETLBTEXTLEN, (WPARAM)index, 0);
    if (length <= 0)
        return CString();
    std::string buffer((size_t)length + 1, '\0');
    ::SendMessage(m_hWnd, CB_GETLBTEXT, (WPARAM)index, (LPARAM)buffer.data());
    return CString(buffer.c_str());
}

void COXCoolComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    lpMeasureItemStruct->itemHeight = (UINT)(m_nTextExtentHeight + 1);
}

int COXCoolComboBox::CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
    CString a = ItemText((int)lpCompareItemStruct->itemID1);
    CString b = ItemText((int)lpCompareItemStruct->itemID2);
    return a.CompareNoCase(b);
}

void COXCoolComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    HDC dc = lpDrawItemStruct->hDC;
    int index = lpDrawItemStruct->itemID == (UINT)-1 ? (int)::SendMessage(m_hWnd, CB_GETCURSEL, 0, 0)
                                                      : (int)lpDrawItemStruct->itemID;
    CString text = ItemText(index);
    const BOOL enabled = ::IsWindowEnabled(m_hWnd);
    const BOOL selected = (lpDrawItemStruct->itemState & (ODS_SELECTED | ODS_FOCUS)) != 0;
    RECT r = lpDrawItemStruct->rcItem;
    Fill(dc, r, ::GetSysColor(enabled ? (selected ? COLOR_HIGHLIGHT : COLOR_WINDOW) : COLOR_BTNFACE));
    if (text.IsEmpty())
        return;
    if (lpDrawItemStruct->itemState & ODS_FOCUS)
        ::DrawFocusRect(dc, &r);
    HGDIOBJ oldFont = ::SelectObject(dc, (HGDIOBJ)::SendMessage(m_hWnd, WM_GETFONT, 0, 0));
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF colour = selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT)
                               : ::GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
    COLORREF oldColour = ::SetTextColor(dc, colour);
    ::InflateRect(&r, -1, -1);
    ::DrawText(dc, text, text.GetLength(), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    ::SelectObject(dc, oldFont);
}

BOOL COXCoolComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
        case WM_DRAWITEM:
            DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
            if (pResult)
                *pResult = TRUE;
            return TRUE;
        case WM_MEASUREITEM:
            MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
            if (pResult)
                *pResult = TRUE;
            return TRUE;
        case 0x0039:  // WM_COMPAREITEM
            if (pResult)
                *pResult = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == CBN_CLOSEUP) {
                // Handled here: the parent does not hear of it.
                CheckMouseOver(TRUE);
                ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return COXCoolCtrl<CComboBox>::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT COXCoolComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCPAINT:
            return CComboBox::WindowProc(message, wParam, lParam);
        case WM_PAINT:
            if (!m_bCoolState)
                break;
            OnPaint();
            return 0;
        case WM_PARENTNOTIFY: {
            LRESULT result = COXCoolCtrl<CComboBox>::WindowProc(message, wParam, lParam);
            if (LOWORD(wParam) == WM_CREATE) {
                if (HIWORD(wParam) == kListId)
                    SubclassListBox();
                else if (HIWORD(wParam) == kEditId)
                    SubclassEditCtrl();
            }
            return result;
        }
        case WM_CTLCOLORLISTBOX: {
            LRESULT result = COXCoolCtrl<CComboBox>::WindowProc(message, wParam, lParam);
            HWND list = (HWND)lParam;
            if (!IsOwnerDraw() && !m_listBox.GetSafeHwnd() && list && ::IsWindow(list) &&
                m_listBox.SubclassWindow(list)) {
                CString text;
                GetTooltipText(text);
                m_listBox.SetTooltipText(text);
                ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
            }
            return result;
        }
        case WM_SETFONT: {
            LRESULT result = COXCoolCtrl<CComboBox>::WindowProc(message, wParam, lParam);
            MeasureTextHeights();
            if ((int)::SendMessage(m_hWnd, CB_GETITEMHEIGHT, (WPARAM)-1, 0) != m_nFontHeight + 1)
                ::SendMessage(m_hWnd, CB_SETITEMHEIGHT, (WPARAM)-1, m_nFontHeight + 1);
            return result;
        }
        default:
            break;
    }
    return COXCoolCtrl<CComboBox>::WindowProc(message, wParam, lParam);
}

void COXCoolComboBox::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT button;
    GetDropDownButtonRect(button);
    const BOOL simple = IsSimple();
    const BOOL enabled = ::IsWindowEnabled(m_hWnd);
    const BOOL active = enabled && m_bFocusState;
    const BOOL dropped = (BOOL)::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0);
    HWND edit = ::GetDlgItem(m_hWnd, (int)kEditId);

    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (simple && edit) {
        RECT er;
        ::GetWindowRect(edit, &er);
        client.bottom = client.top + (er.bottom - er.top) + 5;
    }
    RECT text = client;
    ::InflateRect(&text, -2, -2);
    RECT field = text;
    if (!::IsRectEmpty(&button))
        field.right = button.left;
    const COLORREF fieldColour = ::GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    Fill(dc, field, fieldColour);

    if (!edit) {
        int selection = (int)::SendMessage(m_hWnd, CB_GETCURSEL, 0, 0);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = (UINT)::GetDlgCtrlID(m_hWnd);
        dis.itemID = (UINT)selection;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = (::GetFocus() == m_hWnd && !dropped) ? ODS_FOCUS : 0;
        dis.hwndItem = m_hWnd;
        dis.hDC = dc;
        dis.rcItem = RECT{3, 3, button.left - 1, client.bottom - 3};
        dis.itemData = (ULONG_PTR)::SendMessage(m_hWnd, CB_GETITEMDATA, (WPARAM)selection, 0);
        DrawItem(&dis);
    }

    ::ExcludeClipRect(dc, text.left, text.top, text.right, text.bottom);
    if (!active) {
        Fill(dc, client, ::GetSysColor(simple ? COLOR_WINDOW : COLOR_BTNFACE));
        Fill(dc, RECT{client.left + 1, client.top + 2, client.left + 2, client.bottom - 2}, fieldColour);
    } else {
        RECT band = client;
        ::InflateRect(&band, -1, -1);
        Fill(dc, band, ::GetSysColor(COLOR_BTNFACE));
        HGDIOBJ old = ::SelectObject(dc, ComboPen(kShadow));
        Line(dc, 0, 0, client.right, 0);
        Line(dc, 0, 0, 0, client.bottom - 1);
        ::SelectObject(dc, ComboPen(kHighlight));
        ::MoveToEx(dc, 0, client.bottom - 1, nullptr);
        ::LineTo(dc, client.right - 1, client.bottom - 1);
        ::LineTo(dc, client.right - 1, client.top);
        ::SelectObject(dc, old);
    }
    ::SelectClipRgn(dc, nullptr);
    if (!enabled) {
        RECT frame = text;
        ::InflateRect(&frame, 1, 1);
        HGDIOBJ oldPen = ::SelectObject(dc, ComboPen(kHighlight));
        HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
    }

    if (!::IsRectEmpty(&button)) {
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        if (active) {
            Fill(dc, RECT{button.left, button.top, button.right + 1, button.bottom - 1}, face);
        } else if (enabled && !dropped) {
            HBRUSH brush = ::CreateSolidBrush(face);
            HGDIOBJ oldBrush = ::SelectObject(dc, brush);
            HGDIOBJ oldPen = ::SelectObject(dc, ComboPen(kHighlight));
            ::Rectangle(dc, button.left, button.top, button.right, button.bottom);
            ::SelectObject(dc, oldPen);
            ::SelectObject(dc, oldBrush);
            ::DeleteObject(brush);
        } else {
            Fill(dc, button, face);
        }
        HGDIOBJ oldPen = ::SelectObject(dc, ComboPen(kShadow));
        if (dropped) {
            Line(dc, button.left, button.top, button.right, button.top);
            Line(dc, button.left, button.top, button.left, button.bottom);
        } else if (active) {
            ::SelectObject(dc, ComboPen(kHighlight));
            ::MoveToEx(dc, button.right, button.top, nullptr);
            ::LineTo(dc, button.left + 1, button.top);
            ::LineTo(dc, button.left + 1, button.bottom);
            ::SelectObject(dc, ComboPen(kFace));
            Line(dc, button.left, button.top, button.left, button.bottom);
            ::SelectObject(dc, ComboPen(kShadow));
            ::MoveToEx(dc, button.left, button.bottom - 1, nullptr);
            ::LineTo(dc, button.right - 1, button.bottom - 1);
            ::LineTo(dc, button.right - 1, button.top);
        }
        ::SelectObject(dc, oldPen);

        const int w = button.right - button.left;
        int x1 = button.left + w / 3, x2 = button.left + 2 * w / 3 + 1;
        const int apexX = (x1 + x2) / 2;
        if ((x2 - x1) % 2 != 0)
            --x2;
        const int base = x2 - x1;
        const int y = button.top + button.bottom / 2 - base / 4 - 1;
        const int apexY = y + base / 2;
        const int shift = dropped ? 1 : 0;
        POINT arrow[3] = {{x1 + shift, y + shift}, {x2 + shift, y + shift}, {apexX + shift, apexY + shift}};
        HBRUSH brush = ::CreateSolidBrush(::GetSysColor(COLOR_3DDKSHADOW));
        HGDIOBJ oldBrush = ::SelectObject(dc, brush);
        oldPen = ::SelectObject(dc, ComboPen(kDark));
        ::Polygon(dc, arrow, 3);
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
        ::DeleteObject(brush);
    }
    ::EndPaint(m_hWnd, &ps);
}
