#include "guilib/controls/OXColorPickerButton.h"

IMPLEMENT_DYNAMIC(COXColorPickerButton, COXBitmapButton)

namespace {

// The picker has no tear-off bar under the button.
constexpr DWORD kPickerStyle = POPUPBAR_NOTEAROFF;
static_assert(kPickerStyle == 16);

}  // namespace

COXColorPickerButton::COXColorPickerButton(UINT nColors, UINT nRows, COLORREF clrDefault, int nButtonWidth,
                                           int nButtonHeight, UINT nDefaultTextID, UINT nCustomTextID)
    : m_colorPicker(nColors, nRows, clrDefault, nButtonWidth, nButtonHeight, nDefaultTextID, nCustomTextID) {
    SetStyleEx(GetStyleEx() | OXBB_EX_DROPDOWN, FALSE);
}

void COXColorPickerButton::SetColor(COLORREF clr, BOOL bRedraw) {
    m_clr = clr;
    if (bRedraw && ::IsWindow(m_hWnd))
        Invalidate();
}

COLORREF COXColorPickerButton::GetShownColor() const {
    return m_clr == CLR_DEFAULT ? (COLORREF)m_colorPicker.GetDefaultValue() : m_clr;
}

void COXColorPickerButton::SetColorBarHeight(int nHeight, BOOL bRedraw) {
    m_nColorBarHeight = nHeight < 0 ? 0 : nHeight;
    if (bRedraw && ::IsWindow(m_hWnd))
        Invalidate();
}

SIZE COXColorPickerButton::GetImageSize() {
    SIZE size = COXBitmapButton::GetImageSize();
    if (m_nColorBarHeight != 0)
        size.cy += m_nColorBarHeight + 2;
    return size;
}

RECT COXColorPickerButton::CalcColorBarRect(UINT state, const RECT& rect, const RECT& client) {
    const int h = m_nColorBarHeight;
    if (::IsRectEmpty(&rect)) {
        // Neither image nor text: the bar across the face, left of the arrow, centred.
        RECT bar{client.left + 5, client.top + (client.bottom - client.top - h) / 2,
                 client.right - GetDropDownArrowSize().cx - 5, 0};
        bar.bottom = bar.top + h;
        if (state & ODS_SELECTED)
            ::OffsetRect(&bar, m_pressedOffset.x, m_pressedOffset.y);
        return bar;
    }
    SIZE image = COXBitmapButton::GetImageSize();
    if (image.cx > 0 && image.cy > 0)  // the image rectangle's last rows, below a 2-pixel gap
        return RECT{rect.left, rect.bottom - h, rect.right, rect.bottom};
    return RECT{rect.left, rect.bottom + 1, rect.right, rect.bottom + 1 + h};  // under the text
}

void COXColorPickerButton::DrawUnderImage(CDC* dc, UINT state, const RECT& rect) {
    if (m_nColorBarHeight == 0)
        return;
    RECT client{};
    GetClientRect(&client);
    RECT bar = CalcColorBarRect(state, rect, client);
    if (bar.right - bar.left < 2)
        return;
    CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
    ::FrameRect(dc->GetSafeHdc(), &bar, shadow);
    COLORREF shown = GetShownColor();
    if (shown == 0xFFFFFFFF || (state & ODS_DISABLED))
        return;
    ::InflateRect(&bar, -1, -1);
    if (!::IsRectEmpty(&bar))
        dc->FillSolidRect(&bar, shown);
}

void COXColorPickerButton::OnDropDown() {
    m_colorPicker.SetSelectedValue(GetShownColor());
    UINT alignment = (GetStyleEx() & OXBB_EX_DROPDOWNRIGHT) ? ID_POPUPBAR_ALIGNRIGHT : ID_POPUPBAR_ALIGNBOTTOM;
    if (m_colorPicker.Pick(alignment, nullptr, 0, 0)) {
        m_clr = m_colorPicker.GetSelectedValue();
        Invalidate();
    }
}

BOOL COXColorPickerButton::CreatePicker() {
    if (::IsWindow(m_colorPicker.GetSafeHwnd()))
        return TRUE;
    return m_colorPicker.Create(this, kPickerStyle, nullptr);
}

void COXColorPickerButton::PreSubclassWindow() {
    COXBitmapButton::PreSubclassWindow();
    // A window created through the framework gets its picker at WM_CREATE, where a failure can fail it.
    if (!AfxIsCreatingWindow())
        CreatePicker();
}

LRESULT COXColorPickerButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            LRESULT result = COXBitmapButton::WindowProc(message, wParam, lParam);
            if (result == -1 || !CreatePicker())
                return -1;
            return result;
        }
        case WM_POPUPBAR_PICKED:
            if ((HWND)lParam == m_colorPicker.GetSafeHwnd()) {
                SetColor(m_colorPicker.GetSelectedValue(), TRUE);
                if (HWND parent = ::GetParent(m_hWnd))
                    ::SendMessage(parent, WM_POPUPBAR_PICKED, 0, (LPARAM)m_hWnd);
                return 0;
            }
            break;
        default:
            break;
    }
    return COXBitmapButton::WindowProc(message, wParam, lParam);
}

void DDX_ColorPicker(CDataExchange* pDX, int nIDC, COLORREF& clr) {
    HWND control = pDX && pDX->m_pDlgWnd ? ::GetDlgItem(pDX->m_pDlgWnd->GetSafeHwnd(), nIDC) : nullptr;
    auto* button = dynamic_cast<COXColorPickerButton*>(CWnd::FromHandlePermanent(control));
    if (!button)
        return;  // no such picker button: the value stays as it is
    if (pDX->m_bSaveAndValidate)
        clr = button->GetColor();
    else
        button->SetColor(clr, TRUE);
}
