// A cool tool bar being customised: who may customise it, selection, the button menu and its edits
// with the owner's veto, commands dropped onto it, and its indexes kept in step with its buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/customize/OXDragDropCommands.h"
#include "guilib/skins/OXBlockReader.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/base/Archive.h"
#include "platform/base/Profile.h"
#include "platform/user/Resources.h"
#include "tests/guilib/customize/TestCustomButton.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

// One namespace per test file: the test program compiles its files in batches.
namespace ox_cool_tool_bar_customize_test {
namespace {
constexpr UINT ID_A = 100, ID_B = 101, ID_C = 102, ID_D = 103;

class Resources : public ResourceModule {
public:
    const ToolbarTemplate* FindToolbar(UINT id) const override {
        static const ToolbarTemplate bar{300, 16, 15, {ID_A, 0, ID_B, ID_C}};
        return id == 300 ? &bar : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource strip{300, test_toolbar3_png, test_toolbar3_png_size};
        return id == 300 ? &strip : nullptr;
    }
    const char* FindString(UINT id) const override {
        return id == ID_A ? "Opens a file\nOpen" : id == ID_B ? "Save" : nullptr;
    }
};

std::vector<int> g_commands;
LRESULT g_answer = 0;
LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        auto* record = reinterpret_cast<NMCTBCUSTOMIZE*>(lParam);
        if (record->nmhdr.code == OX_TOOLBAR_CUSTOMIZE_NOTIFY) {
            g_commands.push_back(record->nCustomizeEventID);
            return g_answer;
        }
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

const UINT kPool[] = {ID_A, ID_B, ID_C, ID_D};

class ToolBarCustomizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_commands.clear();
        g_answer = 0;
        AddResourceModule(&resources);
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 600, 400}));
        app.m_pMainWnd = frame;
        RegisterTestWindowClass("ToolBarOwner", OwnerProc, COLOR_WINDOW);
        owner = CWnd::FromHandle(
            CreateWindow("ToolBarOwner", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, 0xE800));
        ASSERT_TRUE(bar.LoadToolBar(300));
        bar.SetAvailableButtons(kPool, 4);
        bar.SetCustomizeMode(TRUE, owner);
        g_commands.clear();
    }
    void TearDown() override {
        bar.DestroyWindow();
        app.m_pMainWnd = nullptr;
        frame->DestroyWindow();
        DestroyWindow(owner->m_hWnd);
        RemoveResourceModule(&resources);
    }
    std::vector<int> Ids() {
        std::vector<int> ids;
        for (int i = 0; i < bar.GetToolBarCtrl().GetButtonCount(); ++i)
            ids.push_back((int)bar.GetItemID(i));
        return ids;
    }
    POINT Centre(int index) {
        RECT r;
        bar.GetItemRect(index, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Drags a block over the bar at `point` and drops it; the drop's result.
    DWORD Drop(COleDataSource* source, POINT point, DWORD keys = 0) {
        COleDataObject data;
        data.Attach(source);
        SHBDROPTARGETACTION action;
        action.pWnd = &bar;
        action.pDataObject = &data;
        action.dwKeyState = keys;
        action.point = point;
        SendMessage(bar.m_hWnd, SHBDTM_DRAGENTER, 0, (LPARAM)&action);
        DWORD over = action.result;
        if (over == DROPEFFECT_NONE)
            return DROPEFFECT_NONE;
        action.dropEffect = over;
        action.result = 0;
        SendMessage(bar.m_hWnd, SHBDTM_DROP, 0, (LPARAM)&action);
        return action.result;
    }

    TempRegistry registry;
    Resources resources;
    CWinApp app{"BarApp"};
    CFrameWnd* frame = nullptr;
    CWnd* owner = nullptr;
    COXCoolToolBar bar;
};
}  // namespace

TEST_F(ToolBarCustomizeTest, WhoMayCustomise) {
    struct Case {
        bool pool;
        BOOL customizable, advanced;
        bool adjustable, advancedAfter;
    } cases[] = {
        {true, TRUE, FALSE, true, false},  {true, TRUE, TRUE, false, true},   {true, FALSE, TRUE, false, false},
        {true, FALSE, FALSE, false, false}, {false, TRUE, FALSE, false, false}, {false, TRUE, TRUE, false, false},
    };
    for (const Case& c : cases) {
        COXCoolToolBar other;
        ASSERT_TRUE(other.Create(frame, WS_CHILD | CBRS_ALIGN_TOP, 0xE801));
        if (c.pool)
            other.SetAvailableButtons(kPool, 4);
        other.SetCustomizable(c.customizable, c.advanced);
        EXPECT_EQ(other.IsCustomizable(FALSE) != 0, c.adjustable) << c.pool << c.customizable << c.advanced;
        EXPECT_EQ(other.IsCustomizable(TRUE) != 0, c.advancedAfter) << c.pool << c.customizable << c.advanced;
        other.DestroyWindow();
    }
    // The adjust dialog's questions: pool entries only, the text cut to the buffer.
    NMTOOLBAR ask{};
    ask.hdr.hwndFrom = bar.m_hWnd;
    ask.hdr.idFrom = 0xE800;
    ask.hdr.code = TBN_GETBUTTONINFO;
    char text[4];
    ask.pszText = text;
    ask.cchText = sizeof text;
    ask.iItem = 0;
    EXPECT_TRUE(SendMessage(frame->m_hWnd, WM_NOTIFY, 0xE800, (LPARAM)&ask));
    EXPECT_EQ(ask.tbButton.idCommand, (int)ID_A);
    EXPECT_STREQ(text, "Ope");
    ask.iItem = 1;  // "Save" has no newline
    ask.cchText = sizeof text;
    EXPECT_TRUE(SendMessage(frame->m_hWnd, WM_NOTIFY, 0xE800, (LPARAM)&ask));
    EXPECT_STREQ(text, "???");
    ask.iItem = 4;
    EXPECT_FALSE(SendMessage(frame->m_hWnd, WM_NOTIFY, 0xE800, (LPARAM)&ask));
}

TEST_F(ToolBarCustomizeTest, SelectionAndTheButtonMenu) {
    POINT b = Centre(2);
    SendMessage(bar.m_hWnd, WM_RBUTTONDOWN, 0, MAKELPARAM(b.x, b.y));
    EXPECT_EQ(bar.GetCustomizedButton(), 2);
    EXPECT_EQ(g_commands, std::vector<int>{OX_TOOLBAR_CUSTOMIZED_BUTTON_CHANGED});
    SendMessage(bar.m_hWnd, WM_RBUTTONDOWN, 0, MAKELPARAM(590, 5));
    EXPECT_EQ(bar.GetCustomizedButton(), -1);

    auto texts = [](HMENU menu) {
        std::vector<std::string> t;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char buffer[64] = "";
            GetMenuString(menu, (UINT)i, buffer, sizeof buffer, MF_BYPOSITION);
            UINT state = GetMenuState(menu, (UINT)i, MF_BYPOSITION);
            t.push_back(state & MF_SEPARATOR ? "-"
                                             : std::string(buffer) + (state & MF_GRAYED ? " (grey)" : "") +
                                                   (state & MF_CHECKED ? " (checked)" : ""));
        }
        DestroyMenu(menu);
        return t;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(texts(bar.CreateButtonMenu(0)), (V{"Delete", "-", "Button Appearance...", "Image Only (checked)",
                                                 "Image and Text", "-", "Put Separator Before (grey)",
                                                 "Put Separator After (grey)"}));
    EXPECT_EQ(texts(bar.CreateButtonMenu(1)),
              (V{"Delete", "-", "Button Appearance...", "-", "Put Separator Before", "Put Separator After"}));
    bar.SetButtonText(3, "Close");
    EXPECT_EQ(texts(bar.CreateButtonMenu(3)), (V{"Delete", "-", "Button Appearance...", "Image Only",
                                                 "Image and Text (checked)", "-", "Put Separator Before",
                                                 "Put Separator After (grey)"}));
    EXPECT_EQ(bar.CreateButtonMenu(4), nullptr);
}

TEST_F(ToolBarCustomizeTest, MenuCommandsAndTheOwnersVeto) {
    bar.SetButtonText(0, "Open");
    bar.SetCustomizedButton(0);
    // An owner that answers takes the command over.
    g_answer = 1;
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_IMAGEONLY, 0);
    EXPECT_EQ(bar.GetButtonText(0), "Open");
    g_answer = 0;
    // "Image Only" keeps the text; "Image and Text" gives it back.
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_IMAGEONLY, 0);
    EXPECT_EQ(bar.GetButtonText(0), "");
    EXPECT_EQ(bar.GetStoredButtonText(ID_A), "Open");
    bar.SetButtonText(0, "");
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_IMAGETEXT, 0);
    EXPECT_EQ(bar.GetButtonText(0), "Open");
    // Without a kept text the command's string after its newline.
    bar.SetCustomizedButton(3);
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_IMAGETEXT, 0);
    EXPECT_EQ(bar.GetButtonText(3), "");  // ID_C has no string
    bar.SetCustomizedButton(2);
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_IMAGETEXT, 0);
    EXPECT_EQ(bar.GetButtonText(2), "Save");  // the whole string without a newline

    // Separators before and after; the selection follows its button.
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_SEPARATOR_AFTER, 0);
    EXPECT_EQ(Ids(), (std::vector<int>{(int)ID_A, 0, (int)ID_B, 0, (int)ID_C}));
    bar.SetCustomizedButton(4);
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_SEPARATOR_BEFORE, 0);
    EXPECT_EQ(bar.GetCustomizedButton(), 5);
    // Deleting the first button takes the separator now first with it.
    bar.SetCustomizedButton(0);
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_DELETE, 0);
    EXPECT_EQ(Ids(), (std::vector<int>{(int)ID_B, 0, 0, (int)ID_C}));
    EXPECT_EQ(bar.GetCustomizedButton(), -1);
    // Deleting the last one likewise, every separator left at the end.
    bar.SetCustomizedButton(3);
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_DELETE, 0);
    EXPECT_EQ(Ids(), (std::vector<int>{(int)ID_B}));
}

TEST_F(ToolBarCustomizeTest, CommandsDroppedOntoTheBar) {
    std::unique_ptr<COleDataSource> d(CreateCommandDataSource("&Delete\tDel", 2, ID_D, TBSTYLE_BUTTON));
    POINT left = Centre(3);
    left.x -= 3;
    EXPECT_EQ(Drop(d.get(), left), (DWORD)DROPEFFECT_COPY);
    EXPECT_EQ(Ids(), (std::vector<int>{(int)ID_A, 0, (int)ID_B, (int)ID_D, (int)ID_C}));
    EXPECT_EQ(bar.GetButtonText(3), "&Delete");  // cut at the tab
    EXPECT_TRUE(bar.GetButtonStyle(3) & TBSTYLE_AUTOSIZE);
    TBINSERTMARK mark{};
    bar.GetToolBarCtrl().GetInsertMark(&mark);
    EXPECT_EQ(mark.iButton, -1);

    // A command the bar has already, and a popup, are refused.
    EXPECT_EQ(Drop(d.get(), Centre(0)), (DWORD)DROPEFFECT_NONE);
    std::unique_ptr<COleDataSource> popup(CreateCommandDataSource("&File", -1, OX_DRAG_POPUP, 0));
    EXPECT_EQ(Drop(popup.get(), Centre(0)), (DWORD)DROPEFFECT_NONE);
    EXPECT_EQ(Ids().size(), 5u);

    // A separator is taken only by a bar with buttons.
    std::unique_ptr<COleDataSource> separator(CreateCommandDataSource("", -1, 0, TBSTYLE_SEP));
    COXCoolToolBar empty;
    ASSERT_TRUE(empty.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE801));
    empty.SetAvailableButtons(kPool, 4);
    COleDataObject data;
    data.Attach(separator.get());
    SHBDROPTARGETACTION action;
    action.pDataObject = &data;
    action.point = POINT{2, 2};
    action.dropEffect = DROPEFFECT_MOVE;
    SendMessage(empty.m_hWnd, SHBDTM_DRAGOVER, 0, (LPARAM)&action);
    SendMessage(empty.m_hWnd, SHBDTM_DROP, 0, (LPARAM)&action);
    EXPECT_EQ(empty.GetToolBarCtrl().GetButtonCount(), 0);
    // A command is.
    std::unique_ptr<COleDataSource> a(CreateCommandDataSource("", 0, ID_A, TBSTYLE_BUTTON));
    COleDataObject dataA;
    dataA.Attach(a.get());
    action.pDataObject = &dataA;
    action.result = 0;
    SendMessage(empty.m_hWnd, SHBDTM_DRAGOVER, 0, (LPARAM)&action);
    EXPECT_EQ(action.result, (DWORD)DROPEFFECT_MOVE);
    SendMessage(empty.m_hWnd, SHBDTM_DROP, 0, (LPARAM)&action);
    EXPECT_EQ(empty.GetToolBarCtrl().GetButtonCount(), 1);
    // A bar that cannot be customised takes nothing.
    empty.SetCustomizable(FALSE, FALSE);
    action.result = 0;
    SendMessage(empty.m_hWnd, SHBDTM_DRAGOVER, 0, (LPARAM)&action);
    EXPECT_EQ(action.result, (DWORD)DROPEFFECT_NONE);
    empty.DestroyWindow();
}

namespace {
// Drags of real buttons: the frame shows two bars one above the other, input queued before the press.
class ToolBarDragTest : public ToolBarCustomizeTest {
protected:
    void SetUp() override {
        ToolBarCustomizeTest::SetUp();
        ASSERT_TRUE(second.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, 0xE801));
        second.SetAvailableButtons(kPool, 4);
        const UINT ids[] = {ID_D};
        second.SetButtons(ids, 1);
        second.SetCustomizeMode(TRUE, owner);
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
        Pump();
    }
    void TearDown() override {
        second.DestroyWindow();
        ToolBarCustomizeTest::TearDown();
    }
    POINT Screen(COXCoolToolBar& on, int index, int dx = 0) {
        RECT r;
        on.GetItemRect(index, &r);
        POINT p{(r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2};
        ClientToScreen(on.m_hWnd, &p);
        return p;
    }
    // Presses at `from`, moves through `path` and lets go at its end; `keys` held throughout.
    void DragButton(POINT from, std::vector<POINT> path, WPARAM keys = 0) {
        SetCursorPos(from.x, from.y);
        if (keys & MK_SHIFT)
            PostKeyInput(WM_KEYDOWN, VK_SHIFT, 0);
        PostMouseInput(WM_LBUTTONDOWN, from, keys | MK_LBUTTON);
        for (POINT p : path)
            PostMouseInput(WM_MOUSEMOVE, p, keys | MK_LBUTTON);
        PostMouseInput(WM_LBUTTONUP, path.back(), keys);
        if (keys & MK_SHIFT)
            PostKeyInput(WM_KEYUP, VK_SHIFT, 0);
        Pump();
    }
    std::vector<int> SecondIds() {
        std::vector<int> ids;
        for (int i = 0; i < second.GetToolBarCtrl().GetButtonCount(); ++i)
            ids.push_back((int)second.GetItemID(i));
        return ids;
    }
    COXCoolToolBar second;
};
}  // namespace

TEST_F(ToolBarDragTest, AButtonDraggedWithinItsBarToAnotherBarAndOff) {
    using V = std::vector<int>;
    // Within the bar: C goes before B.
    POINT c = Screen(bar, 3);
    DragButton(c, {Screen(bar, 2, -4), Screen(bar, 2, -6)});
    EXPECT_EQ(Ids(), (V{(int)ID_A, 0, (int)ID_C, (int)ID_B}));
    EXPECT_EQ(bar.GetDraggedButton(), -1);
    // A little to the right of itself: a separator before it.
    POINT b = Screen(bar, 3);
    DragButton(b, {Screen(bar, 3, 6), Screen(bar, 3, 7)});
    EXPECT_EQ(Ids(), (V{(int)ID_A, 0, (int)ID_C, 0, (int)ID_B}));
    // To the other bar: moved there.
    DragButton(Screen(bar, 4), {Screen(second, 0, 6), Screen(second, 0, 7)});
    EXPECT_EQ(Ids(), (V{(int)ID_A, 0, (int)ID_C}));  // the separator left last went with it
    EXPECT_EQ(SecondIds(), (V{(int)ID_D, (int)ID_B}));
    // Off any bar: removed.
    RECT client;
    frame->GetClientRect(&client);
    POINT away{client.right / 2, client.bottom - 20};
    ClientToScreen(frame->m_hWnd, &away);
    DragButton(Screen(second, 0), {away, POINT{away.x + 1, away.y}});
    EXPECT_EQ(SecondIds(), (V{(int)ID_B}));
}

TEST_F(ToolBarDragTest, OutsideCustomisationOnlyWithTheModifierKey) {
    using V = std::vector<int>;
    bar.SetCustomizeMode(FALSE, nullptr);
    second.SetCustomizeMode(FALSE, nullptr);
    // A plain press is a click, not a drag.
    DragButton(Screen(bar, 0), {Screen(second, 0, 6)});
    EXPECT_EQ(Ids(), (V{(int)ID_A, 0, (int)ID_B, (int)ID_C}));
    // Shift moves the button.
    DragButton(Screen(bar, 0), {Screen(second, 0, 6), Screen(second, 0, 7)}, MK_SHIFT);
    EXPECT_EQ(SecondIds(), (V{(int)ID_D, (int)ID_A}));
    EXPECT_EQ(bar.GetCustomizedButton(), -1);
}

namespace {
constexpr UINT ID_HOSTED = 500;

using custom_button_test::TestCustomButton;

class CustomButtonTest : public ToolBarCustomizeTest {
protected:
    void SetUp() override {
        ToolBarCustomizeTest::SetUp();
        COXCoolToolBar::ResetCustomButtonTableFlags();
        OXCUSTOMBUTTONDESCRIPTOR descriptor;
        descriptor.m_nWidth = 80;
        descriptor.m_nHeight = 14;
        descriptor.m_nFlags = OXCBD_SHOWHORZ;
        descriptor.m_nImageIndex = 1;
        ASSERT_EQ(COXCoolToolBar::RegisterCustomButton(ID_HOSTED, &hosted, descriptor), 0);
    }
    void TearDown() override {
        ToolBarCustomizeTest::TearDown();
        COXCoolToolBar::UnregisterCustomButtons();
        COXCoolToolBar::ResetCustomButtonTableFlags();
    }
    // The slot of button `index`: its id, whether it is a separator, its width field.
    TBBUTTON Slot(COXCoolToolBar& on, int index) {
        TBBUTTON b{};
        on.GetToolBarCtrl().GetButton(index, &b);
        return b;
    }
    TestCustomButton hosted;
};
}  // namespace

TEST_F(CustomButtonTest, HostedDockedHorizontallyAndReplacedByItsImageWhenFloating) {
    // Dropped from the commands page: the window stands over a separator slot of the descriptor's width.
    std::unique_ptr<COleDataSource> d(CreateCommandDataSource("", -1, ID_HOSTED, TBSTYLE_BUTTON));
    POINT left = Centre(0);
    left.x -= 3;
    EXPECT_EQ(Drop(d.get(), left), (DWORD)DROPEFFECT_COPY);
    ASSERT_TRUE(bar.IsCustomButton(0));
    EXPECT_TRUE(hosted.customizing);
    HWND window = hosted.CBGetWindow()->m_hWnd;
    EXPECT_EQ(GetParent(window), bar.m_hWnd);
    TBBUTTON slot = Slot(bar, 0);
    EXPECT_EQ(slot.idCommand, (int)ID_HOSTED);
    EXPECT_TRUE(slot.fsStyle & TBSTYLE_SEP);
    EXPECT_EQ(slot.iBitmap, 80);
    RECT item, placed;
    bar.GetItemRect(0, &item);
    GetWindowRect(window, &placed);
    MapWindowPoints(nullptr, bar.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, item.left + 2);
    EXPECT_EQ(placed.right, item.right - 2);
    EXPECT_EQ(placed.bottom - placed.top, 14);
    EXPECT_EQ(placed.top, item.top + (item.bottom - item.top - 14) / 2);
    EXPECT_TRUE(GetWindowLong(window, GWL_STYLE) & WS_VISIBLE);
    // Once per bar.
    EXPECT_EQ(Drop(d.get(), Centre(2)), (DWORD)DROPEFFECT_NONE);
    EXPECT_EQ(Ids(), (std::vector<int>{0, (int)ID_A, 0, (int)ID_B, (int)ID_C}));  // a separator slot

    // Floating, where its flags do not show it: a plain button with the descriptor's image.
    frame->EnableDocking(CBRS_ALIGN_ANY);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame->ShowWindow(SW_SHOW);
    frame->FloatControlBar(&bar, POINT{300, 200});
    Pump();
    SendMessage(bar.m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    slot = Slot(bar, 0);
    EXPECT_EQ(slot.idCommand, (int)ID_HOSTED);
    EXPECT_FALSE(slot.fsStyle & TBSTYLE_SEP);
    EXPECT_TRUE(slot.fsStyle & TBSTYLE_AUTOSIZE);
    EXPECT_EQ(slot.iBitmap, 1);
    EXPECT_FALSE(IsWindowVisible(window));
    // Docked again it comes back.
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    Pump();
    SendMessage(bar.m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(Slot(bar, 0).fsStyle & TBSTYLE_SEP);
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(CustomButtonTest, SecondBarHostsACloneAndEntriesFollowTheButtons) {
    ASSERT_TRUE(bar.InsertCustomButton(2, 0));
    COXCoolToolBar other;
    ASSERT_TRUE(other.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0xE801));
    other.SetAvailableButtons(kPool, 4);
    const UINT ids[] = {ID_D};
    other.SetButtons(ids, 1);
    int alive = TestCustomButton::s_alive;
    ASSERT_TRUE(other.InsertCustomButton(1, 0));
    EXPECT_EQ(TestCustomButton::s_alive, alive + 1);  // a clone
    HWND cloned = COXCoolToolBar::CustomButtonWindow(*other.GetCustomButton(1));
    ASSERT_TRUE(cloned);
    EXPECT_NE(cloned, hosted.CBGetWindow()->m_hWnd);
    EXPECT_EQ(GetParent(cloned), other.m_hWnd);
    // Outside the bar or the registration: refused, nothing inserted.
    EXPECT_FALSE(other.InsertCustomButton(5, 0));
    EXPECT_FALSE(other.InsertCustomButton(0, 1));
    EXPECT_EQ(other.GetToolBarCtrl().GetButtonCount(), 2);

    // New settings reach the registration and every bar of the main frame that hosts the button.
    OXCUSTOMBUTTONDESCRIPTOR wider = *COXCoolToolBar::GetRegisteredCustomButton(0);
    wider.m_nWidth = 120;
    EXPECT_TRUE(COXCoolToolBar::ApplyCustomButtonSettings(0, wider));
    EXPECT_FALSE(COXCoolToolBar::ApplyCustomButtonSettings(1, wider));
    EXPECT_EQ(COXCoolToolBar::GetRegisteredCustomButton(0)->m_nWidth, 120);
    EXPECT_EQ(Slot(bar, 2).iBitmap, 120);
    EXPECT_EQ(Slot(other, 1).iBitmap, 120);

    // Inserting, moving and deleting buttons carry the entry along.
    bar.SetCustomizedButton(0);
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_SEPARATOR_BEFORE, 0);
    EXPECT_TRUE(bar.IsCustomButton(3));
    ASSERT_TRUE(bar.MoveButton(3, 1));
    EXPECT_TRUE(bar.IsCustomButton(1));
    EXPECT_EQ(bar.GetCustomButtonCount(), 1);
    ASSERT_TRUE(bar.MoveButton(0, 4));
    EXPECT_TRUE(bar.IsCustomButton(0));
    bar.SetCustomizedButton(0);
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_DELETE, 0);
    EXPECT_EQ(bar.GetCustomButtonCount(), 0);
    EXPECT_EQ(hosted.released, 1);
    EXPECT_FALSE(hosted.CBGetWindow());
    // The clone deletes itself with its button.
    other.SetCustomizedButton(1);
    SendMessage(other.m_hWnd, WM_COMMAND, ID_OXCUSTTB_DELETE, 0);
    EXPECT_EQ(TestCustomButton::s_alive, alive);
    other.DestroyWindow();
}

TEST_F(CustomButtonTest, PositionsAndTheTableComeBackFromTheProfile) {
    AfxGetProfile().SetRegistryKey("Tests");
    AfxGetProfile().SetProfileName("CoolBar");
    ASSERT_TRUE(bar.InsertCustomButton(1, 0));
    hosted.state = 42;
    ASSERT_TRUE(bar.SaveBarState("Toolbars State", "Toolbar_ID_59392", FALSE));
    BYTE* data = nullptr;
    UINT size = 0;
    ASSERT_TRUE(AfxGetProfile().GetProfileBinary("Toolbars State", "Toolbar_ID_59392_CustomButtonsPositions", &data, &size));
    EXPECT_EQ(std::vector<BYTE>(data, data + size), (std::vector<BYTE>{1, 0, 0, 0, 1, 0, 0, 0, 0xF4, 1, 0, 0}));
    delete[] data;
    ASSERT_TRUE(AfxGetProfile().GetProfileBinary("Toolbars State", "Toolbars_CustomButtonsSettings", &data, &size));
    EXPECT_EQ(std::vector<BYTE>(data, data + size),
              (std::vector<BYTE>{1, 0, 0, 0, 0xF4, 1, 0, 0, 80, 0, 0, 0, 14, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 42, 0, 0, 0}));
    delete[] data;

    // The layout changes; loading puts the hosted window back at its index, once, and reads the table.
    bar.SetCustomizedButton(1);
    SendMessage(bar.m_hWnd, WM_COMMAND, ID_OXCUSTTB_DELETE, 0);
    ASSERT_TRUE(bar.InsertCustomButton(3, 0));
    hosted.state = 0;
    ASSERT_TRUE(bar.LoadBarState("Toolbars State", "Toolbar_ID_59392", FALSE));
    EXPECT_EQ(Ids(), (std::vector<int>{(int)ID_A, 0, 0, (int)ID_B, (int)ID_C}));
    EXPECT_EQ(bar.GetCustomButtonCount(), 1);
    EXPECT_TRUE(bar.IsCustomButton(1));
    EXPECT_EQ(hosted.state, 42);
    EXPECT_EQ(Slot(bar, 1).idCommand, (int)ID_HOSTED);
    EXPECT_TRUE(GetWindowLong(hosted.CBGetWindow()->m_hWnd, GWL_STYLE) & WS_VISIBLE);

    // A damaged positions block is left alone: the bar keeps its buttons.
    const BYTE damaged[] = {5, 0, 0, 0, 1, 0};
    AfxGetProfile().WriteProfileBinary("Toolbars State", "Toolbar_ID_59392_CustomButtonsPositions", (LPBYTE)damaged,
                                       sizeof damaged);
    ASSERT_TRUE(bar.LoadBarState("Toolbars State", "Toolbar_ID_59392", FALSE));
    EXPECT_EQ(Ids(), (std::vector<int>{(int)ID_A, 0, 0, (int)ID_B, (int)ID_C}));
    EXPECT_TRUE(bar.IsCustomButton(1));
    AfxGetProfile().SetRegistryKey("");
    AfxGetProfile().SetProfileName("");
}
}  // namespace ox_cool_tool_bar_customize_test
