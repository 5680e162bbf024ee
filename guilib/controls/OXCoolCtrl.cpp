#include "guilib/controls/OXCoolCtrl.h"

#include <cstdint>

#include "platform/user/UpDown.h"

namespace {

BOOL ClassIs(HWND hwnd, const char* name) {
    if (!hwnd)
        return FALSE;
    char buffer[256];
    if (::GetClassName(hwnd, buffer, (int)sizeof(buffer)) <= 0)
        return FALSE;
    return CString(buffer).CompareNoCase(name) == 0;
}

// Rounds num / den to the nearest whole number (halves up), for num >= 0 and den > 0.
int64_t RoundedQuotient(int64_t num, int64_t den) {
    return (2 * num + den) / (2 * den);
}

}  // namespace

namespace oxcool {

BOOL IsEditWindow(HWND hwnd) {
    return ClassIs(hwnd, "Edit");
}

BOOL IsSpinWindow(HWND hwnd) {
    return ClassIs(hwnd, "msctls_updown32");
}

BOOL IsComboBoxWindow(HWND hwnd) {
    return ClassIs(hwnd, "ComboBox");
}

BOOL IsChildOrOwned(CWnd* pControl, CWnd* pWnd) {
    if (!pWnd || !pControl)
        return FALSE;
    HWND control = pControl->GetSafeHwnd();
    HWND hwnd = pWnd->GetSafeHwnd();
    while (hwnd) {
        if (hwnd == control)
            return TRUE;
        if (CWnd::FromHandlePermanent(hwnd)) {
            HWND owner = ::GetWindow(hwnd, GW_OWNER);
            hwnd = owner ? owner : ::GetParent(hwnd);
        } else if (::GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) {
            hwnd = ::GetParent(hwnd);
        } else {
            hwnd = ::GetWindow(hwnd, GW_OWNER);
        }
    }
    return FALSE;
}

HWND GetAttachedSpin(HWND hEdit) {
    if (!IsEditWindow(hEdit))
        return nullptr;
    HWND parent = ::GetParent(hEdit);
    if (!parent)
        return nullptr;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!IsSpinWindow(child) || !CWnd::FromHandlePermanent(child))
            continue;
        if ((HWND)::SendMessage(child, UDM_GETBUDDY, 0, 0) != hEdit)
            continue;
        if (::GetWindowLongPtr(child, GWL_STYLE) & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT))
            return child;
    }
    return nullptr;
}

BOOL CalcThumb(int trackLength, const SCROLLINFO& info, int& offset, int& length) {
    offset = length = 0;
    const int64_t page = info.nPage, maximum = info.nMax;
    if (page > maximum || page == 0 || trackLength < 8)
        return FALSE;
    int64_t thumb = RoundedQuotient(page * trackLength, maximum + 1);
    if (thumb < 8)
        thumb = 8;
    if (thumb > trackLength)
        thumb = trackLength;
    int64_t pos = info.nPos < 0 ? 0 : info.nPos;
    int64_t start = RoundedQuotient((trackLength - thumb) * pos, maximum - page + 1);
    // A thumb passing the track's end is moved back so that the ends meet.
    if (start + thumb > trackLength)
        start = trackLength - thumb;
    offset = (int)start;
    length = (int)thumb;
    return TRUE;
}

void DrawFlatBox(CDC* pDC, const RECT& box) {
    RECT r = box;
    pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    ::InflateRect(&r, -1, -1);
    pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNFACE));
}

BOOL IsCreatingWindow() {
    return AfxIsCreatingWindow() ? TRUE : FALSE;
}

}  // namespace oxcool
