// The chassis every control stands on.
//
// A control is a class derived from Control whose object lives in its window's extra bytes, made at
// WM_NCCREATE and handled by ControlWindowProc<T>. A parent may destroy the control while it is telling the
// parent something (a dialog closing on a notification): the object then lives on until its outermost
// message returns, so no handler runs on freed memory; its handle is stale by then and calls on it fail
// harmlessly. T needs a constructor from the HWND and Proc(msg, wParam, lParam), which ends in Default().
#pragma once

#include <string>

#include "platform/user/ListView.h"
#include "platform/user/User.h"

namespace user {
class Control {
public:
    // What Default answers beyond DefWindowProc, for controls that behave alike.
    enum Traits : unsigned {
        kPaints = 1,     // WM_PAINT draws the whole client through Paint(); WM_ERASEBKGND does nothing
        kPrints = 2,     // WM_PRINTCLIENT, and WM_PRINT with PRF_CLIENT, draw through Paint() as well
        kKeepsFont = 4,  // WM_SETFONT keeps the font (repainting when lParam says so); WM_GETFONT returns it
        kRepaints = 8,   // WM_ENABLE and WM_SETTEXT repaint
    };
    Control(HWND h, unsigned traits) : m_h(h), m_traits(traits) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Kept by ControlWindowProc: messages in progress, and whether the window went meanwhile.
    int m_depth = 0;
    bool m_dead = false;

    // The user ended the in-place label edit `edit` (see OpenLabelEdit): Enter and focus loss commit,
    // Escape does not.
    virtual void OnLabelEditEnd(HWND edit, bool commit) { (void)edit, (void)commit; }

protected:
    DWORD Style() const { return (DWORD)GetWindowLongPtr(m_h, GWL_STYLE); }
    HGDIOBJ FontOr(int stockFont) const { return m_font ? (HGDIOBJ)m_font : GetStockObject(stockFont); }
    // WM_COMMAND to the parent with this control's id and the code.
    void Command(WORD code);
    // WM_NOTIFY to the parent; fills the header's sender fields.
    LRESULT Notify(NMHDR* hdr, UINT code);
    // A notification that carries nothing beyond its header (NM_CLICK, NM_RETURN, NM_SETFOCUS...).
    LRESULT Notify(UINT code) {
        NMHDR hdr{};
        return Notify(&hdr, code);
    }
    virtual void Paint(HDC) {}
    // In-place label editing, shared by the list and tree views: an edit child over `rect` holding
    // `text`, all of it selected, with the focus; null when it cannot be made. Its end by the user
    // reaches OnLabelEditEnd.
    HWND OpenLabelEdit(const RECT& rect, const std::string& text);
    // Takes the edit's text, gives the focus back to the control and lets the edit go once the message
    // it may be in the middle of is done.
    std::string CloseLabelEdit(HWND edit);
    // The messages the control's own Proc leaves: the shared answers of its traits, else DefWindowProc.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_h;
    HFONT m_font = nullptr;

private:
    unsigned m_traits;
};

template <class T>
LRESULT ControlWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    T* control = reinterpret_cast<T*>(GetWindowLongPtr(h, 0));
    if (msg == WM_NCCREATE && !control) {
        control = new T(h);
        SetWindowLongPtr(h, 0, (LONG_PTR)control);
    }
    if (!control)
        return DefWindowProc(h, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtr(h, 0, 0);
        if (control->m_depth > 0)
            control->m_dead = true;
        else
            delete control;
        return DefWindowProc(h, msg, wParam, lParam);
    }
    ++control->m_depth;
    LRESULT result = control->Proc(msg, wParam, lParam);
    if (--control->m_depth == 0 && control->m_dead)
        delete control;
    return result;
}

// A Classic arrow button: face, raised (or, pressed, sunken) edge and a solid triangle pointing `dir`
// (0 left, 1 up, 2 right, 3 down), grey when disabled. Scroll bars, up-downs and combo boxes share it.
enum ArrowDirection { kArrowLeft, kArrowUp, kArrowRight, kArrowDown };
void DrawArrowButton(HDC dc, const RECT& r, ArrowDirection dir, bool pressed, bool enabled);

}  // namespace user

// Where a WM_VSCROLL or WM_HSCROLL request moves a scrolled position: a line, a page, an end, or the
// scroll bar's thumb. FALSE for a request that moves nothing (SB_ENDSCROLL).
// `bar` with `which` names the scroll bar whose track position the thumb codes read: a scroll bar control
// (SB_CTL) or a window's frame bar (SB_HORZ, SB_VERT).
inline BOOL ScrollTarget(int code, int position, int line, int page, int end, HWND bar, int& target,
                         int which = SB_CTL) {
    switch (code) {
        case SB_LINEUP:
            target = position - line;
            return TRUE;
        case SB_LINEDOWN:
            target = position + line;
            return TRUE;
        case SB_PAGEUP:
            target = position - page;
            return TRUE;
        case SB_PAGEDOWN:
            target = position + page;
            return TRUE;
        case SB_TOP:
            target = 0;
            return TRUE;
        case SB_BOTTOM:
            target = end;
            return TRUE;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            target = GetScrollInfo(bar, which, &si) ? si.nTrackPos : position;
            return TRUE;
        }
        default:
            return FALSE;
    }
}
