// The "msctls_updown32" class: two arrow buttons moving a position within a range. Each step asks the
// parent through UDN_DELTAPOS (non-zero refuses it), then tells it WM_VSCROLL (or WM_HSCROLL with UDS_HORZ)
// with SB_THUMBPOSITION and the new position; releasing the button ends with SB_ENDSCROLL. A held button
// repeats on a timer, so a driven clock steps it. The up arrow (the right one when horizontal) moves
// towards the range's upper end, whichever way round the range is.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/user/UpDown.h"
#include "platform/user/UserInternal.h"
#include "platform/user/controls/ControlProc.h"

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeat = 400;  // ms before a held button repeats
constexpr UINT kRepeat = 100;

class UpDown : public user::Control {
public:
    explicit UpDown(HWND h) : Control(h, kPaints | kPrints) {}
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    enum Part { kNone, kDecrement, kIncrement };
    bool Horizontal() const { return (Style() & UDS_HORZ) != 0; }
    RECT PartRect(Part part) const;
    Part HitPart(POINT p) const;
    void Paint(HDC dc) override;
    // Moves one step in the direction of `part`; false when the parent refused or nothing moved.
    bool Step(Part part);
    int Clamp(int pos) const { return std::clamp(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper)); }
    void Tell(int code);
    void SetBuddy(HWND buddy);
    void UpdateBuddy();
    // The position the buddy's text says; false when it is not a number in the range.
    bool ReadBuddy(int& pos) const;
    int Increment() const;
    void EndPress();

    int m_lower = 100;  // the control's own default range runs from 100 down to 0
    int m_upper = 0;
    int m_pos = 0;
    int m_base = 10;
    HWND m_buddy = nullptr;
    std::vector<UDACCEL> m_accel{{0, 1}, {2, 5}, {5, 20}};
    Part m_pressed = kNone;
    ULONGLONG m_pressTime = 0;
};

RECT UpDown::PartRect(Part part) const {
    RECT rc;
    GetClientRect(m_h, &rc);
    if (Horizontal()) {
        int mid = rc.right / 2;
        return part == kDecrement ? RECT{0, 0, mid, rc.bottom} : RECT{mid, 0, rc.right, rc.bottom};
    }
    int mid = rc.bottom / 2;
    return part == kIncrement ? RECT{0, 0, rc.right, mid} : RECT{0, mid, rc.right, rc.bottom};
}

UpDown::Part UpDown::HitPart(POINT p) const {
    for (Part part : {kDecrement, kIncrement}) {
        RECT r = PartRect(part);
        if (PtInRect(&r, p))
            return part;
    }
    return kNone;
}

void UpDown::Paint(HDC dc) {
    bool enabled = IsWindowEnabled(m_h) && m_lower != m_upper;
    bool horz = Horizontal();
    user::DrawArrowButton(dc, PartRect(kDecrement), horz ? user::kArrowLeft : user::kArrowDown,
                          m_pressed == kDecrement, enabled);
    user::DrawArrowButton(dc, PartRect(kIncrement), horz ? user::kArrowRight : user::kArrowUp,
                          m_pressed == kIncrement, enabled);
}

int UpDown::Increment() const {
    ULONGLONG held = (PlatformClockNow() - m_pressTime) / 1000;
    int inc = 1;
    for (const UDACCEL& a : m_accel)
        if (held >= a.nSec)
            inc = (int)a.nInc;
    return std::max(1, inc);
}

bool UpDown::Step(Part part) {
    if (m_lower == m_upper)
        return false;
    int toward = m_upper > m_lower ? 1 : -1;
    int delta = (part == kIncrement ? toward : -toward) * Increment();
    NMUPDOWN nm{};
    nm.iPos = m_pos;
    nm.iDelta = delta;
    if (Notify(&nm.hdr, UDN_DELTAPOS) || !IsWindow(m_h))
        return false;
    long long next = (long long)m_pos + nm.iDelta;
    int low = std::min(m_lower, m_upper), high = std::max(m_lower, m_upper);
    if (next < low || next > high) {
        if (Style() & UDS_WRAP)
            next = next < low ? high : low;
        else
            next = std::clamp<long long>(next, low, high);
    }
    if ((int)next == m_pos)
        return false;
    m_pos = (int)next;
    UpdateBuddy();
    Tell(SB_THUMBPOSITION);
    return true;
}

void UpDown::Tell(int code) {
    HWND parent = GetParent(m_h);
    if (parent)
        SendMessage(parent, Horizontal() ? WM_HSCROLL : WM_VSCROLL,
                    MAKEWPARAM(code, (WORD)(code == SB_THUMBPOSITION ? m_pos : 0)), (LPARAM)m_h);
}

void UpDown::SetBuddy(HWND buddy) {
    m_buddy = IsWindow(buddy) ? buddy : nullptr;
    DWORD style = Style();
    if (!m_buddy || !(style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT)))
        return;
    // The control takes the buddy's height and sits on its chosen side, which gives up the width.
    RECT br, mine;
    GetWindowRect(m_buddy, &br);
    GetWindowRect(m_h, &mine);
    HWND parent = GetParent(m_h);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&br), 2);
    int width = mine.right - mine.left;
    if (width <= 0 || width >= br.right - br.left)
        width = GetSystemMetrics(SM_CXVSCROLL);
    if (style & UDS_ALIGNRIGHT) {
        MoveWindow(m_buddy, br.left, br.top, br.right - br.left - width, br.bottom - br.top, TRUE);
        MoveWindow(m_h, br.right - width, br.top, width, br.bottom - br.top, TRUE);
    } else {
        MoveWindow(m_buddy, br.left + width, br.top, br.right - br.left - width, br.bottom - br.top, TRUE);
        MoveWindow(m_h, br.left, br.top, width, br.bottom - br.top, TRUE);
    }
}

void UpDown::UpdateBuddy() {
    if (!m_buddy || !(Style() & UDS_SETBUDDYINT))
        return;
    char text[40];
    if (m_base == 16) {
        snprintf(text, sizeof text, "0x%X", (unsigned)m_pos);
    } else {
        char digits[24];
        snprintf(digits, sizeof digits, "%d", std::abs(m_pos));
        std::string s = digits;
        if (!(Style() & UDS_NOTHOUSANDS))
            for (int at = (int)s.size() - 3; at > 0; at -= 3)
                s.insert((size_t)at, ",");
        snprintf(text, sizeof text, "%s%s", m_pos < 0 ? "-" : "", s.c_str());
    }
    SetWindowText(m_buddy, text);
}

bool UpDown::ReadBuddy(int& pos) const {
    CString text = GetWindowTextString(m_buddy);
    std::string digits;
    for (char c : std::string((LPCTSTR)text))
        if (c != ',' && c != ' ')
            digits += c;
    if (digits.empty())
        return false;
    char* end = nullptr;
    long value = std::strtol(digits.c_str(), &end, m_base == 16 ? 16 : 10);
    if (*end || value < std::min(m_lower, m_upper) || value > std::max(m_lower, m_upper))
        return false;
    pos = (int)value;
    return true;
}

void UpDown::EndPress() {
    if (m_pressed == kNone)
        return;
    m_pressed = kNone;
    KillTimer(m_h, kRepeatTimer);
    if (GetCapture() == m_h)
        ReleaseCapture();
    InvalidateRect(m_h, nullptr, FALSE);
    Tell(SB_ENDSCROLL);
}

LRESULT UpDown::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            if ((Style() & UDS_AUTOBUDDY))
                SetBuddy(GetWindow(m_h, GW_HWNDPREV));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            Part part = HitPart(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (part == kNone || !IsWindowEnabled(m_h))
                return 0;
            if (m_buddy && (Style() & UDS_SETBUDDYINT))
                ReadBuddy(m_pos);
            m_pressed = part;
            m_pressTime = PlatformClockNow();
            SetCapture(m_h);
            InvalidateRect(m_h, nullptr, FALSE);
            Step(part);
            if (IsWindow(m_h) && m_pressed != kNone)
                SetTimer(m_h, kRepeatTimer, kFirstRepeat, nullptr);
            return 0;
        }
        case WM_TIMER:
            if (wParam == kRepeatTimer && m_pressed != kNone) {
                SetTimer(m_h, kRepeatTimer, kRepeat, nullptr);
                POINT p;
                GetCursorPos(&p);
                ScreenToClient(m_h, &p);
                // The step repeats while the pointer stays on the pressed button.
                if (HitPart(p) == m_pressed)
                    Step(m_pressed);
            }
            return 0;
        case WM_LBUTTONUP:
            EndPress();
            return 0;
        case WM_CAPTURECHANGED:
            if ((HWND)lParam != m_h)
                EndPress();
            return 0;
        case WM_KEYDOWN:
            if ((Style() & UDS_ARROWKEYS) && (wParam == VK_UP || wParam == VK_DOWN)) {
                m_pressTime = PlatformClockNow();
                Step(wParam == VK_UP ? kIncrement : kDecrement);
                return 0;
            }
            break;
        case WM_GETDLGCODE:
            return (Style() & UDS_ARROWKEYS) ? DLGC_WANTARROWS : 0;
        case WM_ENABLE:
            InvalidateRect(m_h, nullptr, FALSE);
            return 0;
        case UDM_SETRANGE:
            m_upper = (short)LOWORD(lParam);
            m_lower = (short)HIWORD(lParam);
            m_pos = Clamp(m_pos);
            InvalidateRect(m_h, nullptr, FALSE);
            return 0;
        case UDM_GETRANGE:
            return MAKELRESULT(m_upper, m_lower);
        case UDM_SETRANGE32:
            m_lower = (int)wParam;
            m_upper = (int)lParam;
            m_pos = Clamp(m_pos);
            InvalidateRect(m_h, nullptr, FALSE);
            return 0;
        case UDM_GETRANGE32:
            if (wParam)
                *reinterpret_cast<int*>(wParam) = m_lower;
            if (lParam)
                *reinterpret_cast<int*>(lParam) = m_upper;
            return 0;
        case UDM_SETPOS:
        case UDM_SETPOS32: {
            int old = m_pos;
            m_pos = Clamp(msg == UDM_SETPOS ? (short)LOWORD(lParam) : (int)lParam);
            UpdateBuddy();
            return msg == UDM_SETPOS ? (LRESULT)(WORD)old : old;
        }
        case UDM_GETPOS:
        case UDM_GETPOS32: {
            // With an integer buddy the position is what the buddy says; text that is no number in the
            // range reports an error and leaves the position as it was.
            bool error = false;
            if (m_buddy && (Style() & UDS_SETBUDDYINT))
                error = !ReadBuddy(m_pos);
            if (msg == UDM_GETPOS32) {
                if (lParam)
                    *reinterpret_cast<BOOL*>(lParam) = error;
                return m_pos;
            }
            return MAKELRESULT(m_pos, error ? 1 : 0);
        }
        case UDM_SETBUDDY: {
            HWND old = m_buddy;
            SetBuddy((HWND)wParam);
            UpdateBuddy();
            return (LRESULT)old;
        }
        case UDM_GETBUDDY:
            return (LRESULT)(IsWindow(m_buddy) ? m_buddy : nullptr);
        case UDM_SETACCEL:
            if (!wParam || !lParam)
                return FALSE;
            m_accel.assign(reinterpret_cast<const UDACCEL*>(lParam),
                           reinterpret_cast<const UDACCEL*>(lParam) + wParam);
            return TRUE;
        case UDM_GETACCEL: {
            UINT n = std::min<UINT>((UINT)m_accel.size(), wParam ? *reinterpret_cast<UINT*>(wParam) : 0);
            if (lParam)
                std::copy(m_accel.begin(), m_accel.begin() + n, reinterpret_cast<UDACCEL*>(lParam));
            return (LRESULT)m_accel.size();
        }
        case UDM_SETBASE: {
            if (wParam != 10 && wParam != 16)
                return 0;
            int old = m_base;
            m_base = (int)wParam;
            UpdateBuddy();
            return old;
        }
        case UDM_GETBASE:
            return m_base;
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}
}  // namespace

void user::RegisterUpDownClass() {
    RegisterControlClass(UPDOWN_CLASS, user::ControlWindowProc<UpDown>, CS_HREDRAW | CS_VREDRAW);
}
