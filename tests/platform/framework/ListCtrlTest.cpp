#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/controls/ListCtrl.h"
#include "tests/support/Gui.h"

namespace {
// A list that handles its own clicks and looks at its selection changes without keeping them from its parent.
class OwnList : public CListCtrl {
public:
    int clicks = 0, changes = 0;

protected:
    void OnClick(NMHDR*, LRESULT* result) {
        ++clicks;
        *result = 0;
    }
    BOOL OnChanged(NMHDR*, LRESULT*) {
        ++changes;
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwnList, CListCtrl)
ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
ON_NOTIFY_REFLECT_EX(LVN_ITEMCHANGED, OnChanged)
END_MESSAGE_MAP()

class Owner : public CWnd {
public:
    int clicks = 0, changes = 0;

protected:
    void OnClick(NMHDR*, LRESULT*) { ++clicks; }
    void OnChanged(NMHDR*, LRESULT*) { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Owner, CWnd)
ON_NOTIFY(NM_CLICK, 9, OnClick)
ON_NOTIFY(LVN_ITEMCHANGED, 9, OnChanged)
END_MESSAGE_MAP()
}  // namespace

TEST(ListCtrl, ReflectedNotificationsReachTheControlFirst) {
    Owner owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxWndClassName(), "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                               nullptr));
    OwnList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 300, 200}, &owner, 9));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
    list.InsertColumn(1, "Size", LVCFMT_RIGHT, 80);
    for (int i = 0; i < 5; ++i) {
        int row = list.InsertItem(i, ("file" + std::to_string(i)).c_str());
        list.SetItemText(row, 1, std::to_string(i * 100).c_str());
        list.SetItemData(row, (DWORD_PTR)(i + 1));
    }
    RECT r;
    list.GetItemRect(3, &r, LVIR_BOUNDS);
    SimulateClick(list.m_hWnd, 20, (r.top + r.bottom) / 2);
    Pump();
    EXPECT_EQ(list.clicks, 1);
    EXPECT_EQ(owner.clicks, 0);  // handled by the list itself
    EXPECT_GE(list.changes, 1);
    EXPECT_EQ(owner.changes, list.changes);  // _EX returning FALSE lets the owner hear it too

    POSITION pos = list.GetFirstSelectedItemPosition();
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(list.GetNextSelectedItem(pos), 3);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(list.GetItemData(3), 4u);
    EXPECT_EQ(list.GetItemText(3, 1), "300");
    std::string longText(1000, 'x');
    list.SetItemText(2, 0, longText.c_str());
    EXPECT_EQ(list.GetItemText(2, 0).GetLength(), 1000);
    EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 2);
    owner.DestroyWindow();
    Pump();
}

namespace {
// An owner-drawn list that draws and measures its own rows.
class DrawnList : public CListCtrl {
public:
    std::vector<UINT> drawn;
    void DrawItem(LPDRAWITEMSTRUCT dis) override { drawn.push_back(dis->itemID); }
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override { mis->itemHeight = 31; }
};

class DrawingOwner : public CWnd {
public:
    int drawItems = 0;

protected:
    LRESULT OnDrawItem(WPARAM, LPARAM) {
        ++drawItems;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DrawingOwner, CWnd)
ON_MESSAGE(WM_DRAWITEM, OnDrawItem)
END_MESSAGE_MAP()
}  // namespace

TEST(ListCtrl, OwnerDrawnRowsAreReflectedToAListThatDrawsThem) {
    DrawingOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxWndClassName(), "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                               nullptr));
    DrawnList drawnList;
    CListCtrl plainList;
    const DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED;
    ASSERT_TRUE(drawnList.Create(style, RECT{0, 0, 150, 200}, &owner, 11));
    ASSERT_TRUE(plainList.Create(style, RECT{150, 0, 300, 200}, &owner, 12));
    for (CListCtrl* list : {(CListCtrl*)&drawnList, &plainList}) {
        list->InsertColumn(0, "Name", LVCFMT_LEFT, 120);
        list->InsertItem(0, "a");
        list->InsertItem(1, "b");
    }
    Pump();
    EXPECT_EQ(drawnList.drawn, (std::vector<UINT>{0, 1}));
    RECT r;
    drawnList.GetItemRect(1, &r, LVIR_BOUNDS);
    EXPECT_EQ(r.bottom - r.top, 31);
    EXPECT_EQ(owner.drawItems, 2);  // the plain list's rows still go to the owner
    owner.DestroyWindow();
    Pump();
}
