// Every control survives a parent that destroys it inside the control's own notification (a dialog that
// closes on a click, a change or a scroll): the control's handler goes on to its end without touching freed
// memory, which AddressSanitizer would report.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/user/ListView.h"
#include "platform/user/TreeView.h"

namespace {
struct Case {
    const char* name;
    LPCTSTR className;
    DWORD style;
    UINT parentMessage;  // WM_COMMAND, WM_NOTIFY or WM_VSCROLL
    UINT code;           // the notification code, or the scroll request, the parent destroys the control at
    void (*prepare)(HWND);
    void (*provoke)(HWND);
};

HWND g_control = nullptr;
const Case* g_case = nullptr;
bool g_destroyed = false;

UINT CodeOf(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND)
        return HIWORD(wParam);
    if (msg == WM_NOTIFY)
        return reinterpret_cast<NMHDR*>(lParam)->code;
    return LOWORD(wParam);
}

LRESULT ParentProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_case && msg == g_case->parentMessage && CodeOf(msg, wParam, lParam) == g_case->code &&
        IsWindow(g_control)) {
        DestroyWindow(g_control);
        g_destroyed = true;
        return 0;
    }
    return DefWindowProc(h, msg, wParam, lParam);
}

void Press(HWND h, int x, int y) {
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}
void Release(HWND h, int x, int y) {
    SendMessage(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}
void Click(HWND h, int x, int y) {
    Press(h, x, y);
    Release(h, x, y);
}
void Drag(HWND h, POINT from, POINT to) {
    Press(h, from.x, from.y);
    SendMessage(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
}
void Key(HWND h, UINT vk) {
    SendMessage(h, WM_KEYDOWN, vk, 0);
    SendMessage(h, WM_KEYUP, vk, 0);
}

void Nothing(HWND) {}
void HeaderItems(HWND h) {
    for (int i = 0; i < 2; ++i) {
        HDITEM hi{};
        hi.mask = HDI_TEXT | HDI_WIDTH;
        hi.pszText = const_cast<LPTSTR>("caption");
        hi.cxy = 80;
        SendMessage(h, HDM_INSERTITEM, (WPARAM)i, (LPARAM)&hi);
    }
}
void ScrollRange(HWND h) {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
    SetScrollInfo(h, SB_CTL, &si, FALSE);
}
void ListRows(HWND h) {
    LVCOLUMN lc{LVCF_TEXT | LVCF_WIDTH, 0, 100, const_cast<LPTSTR>("name"), 0, 0, 0, 0};
    SendMessage(h, LVM_INSERTCOLUMN, 0, (LPARAM)&lc);
    for (int r = 0; r < 3; ++r) {
        LVITEM li{};
        li.mask = LVIF_TEXT;
        li.iItem = r;
        li.pszText = const_cast<LPTSTR>("row");
        SendMessage(h, LVM_INSERTITEM, 0, (LPARAM)&li);
    }
}
void TreeItems(HWND h) {
    for (int i = 0; i < 2; ++i) {
        TVINSERTSTRUCT ins{};
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<LPTSTR>("item");
        SendMessage(h, TVM_INSERTITEM, 0, (LPARAM)&ins);
    }
}
// A click on the label of the first row of a list or tree.
void ClickFirstRow(HWND h) {
    RECT r{LVIR_LABEL, 0, 0, 0};
    if (!SendMessage(h, LVM_GETITEMRECT, 0, (LPARAM)&r)) {
        auto item = (HTREEITEM)SendMessage(h, TVM_GETNEXTITEM, TVGN_ROOT, 0);
        std::memcpy(&r, &item, sizeof item);
        SendMessage(h, TVM_GETITEMRECT, TRUE, (LPARAM)&r);
    }
    Click(h, r.left + 5, (r.top + r.bottom) / 2);
}

const Case kCases[] = {
    {"push button clicked", WC_BUTTON, BS_PUSHBUTTON, WM_COMMAND, BN_CLICKED, Nothing,
     [](HWND h) { Click(h, 10, 10); }},
    {"check box toggled by the space bar", WC_BUTTON, BS_AUTOCHECKBOX, WM_COMMAND, BN_CLICKED, Nothing,
     [](HWND h) { Key(h, VK_SPACE); }},
    {"radio button clicked", WC_BUTTON, BS_AUTORADIOBUTTON, WM_COMMAND, BN_CLICKED, Nothing,
     [](HWND h) { SendMessage(h, BM_CLICK, 0, 0); }},
    {"button told of its focus", WC_BUTTON, BS_PUSHBUTTON | BS_NOTIFY, WM_COMMAND, BN_SETFOCUS, Nothing,
     [](HWND h) { SetFocus(h); }},
    {"static clicked", WC_STATIC, SS_LEFT | SS_NOTIFY, WM_COMMAND, STN_CLICKED, Nothing,
     [](HWND h) { Click(h, 10, 10); }},
    {"edit typed into (update)", WC_EDIT, ES_LEFT, WM_COMMAND, EN_UPDATE, Nothing,
     [](HWND h) { SendMessage(h, WM_CHAR, 'a', 0); }},
    {"edit typed into past its limit", WC_EDIT, ES_LEFT, WM_COMMAND, EN_MAXTEXT,
     [](HWND h) { SendMessage(h, EM_LIMITTEXT, 1, 0); },
     [](HWND h) {
         SendMessage(h, WM_CHAR, 'a', 0);
         SendMessage(h, WM_CHAR, 'b', 0);
     }},
    {"edit given a text", WC_EDIT, ES_LEFT, WM_COMMAND, EN_CHANGE, Nothing,
     [](HWND h) { SetWindowText(h, "new"); }},
    {"edit told of its focus", WC_EDIT, ES_LEFT, WM_COMMAND, EN_SETFOCUS, Nothing,
     [](HWND h) { SetFocus(h); }},
    {"header caption clicked", WC_HEADER, HDS_BUTTONS, WM_NOTIFY, HDN_ITEMCLICK, HeaderItems,
     [](HWND h) { Click(h, 20, 5); }},
    {"header divider grabbed", WC_HEADER, HDS_BUTTONS, WM_NOTIFY, HDN_BEGINTRACK, HeaderItems,
     [](HWND h) { Press(h, 80, 5); }},
    {"header divider dragged", WC_HEADER, HDS_BUTTONS, WM_NOTIFY, HDN_ITEMCHANGING, HeaderItems,
     [](HWND h) {
         Drag(h, {80, 5}, {100, 5});
     }},
    {"header divider released", WC_HEADER, HDS_BUTTONS, WM_NOTIFY, HDN_ENDTRACK, HeaderItems,
     [](HWND h) { Click(h, 80, 5); }},
    {"scroll bar arrow pressed", WC_SCROLLBAR, SBS_VERT, WM_VSCROLL, SB_LINEDOWN, ScrollRange,
     [](HWND h) { Click(h, 5, 195); }},
    {"scroll bar thumb dragged", WC_SCROLLBAR, SBS_VERT, WM_VSCROLL, SB_THUMBTRACK, ScrollRange,
     [](HWND h) {
         Drag(h, {5, 25}, {5, 90});
     }},
    {"scroll bar thumb dropped", WC_SCROLLBAR, SBS_VERT, WM_VSCROLL, SB_THUMBPOSITION, ScrollRange,
     [](HWND h) {
         Drag(h, {5, 25}, {5, 90});
         Release(h, 5, 90);
     }},
    {"list row clicked", WC_LISTVIEW, LVS_REPORT, WM_NOTIFY, NM_CLICK, ListRows, ClickFirstRow},
    {"list selection changed", WC_LISTVIEW, LVS_REPORT, WM_NOTIFY, LVN_ITEMCHANGED, ListRows, ClickFirstRow},
    {"list key", WC_LISTVIEW, LVS_REPORT, WM_NOTIFY, LVN_KEYDOWN, ListRows, [](HWND h) { Key(h, VK_DOWN); }},
    {"list column clicked", WC_LISTVIEW, LVS_REPORT, WM_NOTIFY, LVN_COLUMNCLICK, ListRows,
     [](HWND h) { Click((HWND)SendMessage(h, LVM_GETHEADER, 0, 0), 20, 5); }},
    {"tree item clicked", WC_TREEVIEW, 0, WM_NOTIFY, NM_CLICK, TreeItems, ClickFirstRow},
    {"tree selection changed", WC_TREEVIEW, 0, WM_NOTIFY, TVN_SELCHANGED, TreeItems,
     [](HWND h) { Key(h, VK_DOWN); }},
};
// The progress bar tells its parent nothing, so it has no row here.

TEST(ControlChassis, EveryControlMayBeDestroyedByItsParentInsideItsOwnNotification) {
    WNDCLASS wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = "ControlChassisTestParent";
    RegisterClass(&wc);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        HWND top = CreateWindowEx(0, wc.lpszClassName, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300,
                                  nullptr, nullptr, nullptr, nullptr);
        bool bar = c.className == std::string(WC_SCROLLBAR);
        g_control = CreateWindowEx(0, c.className, "", WS_CHILD | WS_VISIBLE | c.style, 0, 0, bar ? 16 : 160,
                                   bar ? 200 : 120, top, (HMENU)5, nullptr, nullptr);
        ASSERT_TRUE(g_control);
        c.prepare(g_control);
        g_destroyed = false;
        g_case = &c;
        c.provoke(g_control);
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&m);
        g_case = nullptr;
        EXPECT_TRUE(g_destroyed);
        EXPECT_FALSE(IsWindow(g_control));
        DestroyWindow(top);
    }
}
}  // namespace
