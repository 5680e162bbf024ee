// CMenu: permanent and temporary objects over menu handles, and owner drawing of menu items reaching
// the menu object through the owner window.
#include <gtest/gtest.h>

#include <vector>

#include "platform/framework/window/Menu.h"
#include "platform/framework/window/Wnd.h"

namespace {
class CDrawnMenu : public CMenu {
public:
    std::vector<UINT> measured;
    std::vector<UINT> drawn;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
        measured.push_back(mis->itemID);
        mis->itemWidth = 90;
        mis->itemHeight = 24;
    }
    void DrawItem(LPDRAWITEMSTRUCT dis) override { drawn.push_back(dis->itemID); }
};

// Ends each menu loop as soon as it is idle.
class COwnerWnd : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ENTERIDLE) {
            EndMenu();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
}  // namespace

TEST(MenuObjectTest, PermanentAndTemporaryObjects) {
    HMENU handle;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        handle = menu.m_hMenu;
        EXPECT_EQ(CMenu::FromHandle(handle), &menu);
        EXPECT_EQ(CMenu::FromHandlePermanent(handle), &menu);
        HMENU other = ::CreatePopupMenu();
        EXPECT_FALSE(menu.Attach(other));  // it holds one already
        ::DestroyMenu(other);
        menu.AppendMenu(MF_STRING, 5, "&Five");
        CString text;
        EXPECT_EQ(menu.GetMenuString(5, text, MF_BYCOMMAND), 5);
        EXPECT_EQ(text, CString("&Five"));
    }
    EXPECT_FALSE(IsMenu(handle));  // the object destroyed its menu

    HMENU loose = ::CreatePopupMenu();
    CMenu* temp = CMenu::FromHandle(loose);
    ASSERT_TRUE(temp);
    EXPECT_EQ(CMenu::FromHandlePermanent(loose), nullptr);
    EXPECT_EQ(CMenu::FromHandle(loose), temp);
    CMenu::DeleteTempMap();
    EXPECT_TRUE(IsMenu(loose));  // a temporary object never destroys the menu
    CMenu kept;
    kept.Attach(loose);
    EXPECT_EQ(kept.Detach(), loose);
    EXPECT_EQ(CMenu::FromHandlePermanent(loose), nullptr);
    EXPECT_TRUE(::DestroyMenu(loose));
}

TEST(MenuObjectTest, OwnerDrawingReachesTheMenuObject) {
    COwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    CDrawnMenu popup;
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_OWNERDRAW, 41, nullptr);
    popup.AppendMenu(MF_OWNERDRAW, 42, nullptr);
    CMenu top;
    top.CreatePopupMenu();
    top.AppendMenu(MF_STRING, 40, "Plain");
    top.AppendMenu(MF_POPUP, (UINT_PTR)popup.m_hMenu, "Sub");
    // The owner-drawn popup tracked on its own, and as a sub-menu found from its item's id.
    popup.TrackPopupMenu(TPM_RETURNCMD, 10, 10, &owner);
    EXPECT_EQ(popup.measured, (std::vector<UINT>{41, 42}));
    EXPECT_EQ(popup.drawn, (std::vector<UINT>{41, 42}));
    popup.measured.clear();
    EXPECT_EQ(CMenu::FindPopupMenuFromID(top, 42), &popup);
    EXPECT_EQ(CMenu::FindPopupMenuFromID(top, 40), &top);
    EXPECT_EQ(CMenu::FindPopupMenuFromID(top, 99), nullptr);
    // `top` destroys the sub-menu with itself; `popup`'s object then finds its handle gone.
    owner.DestroyWindow();
}
