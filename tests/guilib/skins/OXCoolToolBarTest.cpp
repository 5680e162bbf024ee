// The cool tool bar: creation styles, button texts, command updates, its own layout and its state in
// the profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/skins/OXCoolToolBar.h"
#include "platform/base/Profile.h"
#include "platform/framework/frames/MDIChildWnd.h"
#include "platform/user/Menu.h"
#include "platform/user/Modules.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

namespace {
constexpr UINT ID_OPEN = 100;
constexpr UINT ID_SAVE = 101;
constexpr UINT ID_PRINT = 102;

// Toolbar 300: | Open | sep | Save | Print | with the three images of bitmap 300.
const MenuTemplate kMenu{400, {{"&File", 0, MF_POPUP, {{"&Open...\tCtrl+O", ID_OPEN, 0, {}}, {"&Save", ID_SAVE, 0, {}}}}}};

class Resources : public ResourceModule {
public:
    const ToolbarTemplate* FindToolbar(UINT id) const override {
        static const ToolbarTemplate tb{300, 16, 15, {ID_OPEN, 0, ID_SAVE, ID_PRINT}};
        return id == 300 ? &tb : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource bitmap{300, test_toolbar3_png, test_toolbar3_png_size};
        return id == 300 ? &bitmap : nullptr;
    }
    const char* FindString(UINT id) const override {
        if (id == ID_OPEN)
            return "Open file\nOpen";
        if (id == ID_SAVE)
            return "Save";
        return nullptr;
    }
    const MenuTemplate* FindMenu(UINT id) const override { return id == 400 ? &kMenu : nullptr; }
};

// A bar that counts the button-info messages it is sent.
class CountingBar : public COXCoolToolBar {
public:
    std::vector<std::pair<WPARAM, DWORD>> infos;  // index, mask
    int autoSizes = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TB_SETBUTTONINFO)
            infos.emplace_back(wParam, reinterpret_cast<TBBUTTONINFO*>(lParam)->dwMask);
        if (message == TB_AUTOSIZE)
            ++autoSizes;
        return COXCoolToolBar::WindowProc(message, wParam, lParam);
    }
};

class CoolToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        COXCoolToolBar::ResetCommonControlsVersion();
        COXCoolToolBar::ResetCustomButtonTableFlags();
        AfxGetProfile().SetRegistryKey("Tests");
        AfxGetProfile().SetProfileName("CoolBar");
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 600, 400}));
        app.m_pMainWnd = frame;
    }
    void TearDown() override {
        app.m_pMainWnd = nullptr;
        frame->DestroyWindow();
        ResetModulesForTest();
        COXCoolToolBar::ResetCommonControlsVersion();
        RemoveResourceModule(&resources);
    }
    void MakeBar(COXCoolToolBar& bar, UINT id = 0xE800) {
        ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, id));
        ASSERT_TRUE(bar.LoadToolBar(300));
    }
    CString Text(COXCoolToolBar& bar, int index) { return bar.GetToolBarCtrl().GetButtonText(bar.GetItemID(index)); }

    TempRegistry registry;
    Resources resources;
    CWinApp app{"CoolBarApp"};
    CFrameWnd* frame = nullptr;
};
}  // namespace

TEST_F(CoolToolBarTest, CreateExAlignsAtTheTopOnly) {
    CMFCToolBar bar;
    ASSERT_TRUE(bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | CBRS_ALIGN_LEFT | CBRS_ALIGN_BOTTOM | CBRS_TOOLTIPS));
    EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, (DWORD)CBRS_ALIGN_TOP);
    EXPECT_TRUE(bar.GetBarStyle() & CBRS_TOOLTIPS);
}

TEST_F(CoolToolBarTest, CreateStylesFollowTheCommonControlsAndTheParent) {
    struct Case {
        const char* name;
        DWORD major, minor;
        bool mdiChild;
        bool transparent, clipChildren, dropDownArrow;
        int borderLeft;
    };
    const Case cases[] = {
        {"5.82 in a frame", 5, 82, false, true, true, true, 0},
        {"5.82 in an MDI child", 5, 82, true, false, true, true, 0},
        {"4.0", 4, 0, false, false, false, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetDllVersionForTest("comctl32.dll", c.major, c.minor);
        COXCoolToolBar::ResetCommonControlsVersion();
        CMDIChildWnd child;
        HWND plain = nullptr;
        CWnd* parent = frame;
        if (c.mdiChild) {
            plain = ::CreateWindowEx(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, frame->m_hWnd, nullptr,
                                     nullptr, nullptr);
            child.Attach(plain);
            parent = &child;
        }
        COXCoolToolBar bar;
        EXPECT_EQ(bar.GetComCtlVersion(), (DWORD)MAKELONG(c.minor, c.major));
        ASSERT_TRUE(bar.Create(parent, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE800));
        DWORD style = bar.GetStyle();
        EXPECT_TRUE(style & TBSTYLE_FLAT);
        EXPECT_EQ((style & TBSTYLE_TRANSPARENT) != 0, c.transparent);
        EXPECT_EQ((style & WS_CLIPCHILDREN) != 0, c.clipChildren);
        EXPECT_EQ(bar.IsDropDownArrow() != 0, c.dropDownArrow);
        EXPECT_EQ(bar.GetBorders().left, c.borderLeft);
        bar.DestroyWindow();
        if (plain) {
            child.Detach();
            ::DestroyWindow(plain);
        }
    }
}

TEST_F(CoolToolBarTest, TextTypesTakeTextsFromStringsOrTheMenu) {
    HMENU menu = LoadMenu((HINSTANCE)1, MAKEINTRESOURCE(400));
    ::SetMenu(frame->m_hWnd, menu);
    COXCoolToolBar bar;
    MakeBar(bar);
    struct Case {
        int type;
        int stored;
        const char* open;  // the text of the Open button
        const char* save;  // "Save" has no '\n' and no menu accelerator
    };
    const Case cases[] = {
        {0, 0, "Open file", "Save"},
        {1, 1, "Open", "Save"},
        {2, 2, "&Open...", "Save"},  // no '\t' in "&Save": left as it was
        {4, 4, "", ""},
        {7, 4, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        bar.SetTextType(0, 65535, c.type);
        EXPECT_EQ(bar.GetTextType(), c.stored);
        EXPECT_STREQ(Text(bar, 0), c.open);
        EXPECT_STREQ(Text(bar, 2), c.save);
    }
    // Type 3 leaves texts alone; a range leaves the buttons outside it alone.
    bar.SetTextType(0, 65535, 0);
    bar.SetTextType(0, 65535, 3);
    EXPECT_STREQ(Text(bar, 0), "Open file");
    bar.SetTextType(ID_SAVE, ID_SAVE, 4);
    EXPECT_STREQ(Text(bar, 0), "Open file");
    EXPECT_STREQ(Text(bar, 2), "");
    ::SetMenu(frame->m_hWnd, nullptr);
    DestroyMenu(menu);
}

TEST_F(CoolToolBarTest, CommandUpdateSendsOneButtonInfoByIndexOnlyOnChange) {
    CountingBar bar;
    MakeBar(bar);
    COXCoolToolBarCmdUI ui;
    ui.m_pOther = &bar;
    ui.m_nIndex = 2;  // Save, after the separator
    ui.m_nID = ID_SAVE;
    bar.infos.clear();
    ui.Enable(FALSE);
    ASSERT_EQ(bar.infos.size(), 1u);
    EXPECT_EQ(bar.infos[0].first, 2u);
    EXPECT_EQ(bar.infos[0].second, 0x80000004u);
    EXPECT_FALSE(bar.GetToolBarCtrl().IsButtonEnabled(ID_SAVE));
    EXPECT_TRUE(bar.GetToolBarCtrl().IsButtonEnabled(ID_OPEN));
    ui.Enable(FALSE);
    EXPECT_EQ(bar.infos.size(), 1u);

    ui.SetCheck(2);
    EXPECT_EQ(bar.GetToolBarCtrl().GetState(ID_SAVE) & (TBSTATE_CHECKED | TBSTATE_INDETERMINATE),
              TBSTATE_INDETERMINATE);
    ui.SetCheck(1);
    EXPECT_EQ(bar.GetToolBarCtrl().GetState(ID_SAVE) & (TBSTATE_CHECKED | TBSTATE_INDETERMINATE), TBSTATE_CHECKED);
    size_t before = bar.infos.size();
    ui.SetCheck(1);
    EXPECT_EQ(bar.infos.size(), before);
}

TEST_F(CoolToolBarTest, LayoutEdgeCases) {
    // Old and new common controls, flat and raised bars: what a drop-down button and a wrapped
    // separator add.
    struct Case {
        const char* name;
        DWORD major, minor;
        bool flat;
        bool arrowAdded;
        bool fullSeparatorGap;
    };
    const Case cases[] = {
        {"4.0 flat", 4, 0, true, false, false},
        {"4.0 raised", 4, 0, false, true, false},
        {"5.82 flat", 5, 82, true, true, true},
        {"5.82 raised", 5, 82, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetDllVersionForTest("comctl32.dll", c.major, c.minor);
        COXCoolToolBar::ResetCommonControlsVersion();
        COXCoolToolBar bar;
        MakeBar(bar);
        bar.ModifyStyle(c.flat ? 0 : TBSTYLE_FLAT, c.flat ? TBSTYLE_FLAT : 0);
        bar.SetDropDownArrow(TRUE);
        SIZE button = bar.GetToolBarCtrl().GetButtonSize();
        ASSERT_GT(bar.m_nDropDownArrowWidth, 0);

        TBBUTTON row[3] = {};
        row[0].idCommand = ID_OPEN;
        row[0].fsStyle = TBSTYLE_DROPDOWN;
        row[1].fsStyle = TBSTYLE_SEP;
        row[1].iBitmap = 9;
        row[2].idCommand = ID_SAVE;
        SIZE one = bar.CalcSize(row, 3);
        int arrow = c.arrowAdded ? bar.m_nDropDownArrowWidth : 0;
        EXPECT_EQ(one.cx, 2 * button.cx + 9 + arrow);
        EXPECT_EQ(one.cy, button.cy);

        // Wrapped at the separator: the rows are apart by the separator's gap.
        row[1].fsState = TBSTATE_WRAP;
        SIZE two = bar.CalcSize(row, 3);
        int gap = c.fullSeparatorGap ? 9 : 9 * 2 / 3;
        EXPECT_EQ(two.cy, 2 * button.cy + gap);
        bar.DestroyWindow();
    }
}

TEST_F(CoolToolBarTest, WrapsAtTheLastSeparatorAndSizesAnEmptyBar) {
    COXCoolToolBar bar;
    MakeBar(bar);
    int w = (int)bar.GetToolBarCtrl().GetButtonSize().cx;
    TBBUTTON row[4] = {};
    row[0].idCommand = ID_OPEN;
    row[1].fsStyle = TBSTYLE_SEP;
    row[1].iBitmap = 6;
    row[2].idCommand = ID_SAVE;
    row[3].idCommand = ID_PRINT;
    // Room for Open, the separator and Save: Print goes to a second row, wrapped at the separator.
    EXPECT_EQ(bar.WrapToolBar(row, 4, 2 * w + 6), 2);
    EXPECT_TRUE(row[1].fsState & TBSTATE_WRAP);
    EXPECT_FALSE(row[2].fsState & TBSTATE_WRAP);
    // Width 0: one button a row, a separator wrapping before a button.
    EXPECT_EQ(bar.WrapToolBar(row, 4, 0), 3);
    EXPECT_EQ(bar.WrapToolBar(row, 4, 32767), 1);

    // An empty bar: half a button long when docked, a whole button floating.
    while (bar.GetToolBarCtrl().GetButtonCount() > 0)
        bar.GetToolBarCtrl().DeleteButton(0);
    SIZE button = bar.GetToolBarCtrl().GetButtonSize();
    RECT inside{0, 0, 0, 0};
    bar.CalcInsideRect(inside, TRUE);
    SIZE docked = bar.CalcLayout(LM_HORZ, -1);
    EXPECT_EQ(docked.cx, button.cx / 2 - (inside.right - inside.left));
    EXPECT_EQ(docked.cy, button.cy - (inside.bottom - inside.top));
    bar.m_dwStyle |= CBRS_FLOATING;
    SIZE floating = bar.CalcLayout(LM_HORZ, -1);
    EXPECT_EQ(floating.cx, button.cx - (inside.right - inside.left));
}

TEST_F(CoolToolBarTest, CommittedLayoutWrapsTheControlsButtons) {
    COXCoolToolBar bar;
    MakeBar(bar);
    bar.SetBarStyle(bar.GetBarStyle() | CBRS_FLOATING);
    SIZE size = bar.CalcDynamicLayout(10, LM_COMMIT);
    TBBUTTON b{};
    int wraps = 0;
    for (int i = 0; i < 4; ++i) {
        bar.GetToolBarCtrl().GetButton(i, &b);
        wraps += (b.fsState & TBSTATE_WRAP) ? 1 : 0;
    }
    EXPECT_GE(wraps, 2);
    SIZE wide = bar.CalcDynamicLayout(32767, LM_COMMIT | LM_HORZ);
    EXPECT_GT(wide.cx, size.cx);
    EXPECT_LT(wide.cy, size.cy);
}

namespace {
const UINT kPool[] = {ID_OPEN, ID_SAVE, ID_PRINT};

std::string Blob(const char* section, const char* entry) {
    BYTE* data = nullptr;
    UINT size = 0;
    if (!AfxGetProfile().GetProfileBinary(section, entry, &data, &size))
        return "<none>";
    std::string bytes(reinterpret_cast<char*>(data), size);
    delete[] data;
    return bytes;
}

void PutBlob(const char* section, const char* entry, const std::string& bytes) {
    AfxGetProfile().WriteProfileBinary(section, entry, (BYTE*)bytes.data(), (UINT)bytes.size());
    CString size;
    size.Format("%s_Size", entry);
    AfxGetProfile().WriteProfileInt(section, size, (int)bytes.size());
}

std::string Int(int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[(size_t)i] = (char)((uint32_t)v >> (8 * i));
    return s;
}
std::string Rec(int32_t id, int32_t image, char style, int32_t shown, const std::string& text) {
    return Int(id) + Int(image) + std::string(1, style) + Int(shown) + std::string(1, (char)text.size()) + text;
}
}  // namespace

TEST_F(CoolToolBarTest, SavedButtonsBlockHasItsBytesAndComesBack) {
    COXCoolToolBar bar;
    MakeBar(bar, 59392);
    bar.SetAvailableButtons(kPool, 3);
    bar.SetButtonText(0, "Open");
    bar.CToolBar::SetButtonInfo(3, ID_PRINT, TBSTYLE_CHECK, 0);  // Print shows the first image, as a check
    ASSERT_TRUE(bar.SaveBarState("Toolbars State", "Toolbar_ID_59392"));

    const std::string golden = Int(4) + Rec(ID_OPEN, 0, 0, 1, "Open") + Rec(0, 6, TBSTYLE_SEP, 0, "") +
                               Rec(ID_SAVE, 1, 0, 0, "") + Rec(ID_PRINT, 0, TBSTYLE_CHECK, 0, "");
    EXPECT_EQ(Blob("Toolbars State", "Toolbar_ID_59392_ButtonsSettings"), golden);
    EXPECT_EQ((int)AfxGetProfile().GetProfileInt("Toolbars State", "Toolbar_ID_59392_ButtonsSettings_Size", -1),
              (int)golden.size());
    EXPECT_EQ(Blob("Toolbars State", "Toolbar_ID_59392_CustomButtonsPositions"), Int(0));
    EXPECT_EQ(Blob("Toolbars State", "Toolbars_CustomButtonsSettings"), Int(0));
    EXPECT_EQ((int)AfxGetProfile().GetProfileInt("Toolbars State_Toolbar_ID_59392", "Flat", -1), 1);
    EXPECT_EQ((int)AfxGetProfile().GetProfileInt("Toolbars State_Toolbar_ID_59392", "HotTextColor", 0),
              (int)CLR_DEFAULT);
    EXPECT_EQ((int)AfxGetProfile().GetProfileInt("Toolbars State_Toolbar_ID_59392", "Customizable", -1), 1);

    // A bar of the same resource with its Print button removed comes back as saved.
    COXCoolToolBar again;
    MakeBar(again, 59393);
    again.SetAvailableButtons(kPool, 3);
    again.GetToolBarCtrl().DeleteButton(3);
    ASSERT_TRUE(again.LoadBarState("Toolbars State", "Toolbar_ID_59392"));
    ASSERT_EQ(again.GetToolBarCtrl().GetButtonCount(), 4);
    UINT id, style;
    int image;
    again.GetButtonInfo(3, id, style, image);
    EXPECT_EQ(id, ID_PRINT);
    EXPECT_EQ(LOWORD(style), TBSTYLE_CHECK);
    EXPECT_EQ(image, 0);
    EXPECT_STREQ(Text(again, 0), "Open");
}

TEST_F(CoolToolBarTest, LoadingAppliesTextsTypesAndWidthsAsSaved) {
    // An image-only button keeps its text hidden; text type 3 clears the texts it finds.
    PutBlob("S", "B_ButtonsSettings", Int(2) + Rec(ID_OPEN, 0, 0, 0, "Open") + Rec(ID_SAVE, 1, 0, 1, "Save it"));
    AfxGetProfile().WriteProfileInt("S_B", "TextType", 3);
    CountingBar bar;
    MakeBar(bar);
    bar.SetAvailableButtons(kPool, 3);
    bar.SetTextType(0, 65535, 0);
    EXPECT_STREQ(Text(bar, 0), "Open file");
    ASSERT_TRUE(bar.LoadBarState("S", "B"));
    EXPECT_EQ(bar.GetTextType(), 3);
    EXPECT_STREQ(Text(bar, 0), "");
    EXPECT_STREQ(bar.GetStoredButtonText(ID_OPEN), "Open");
    EXPECT_STREQ(Text(bar, 2), "Save it");
    EXPECT_STREQ(Text(bar, 3), "");

    // The minimum width alone lays nothing out again; the maximum does.
    AfxGetProfile().WriteProfileString("S_B", "TextType", nullptr);
    AfxGetProfile().WriteProfileInt("S_B", "MinButtonsWidth", 30);
    bar.autoSizes = 0;
    ASSERT_TRUE(bar.LoadBarState("S", "B"));
    EXPECT_EQ(bar.autoSizes, 0);
    AfxGetProfile().WriteProfileInt("S_B", "MaxButtonsWidth", 60);
    ASSERT_TRUE(bar.LoadBarState("S", "B"));
    EXPECT_EQ(bar.autoSizes, 1);
}

TEST_F(CoolToolBarTest, ADamagedButtonsBlockLeavesTheBarAsItWas) {
    COXCoolToolBar bar;
    MakeBar(bar);
    bar.SetAvailableButtons(kPool, 3);
    const std::string whole = Int(1) + Rec(ID_SAVE, 2, TBSTYLE_CHECK, 1, "Save");
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"cut in the text", whole.substr(0, whole.size() - 2)},
        {"cut in a record", whole.substr(0, 9)},
        {"a count beyond the bytes", Int(100000) + whole.substr(4)},
        {"a negative count", Int(-1)},
        {"a text longer than the block", Int(1) + Rec(ID_SAVE, 2, 0, 1, "Save").substr(0, 13) + "\x40" + "Save"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PutBlob("S", "B_ButtonsSettings", c.bytes);
        EXPECT_TRUE(bar.LoadBarState("S", "B", FALSE));
        UINT id, style;
        int image;
        bar.GetButtonInfo(2, id, style, image);
        EXPECT_EQ(image, 1);
        EXPECT_EQ(LOWORD(style), 0);
        EXPECT_STREQ(Text(bar, 2), "");
    }
    // The whole block applies.
    PutBlob("S", "B_ButtonsSettings", whole);
    EXPECT_TRUE(bar.LoadBarState("S", "B", FALSE));
    EXPECT_STREQ(Text(bar, 2), "Save");
}

TEST_F(CoolToolBarTest, ABarThatCannotBeCustomisedSavesOnlyItsLook) {
    COXCoolToolBar bar;
    MakeBar(bar);
    bar.SetCustomizable(TRUE, FALSE);  // no pool: stays fixed
    EXPECT_FALSE(bar.IsCustomizable(FALSE));
    EXPECT_FALSE(bar.IsCustomizable(TRUE));
    ASSERT_TRUE(bar.SaveBarState("S", "B"));
    EXPECT_EQ(Blob("S", "B_ButtonsSettings"), "<none>");
    EXPECT_EQ((int)AfxGetProfile().GetProfileInt("S_B", "TextType", -1), 3);

    // Without a profile a customisable bar saves and loads nothing.
    bar.SetAvailableButtons(kPool, 3);
    AfxGetProfile().SetRegistryKey("");
    EXPECT_FALSE(bar.SaveBarState("S", "B"));
    EXPECT_FALSE(bar.LoadBarState("S", "B"));
}
