#include <gtest/gtest.h>

#include <vector>

#include "guilib/controls/OXHistoryCombo.h"
#include "platform/framework/app/WinThread.h"
#include "tests/support/Gui.h"
#include "platform/user/CommonDialogs.h"
#include "platform/user/ToolTip.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace {

std::vector<UINT> g_comboCommands;
std::vector<std::pair<WPARAM, LPARAM>> g_parentCommands;  // every WM_COMMAND the parent hears

LRESULT ComboParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && lp) {
        g_comboCommands.push_back(HIWORD(wp));
        g_parentCommands.emplace_back(wp, lp);
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

// An editable combo in a parent, with a registry file and an application of its own.
class HistoryComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_comboCommands.clear();
        g_parentCommands.clear();
        app.SetRegistryKey("Veltrin");
        RegisterTestWindowClass("HistoryComboParent", ComboParentProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "HistoryComboParent", "combo", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                    nullptr));
    }
    void TearDown() override {
        parent.DestroyWindow();
        Pump();
    }
    void Create(COXHistoryCombo& combo) {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, RECT{10, 10, 200, 150}, &parent, 31));
    }
    std::vector<CString> Items(COXHistoryCombo& combo) {
        std::vector<CString> items;
        for (int i = 0; i < combo.GetCount(); ++i) {
            CString t;
            combo.GetLBText(i, t);
            items.push_back(t);
        }
        return items;
    }
    CString Stored() {
        HKEY key = nullptr;
        CString value;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Veltrin\\HistoryTest\\HistoryCombo", 0, KEY_READ, &key) ==
            ERROR_SUCCESS) {
            char buffer[256] = {0};
            DWORD size = sizeof buffer, type = 0;
            if (RegQueryValueEx(key, "Files", nullptr, &type, (LPBYTE)buffer, &size) == ERROR_SUCCESS)
                value = buffer;
            else
                value = "<none>";
            RegCloseKey(key);
        }
        return value;
    }
    void Store(const char* text) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Veltrin\\HistoryTest\\HistoryCombo", 0, nullptr, 0,
                                 KEY_READ | KEY_WRITE, nullptr, &key, &disposition),
                  ERROR_SUCCESS);
        RegSetValueEx(key, "Files", 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1);
        RegCloseKey(key);
    }
    TempRegistry registry;
    CWinApp app{"HistoryTest"};
    CWnd parent;
};

TEST_F(HistoryComboTest, AddingKeepsSixMostRecentTextsWithoutRegardToCase) {
    COXHistoryCombo combo;
    Create(combo);
    EXPECT_EQ(combo.GetToolbarPosition(), 12);
    EXPECT_FALSE(combo.AddItem()) << "an empty edit field adds nothing";
    for (const char* t : {"one", "two", "ABC"})
        EXPECT_TRUE(combo.AddItem(t));
    EXPECT_FALSE(combo.AddItem("abc")) << "only moved to the top";
    EXPECT_EQ(Items(combo), (std::vector<CString>{"abc", "two", "one"}));
    for (const char* t : {"d", "e", "f", "g"})
        combo.AddItem(t);
    EXPECT_EQ(Items(combo), (std::vector<CString>{"g", "f", "e", "d", "abc", "two"}));
    EXPECT_EQ(combo.GetJoinedItems(), "g|f|e|d|abc|two");
    combo.SetWindowText("typed");
    EXPECT_TRUE(combo.CanAdd());
    EXPECT_TRUE(combo.AddItem());
    EXPECT_EQ(Items(combo).front(), "typed");
}

TEST_F(HistoryComboTest, DeletingSelectsTheNextAndNotifiesUnlessItWasTheLast) {
    COXHistoryCombo combo;
    Create(combo);
    for (const char* t : {"c", "b", "a"})
        combo.AddItem(t);
    combo.SetCurSel(0);
    g_comboCommands.clear();
    EXPECT_TRUE(combo.DeleteItem());
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(g_comboCommands, (std::vector<UINT>{CBN_SELCHANGE}));
    g_comboCommands.clear();
    EXPECT_TRUE(combo.DeleteItem(1));
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_TRUE(g_comboCommands.empty());
    EXPECT_FALSE(combo.DeleteItem(5));
}

TEST_F(HistoryComboTest, TheRegistryValueIsTheJoinedItems) {
    {
        COXHistoryCombo combo;
        Create(combo);
        ASSERT_TRUE(combo.SetAutoPersistent("Files"));
        for (const char* t : {"a", "b"})
            combo.AddItem(t);
        combo.SetWindowText("c");
        combo.DestroyWindow();  // saves with the current text
    }
    EXPECT_EQ(Stored(), "c|b|a");
    // Empty pieces are skipped; at most six pieces come back.
    Store("x||y|1|2|3|4|5|6");
    COXHistoryCombo combo;
    Create(combo);
    ASSERT_TRUE(combo.SetAutoPersistent("Files"));
    EXPECT_EQ(Items(combo), (std::vector<CString>{"x", "y", "1", "2", "3", "4"}));
    EXPECT_EQ(combo.GetCurSel(), 0);
    // An empty list deletes the value.
    combo.ResetContent();
    combo.SetWindowText("");
    EXPECT_TRUE(combo.SaveContents("Files", "", "", HKEY_CURRENT_USER, FALSE));
    EXPECT_EQ(Stored(), "<none>");
    EXPECT_FALSE(combo.SaveContents("", "", ""));
    EXPECT_FALSE(combo.RestoreContents("", "", ""));
}

// The toolbar's button ids in order, and whether each is enabled.
std::vector<std::pair<UINT, bool>> Buttons(CMFCToolBar* bar) {
    std::vector<std::pair<UINT, bool>> out;
    CToolBarCtrl& ctrl = bar->GetToolBarCtrl();
    for (int i = 0; i < ctrl.GetButtonCount(); ++i) {
        UINT id = bar->GetItemID(i);
        out.emplace_back(id, (ctrl.GetState((int)id) & TBSTATE_ENABLED) != 0);
    }
    return out;
}

// The combo's rectangle in its parent's client coordinates.
RECT InParent(CWnd& wnd) {
    RECT rc;
    wnd.GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, ::GetParent(wnd.m_hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

TEST_F(HistoryComboTest, TheToolbarSitsBesideTheComboWithTheShownButtons) {
    COXHistoryCombo combo;
    Create(combo);
    CMFCToolBar* bar = combo.GetToolbar();
    ASSERT_TRUE(::IsWindow(bar->m_hWnd));
    EXPECT_EQ(bar->GetParent(), &parent);
    EXPECT_EQ(bar->GetDlgCtrlID(), 0xE800);
    EXPECT_EQ(::GetWindow(bar->m_hWnd, GW_OWNER), combo.m_hWnd);
    EXPECT_TRUE(bar->IsWindowVisible());
    std::vector<UINT> ids;
    for (auto& b : Buttons(bar))
        ids.push_back(b.first);
    EXPECT_EQ(ids, (std::vector<UINT>{26391, 26392, 26393}));

    // Three 23 x 22 buttons inside one-pixel borders: 71 x 24.
    RECT c = InParent(combo);
    struct Case {
        int position;
        int flush;
        int left, top;
    } cases[] = {
        {12, 0, c.right - 1, c.top + (c.bottom - c.top - 24) / 2},
        {12, 1, c.right, c.top + (c.bottom - c.top - 24) / 2},
        {2, 0, c.left - 1, c.top - 24 + 1},
        {7, 0, c.right - 71 + 1, c.bottom - 1},
        {10, 0, c.left - 71 + 1, c.bottom - 24 + 1},
        {0, 0, 0, 0},
    };
    for (const Case& k : cases) {
        combo.PositionToolbar(k.position, k.flush);
        RECT r = InParent(*bar);
        EXPECT_EQ(r.left, k.left) << "position " << k.position << " flush " << k.flush;
        EXPECT_EQ(r.top, k.top) << "position " << k.position << " flush " << k.flush;
        EXPECT_EQ(r.right - r.left, 71);
        EXPECT_EQ(r.bottom - r.top, 24);
    }
    // Moving the combo takes the bar along (at its stored position, not flush).
    combo.PositionToolbar(12, 1);
    combo.MoveWindow(40, 60, 150, c.bottom - c.top);
    c = InParent(combo);
    EXPECT_EQ(InParent(*bar).left, c.right - 1);

    // Position 1, or no button shown, hides it.
    combo.PositionToolbar(1);
    EXPECT_FALSE(bar->IsWindowVisible());
    combo.PositionToolbar(12);
    for (int i = 0; i < 3; ++i)
        combo.ShowButton(i, FALSE);
    combo.ShowButton(4, TRUE);
    combo.RefreshToolbar();
    EXPECT_TRUE(bar->IsWindowVisible());
    EXPECT_EQ(Buttons(bar), (std::vector<std::pair<UINT, bool>>{{26395, true}}));
    combo.ShowButton(4, FALSE);
    combo.RefreshToolbar();
    EXPECT_FALSE(bar->IsWindowVisible());

    HWND barWindow = bar->m_hWnd;
    combo.DestroyWindow();
    EXPECT_FALSE(::IsWindow(barWindow)) << "the bar goes with the combo";
    ASSERT_NE(combo.GetToolbar(), nullptr) << "a fresh bar waits for a later window";
    EXPECT_EQ(combo.GetToolbar()->m_hWnd, nullptr);
}

TEST_F(HistoryComboTest, ButtonsRunTheirOperationsAndTakeTheirStatesFromTheCombo) {
    COXHistoryCombo combo;
    Create(combo);
    combo.ShowButton(3, TRUE);
    combo.RefreshToolbar();
    CMFCToolBar* bar = combo.GetToolbar();
    using States = std::vector<std::pair<UINT, bool>>;
    combo.OnIdleUpdate(0);
    EXPECT_EQ(Buttons(bar), (States{{26391, false}, {26392, false}, {26393, true}, {26394, false}}));
    combo.SetWindowText("first");
    combo.OnIdleUpdate(0);
    EXPECT_EQ(Buttons(bar), (States{{26391, true}, {26392, false}, {26393, true}, {26394, false}}));

    // A click on Add, as the bar reports it.
    combo.SendMessage(WM_COMMAND, 26391, (LPARAM)bar->m_hWnd);
    EXPECT_EQ(Items(combo), (std::vector<CString>{"first"}));
    combo.OnIdleUpdate(0);
    EXPECT_EQ(Buttons(bar)[1], (std::pair<UINT, bool>{26392, true}));
    combo.SendMessage(WM_COMMAND, 26392, (LPARAM)bar->m_hWnd);
    EXPECT_TRUE(Items(combo).empty());

    // A disabled combo disables its bar and every button; idle count 1 changes nothing.
    combo.SetWindowText("again");
    combo.EnableWindow(FALSE);
    EXPECT_FALSE(bar->IsWindowEnabled());
    combo.OnIdleUpdate(1);
    EXPECT_TRUE(Buttons(bar)[2].second);
    combo.OnIdleUpdate(0);
    EXPECT_EQ(Buttons(bar), (States{{26391, false}, {26392, false}, {26393, false}, {26394, false}}));

    // Another command of the bar goes to the parent with the bar's handle.
    g_parentCommands.clear();
    combo.SendMessage(WM_COMMAND, 4242, (LPARAM)bar->m_hWnd);
    ASSERT_EQ(g_parentCommands.size(), 1u);
    EXPECT_EQ(g_parentCommands[0], (std::pair<WPARAM, LPARAM>{4242, (LPARAM)bar->m_hWnd}));
}

TEST_F(HistoryComboTest, ToolTipsAreTheStringsSecondLines) {
    COXHistoryCombo combo;
    Create(combo);
    CMFCToolBar* bar = combo.GetToolbar();
    struct Case {
        UINT id;
        const char* tip;  // null: no answer
    } cases[] = {{26392, "Delete (Delete)"}, {26393, "Browse"}, {26395, "Reserved"}, {4242, nullptr}};
    for (const Case& k : cases) {
        NMTTDISPINFO info{};
        info.hdr.hwndFrom = bar->m_hWnd;
        info.hdr.idFrom = k.id;
        info.hdr.code = TTN_NEEDTEXT;
        bar->SendMessage(WM_NOTIFY, k.id, (LPARAM)&info);
        EXPECT_STREQ(info.lpszText ? info.lpszText : nullptr, k.tip) << k.id;
    }
}

TEST_F(HistoryComboTest, BrowsePutsTheChosenPathIntoTheFieldAndTellsTheParent) {
    TempFolder folder{"historybrowse"};
    folder.Write("picture.bmp", "x");
    COXHistoryCombo combo;
    Create(combo);
    ModalSteps modal;
    modal.Start({[&](HWND d) { SetDlgItemText(d, IDC_FILE_NAME, (folder.Path() + "/picture.bmp").c_str()); },
                 ModalSteps::ClickItem(IDOK)});
    g_comboCommands.clear();
    EXPECT_TRUE(combo.Browse());
    CString text;
    combo.GetWindowText(text);
    EXPECT_EQ(text, CString((folder.Path() + "/picture.bmp").c_str()));
    EXPECT_EQ(g_comboCommands, (std::vector<UINT>{CBN_EDITCHANGE}));

    modal.Start({ModalSteps::ClickItem(IDCANCEL)});
    g_comboCommands.clear();
    EXPECT_FALSE(combo.Browse());
    EXPECT_TRUE(g_comboCommands.empty());
}

TEST_F(HistoryComboTest, ASubclassedComboGetsItsToolbarAndHistory) {
    Store("kept|older");
    HWND existing = CreateWindowEx(0, WC_COMBOBOX, "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 10, 150, 100,
                                   parent.m_hWnd, (HMENU)32, nullptr, nullptr);
    COXHistoryCombo combo;
    ASSERT_TRUE(combo.SetAutoPersistent("Files"));
    ASSERT_TRUE(combo.SubclassWindow(existing));
    EXPECT_TRUE(::IsWindow(combo.GetToolbar()->m_hWnd));
    EXPECT_EQ(Items(combo), (std::vector<CString>{"kept", "older"}));
}

TEST_F(HistoryComboTest, GalleryShowsTheToolbarImagesBesideTheCombo) {
    COXHistoryCombo combo;
    Create(combo);
    combo.AddItem("/tmp/picture.bmp");
    CMFCToolBar* bar = combo.GetToolbar();
    ScreenshotOnFailure shot(parent.GetSafeHwnd());
    RedrawWindow(parent.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    PixelProbe px(parent.GetSafeHwnd());
    // The buttons' rectangles in the parent's window coordinates.
    auto button = [&](int index) {
        RECT r;
        bar->GetItemRect(index, &r);
        ::MapWindowPoints(bar->m_hWnd, parent.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    EXPECT_TRUE(px.Any(button(0), [](COLORREF c) { return c == RGB(0, 0, 0); })) << "Add's black plus";
    EXPECT_TRUE(px.Any(button(1), [](COLORREF c) { return c == RGB(128, 0, 0); })) << "Delete's red cross";
    EXPECT_TRUE(px.Any(button(2), [](COLORREF c) { return c == RGB(255, 255, 0); })) << "Browse's folder";
    EXPECT_FALSE(px.Any(button(0), [](COLORREF c) { return c == RGB(192, 192, 192); }))
        << "the bitmap's light grey is transparent";
    EXPECT_FALSE(WriteScreenshot(parent.GetSafeHwnd(), "Gallery_HistoryCombo").empty());
}

}  // namespace
