#include "controls/InPlaceEdit.h"

#include <algorithm>

#include "controls/GridCtrl.h"
#include "platform/user/Keyboard.h"

CInPlaceEdit::CInPlaceEdit(CWnd* pParent, const RECT& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                           CString sInitText, UINT nFirstChar)
    : m_nRow(nRow), m_nColumn(nColumn), m_sInitText(sInitText), m_bExitOnArrows(nFirstChar != VK_LBUTTON),
      m_Rect(rect) {
    if (!Create(dwStyle | WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, rect, pParent, nID))
        return;
    if (HFONT font = (HFONT)pParent->SendMessage(WM_GETFONT))
        SendMessage(WM_SETFONT, (WPARAM)font, 0);
    SetWindowText(sInitText);
    SetFocus();
    // Opened by the mouse, Enter or a navigation key (0): the text is selected; by a character: it is typed.
    SetSel(0, -1);
    if (nFirstChar != 0 && nFirstChar != VK_LBUTTON && nFirstChar != VK_RETURN)
        SendMessage(WM_CHAR, nFirstChar, 0);
}

LRESULT CInPlaceEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_SYSCHAR:
            return 0;
        case WM_KEYDOWN:
            if ((wParam == VK_PRIOR || wParam == VK_NEXT || wParam == VK_DOWN || wParam == VK_UP ||
                 wParam == VK_RIGHT || wParam == VK_LEFT) &&
                (m_bExitOnArrows || (GetKeyState(VK_CONTROL) < 0))) {
                m_nLastChar = (UINT)wParam;
                if (CWnd* parent = GetParent())
                    parent->SetFocus();
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == VK_TAB || wParam == VK_RETURN) {
                m_nLastChar = (UINT)wParam;
                if (CWnd* parent = GetParent())
                    parent->SetFocus();
                return 0;
            }
            if (wParam == VK_ESCAPE) {
                SetWindowText(m_sInitText);
                m_nLastChar = (UINT)wParam;
                if (CWnd* parent = GetParent())
                    parent->SetFocus();
                return 0;
            }
            {
                LRESULT result = CEdit::WindowProc(message, wParam, lParam);
                // Widen to the text plus two blanks, within the parent's client area.
                CString text;
                GetWindowText(text);
                CWindowDC dc(this);
                HGDIOBJ oldFont = ::SelectObject(dc.m_hDC, (HGDIOBJ)SendMessage(WM_GETFONT));
                SIZE size = dc.GetTextExtent(text + "  ");
                ::SelectObject(dc.m_hDC, oldFont);
                RECT rect, parentRect;
                GetClientRect(&rect);
                GetParent()->GetClientRect(&parentRect);
                if (size.cx > rect.right - rect.left) {
                    RECT wnd;
                    GetWindowRect(&wnd);
                    POINT topLeft{wnd.left, wnd.top};
                    GetParent()->ScreenToClient(&topLeft);
                    const int width = std::min<int>(size.cx + (wnd.right - wnd.left) - (rect.right - rect.left),
                                                    parentRect.right - topLeft.x);
                    SetWindowPos(nullptr, 0, 0, width, wnd.bottom - wnd.top, SWP_NOMOVE | SWP_NOZORDER);
                }
                return result;
            }
        case WM_KILLFOCUS: {
            LRESULT result = CEdit::WindowProc(message, wParam, lParam);
            EndEdit();
            return result;
        }
        default:
            break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

void CInPlaceEdit::EndEdit() {
    if (m_bEnding)
        return;
    m_bEnding = true;
    CString str;
    GetWindowText(str);
    GV_DISPINFO dispinfo{};
    dispinfo.hdr.hwndFrom = m_hWnd;
    dispinfo.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
    dispinfo.hdr.code = LVN_ENDLABELEDIT;
    dispinfo.iRow = m_nRow;
    dispinfo.iColumn = m_nColumn;
    dispinfo.pszText = str;
    dispinfo.nLastChar = m_nLastChar;
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessage(parent, WM_NOTIFY, dispinfo.hdr.idFrom, (LPARAM)&dispinfo);
    PostMessage(WM_CLOSE);
}

void CInPlaceEdit::PostNcDestroy() {
    delete this;
}
