// CEdit: the edit control's wrapper.
#pragma once

#include "platform/framework/window/Wnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CWnd::Create(WC_EDIT, nullptr, style, rect, parent, id);
    }
    // The selection through the pointer form, so positions above 65,535 come back whole.
    void GetSel(int& start, int& end) const {
        DWORD a = 0, b = 0;
        Send(EM_GETSEL, (WPARAM)&a, (LPARAM)&b);
        start = (int)a;
        end = (int)b;
    }
    void SetSel(int start, int end, BOOL noScroll = FALSE) {
        Send(EM_SETSEL, (WPARAM)start, (LPARAM)end);
        if (!noScroll)
            Send(EM_SCROLLCARET, 0, 0);
    }
    void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE) { Send(EM_REPLACESEL, (WPARAM)canUndo, (LPARAM)text); }
    int GetLineCount() const { return (int)Send(EM_GETLINECOUNT, 0, 0); }
    int LineIndex(int line = -1) const { return (int)Send(EM_LINEINDEX, (WPARAM)line, 0); }
    int LineFromChar(int index = -1) const { return (int)Send(EM_LINEFROMCHAR, (WPARAM)index, 0); }
    int LineLength(int index = -1) const { return (int)Send(EM_LINELENGTH, (WPARAM)index, 0); }
    int GetFirstVisibleLine() const { return (int)Send(EM_GETFIRSTVISIBLELINE, 0, 0); }
    void GetRect(LPRECT rect) const { Send(EM_GETRECT, 0, (LPARAM)rect); }
    void SetMargins(UINT left, UINT right) {
        Send(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(left, right));
    }
    DWORD GetMargins() const { return (DWORD)Send(EM_GETMARGINS, 0, 0); }
    // -1 for a position with no character.
    POINT PosFromChar(UINT index) const {
        LRESULT r = Send(EM_POSFROMCHAR, (WPARAM)index, 0);
        return POINT{(short)LOWORD(r), (short)HIWORD(r)};
    }
    int CharFromPos(POINT p) const { return (int)Send(EM_CHARFROMPOS, 0, MAKELPARAM(p.x, p.y)); }
    void LimitText(int max = 0) { Send(EM_LIMITTEXT, (WPARAM)max, 0); }
    UINT GetLimitText() const { return (UINT)Send(EM_GETLIMITTEXT, 0, 0); }
    void LineScroll(int lines, int chars = 0) { Send(EM_LINESCROLL, (WPARAM)chars, (LPARAM)lines); }
    BOOL CanUndo() const { return (BOOL)Send(EM_CANUNDO, 0, 0); }
    BOOL Undo() { return (BOOL)Send(EM_UNDO, 0, 0); }
    BOOL GetModify() const { return (BOOL)Send(EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL modified = TRUE) { Send(EM_SETMODIFY, (WPARAM)modified, 0); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return (BOOL)Send(EM_SETREADONLY, (WPARAM)readOnly, 0); }
    void Copy() { Send(WM_COPY, 0, 0); }
    void Cut() { Send(WM_CUT, 0, 0); }
    void Paste() { Send(WM_PASTE, 0, 0); }
    void Clear() { Send(WM_CLEAR, 0, 0); }

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, msg, wParam, lParam); }
};
