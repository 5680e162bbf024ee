#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guilib/controls/OXListBoxEx.h"
#include "platform/framework/app/WinThread.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

namespace {

// Text measured as 40 x 13 whatever it says, so the layout is exact.
class FixedTextListBox : public COXListBoxEx {
public:
    SIZE GetTextSize(int) const override { return SIZE{40, 13}; }
};

LRESULT ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(hwnd, msg, wp, lp);
}

class ListBoxExTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("ListBoxExParent", ParentProc, COLOR_BTNFACE);
        ASSERT_TRUE(parent.CreateEx(0, "ListBoxExParent", "list", WS_POPUP | WS_VISIBLE, 0, 0, 300, 240, nullptr,
                                    nullptr));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED, RECT{10, 10, 210, 230},
                                &parent, 100));
    }
    void TearDown() override {
        list.DestroyWindow();
        parent.DestroyWindow();
        Pump();
    }
    void Fill(std::initializer_list<const char*> texts) {
        for (const char* t : texts)
            list.AddItem(t);
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> out;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString t;
            list.GetText(i, t);
            out.emplace_back((LPCTSTR)t);
        }
        return out;
    }
    CWnd parent;
    FixedTextListBox list;
};

TEST_F(ListBoxExTest, ItemLayoutFromIndentImageAndText) {
    EXPECT_TRUE(GetWindowLongPtr(list.GetSafeHwnd(), GWL_STYLE) & LBS_OWNERDRAWVARIABLE);
    HIMAGELIST images = ImageList_Create(16, 16, 0x18 /* ILC_COLOR24 */, 1, 0);
    HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
    ImageList_Add(images, bitmap, nullptr);
    DeleteObject(bitmap);
    list.SetImageList(images);
    int index = list.AddItem("Open", OXLBI_ALL, nullptr, CLR_NONE, CLR_NONE, nullptr, 0, 10);
    ASSERT_EQ(index, 0);
    RECT item = list.CalcItemRects(0);
    EXPECT_EQ(item.right - item.left, 72);
    EXPECT_EQ(item.bottom - item.top, 20);
    OXLISTBOXITEM record;
    ASSERT_TRUE(list.GetItemInfo(0, record));
    EXPECT_EQ(record.rectImage.left, 12);
    EXPECT_EQ(record.rectImage.top, 2);
    EXPECT_EQ(record.rectText.left, 30);
    EXPECT_EQ(record.rectText.top, 3);
    EXPECT_EQ(list.GetItemHeight(0), 20);
    EXPECT_EQ(list.GetHorizontalExtent(), 72);

    // Without images no space is kept for them; the last recently used item is 4 px higher.
    list.SetImageList(nullptr);
    list.AddItem("Save");
    list.SetMaxMRUCount(-1);
    ASSERT_EQ(list.MoveItemToMRU(1, 0), 0);
    EXPECT_EQ(list.GetItemHeight(0), 17 + 4);
    EXPECT_EQ(list.GetItemHeight(1), 17);
    ImageList_Destroy(images);
}

TEST_F(ListBoxExTest, TheRecentlyUsedBlock) {
    Fill({"a", "b", "c", "d", "e"});
    // The constructed maximum of 0 allows no block at all.
    EXPECT_EQ(list.MoveItemToMRU(2, 0, FALSE), -1);
    EXPECT_EQ(list.MoveItemToMRU(2, 0, TRUE), -1);

    list.SetMaxMRUCount(2);
    EXPECT_EQ(list.MoveItemToMRU(3, 0), 0);  // d
    EXPECT_EQ(list.MoveItemToMRU(3, 0), 0);  // c before d
    EXPECT_EQ(Texts(), (std::vector<std::string>{"c", "d", "a", "b", "e"}));
    EXPECT_EQ(list.GetLastMRUIndex(), 1);
    EXPECT_EQ(list.GetMRUPosition(1), 1);
    EXPECT_EQ(list.MoveItemToMRU(2, 3), -1);  // past the block's end
    // Full: refused, unless forced, which pushes the last one out below the block.
    EXPECT_EQ(list.MoveItemToMRU(4, 0), -1);
    EXPECT_EQ(list.MoveItemToMRU(4, 0, TRUE), 0);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"e", "c", "d", "a", "b"}));
    EXPECT_EQ(list.GetMRUPosition(2), -1);

    // Deleting a member shrinks the block and renumbers what follows.
    list.DeleteString(0);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"c", "d", "a", "b"}));
    EXPECT_EQ(list.GetLastMRUIndex(), 0);
    EXPECT_EQ(list.GetMRUPosition(0), 0);
    EXPECT_EQ(list.GetMRUPosition(1), -1);

    // A smaller maximum moves the surplus out.
    list.SetMaxMRUCount(-1);
    list.MoveItemToMRU(3, 1);
    EXPECT_EQ(list.GetLastMRUIndex(), 1);
    list.SetMaxMRUCount(1);
    EXPECT_EQ(list.GetLastMRUIndex(), 0);
    EXPECT_EQ(Texts()[0], "c");

    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetLastMRUIndex(), -1);
}

TEST_F(ListBoxExTest, TheBlockRoundTripsThroughTheProfile) {
    TempRegistry registry;
    CWinApp app("ListBoxExTest");
    app.SetRegistryKey("Veltrin");
    Fill({"alpha", "beta", "gamma", "delta"});
    list.SetMaxMRUCount(3);
    list.MoveItemToMRU(2, 0);  // gamma
    list.MoveItemToMRU(3, 1);  // delta
    ASSERT_TRUE(list.SaveMRU("Keys"));
    EXPECT_EQ(app.GetProfileInt("Keys", "MRU_Count", 0), 2u);
    EXPECT_STREQ(app.GetProfileString("Keys", "MRU_Entry_1"), "delta");

    // A stale entry past the count, and one naming no item, stay out.
    app.WriteProfileString("Keys", "MRU_Entry_2", "alpha");
    list.RemoveItemFromMRU(1);
    list.RemoveItemFromMRU(0);
    ASSERT_EQ(list.GetLastMRUIndex(), -1);
    ASSERT_TRUE(list.LoadMRU("Keys"));
    EXPECT_EQ(list.GetLastMRUIndex(), 1);
    EXPECT_EQ(Texts()[0], "gamma");
    EXPECT_EQ(Texts()[1], "delta");

    app.WriteProfileInt("Keys", "MRU_Count", 3);
    app.WriteProfileString("Keys", "MRU_Entry_0", "GAMMA");  // found without regard to case
    app.WriteProfileString("Keys", "MRU_Entry_1", "omega");  // no such item
    ASSERT_TRUE(list.LoadMRU("Keys"));
    EXPECT_EQ(list.GetLastMRUIndex(), 1);
    EXPECT_EQ(Texts()[0], "gamma");
    EXPECT_EQ(Texts()[1], "alpha");
}

TEST_F(ListBoxExTest, TheWheelMovesOneItemPerMessage) {
    for (int i = 0; i < 40; ++i)
        list.AddItem(("item " + std::to_string(i)).c_str());
    list.SetTopIndex(10);
    for (short delta : {(short)-120, (short)-960, (short)0}) {
        int before = list.GetTopIndex();
        SendMessage(list.GetSafeHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)delta), 0);
        EXPECT_EQ(list.GetTopIndex(), before + 1) << delta;
    }
    SendMessage(list.GetSafeHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 960), 0);
    EXPECT_EQ(list.GetTopIndex(), 12);
}

TEST_F(ListBoxExTest, GalleryDrawsColoursSelectionAndTheSeparator) {
    const COLORREF grey = RGB(0x80, 0x80, 0x80), window = RGB(255, 255, 255), shadow = RGB(128, 128, 128);
    SetSysColorForTest(COLOR_WINDOW, window);
    SetSysColorForTest(COLOR_HIGHLIGHT, RGB(10, 36, 106));
    SetSysColorForTest(COLOR_BTNSHADOW, shadow);
    list.SetBkColor(window);
    list.SetMaxMRUCount(-1);
    list.AddItem("Ctrl+N", OXLBI_ALL, nullptr, grey, window);
    list.AddItem("Ctrl+O", OXLBI_ALL, nullptr, grey, RGB(220, 240, 220));
    list.AddItem("Ctrl+S", OXLBI_ALL, nullptr, grey, window);
    list.MoveItemToMRU(0, 0);
    list.SetCurSel(2);
    RedrawWindow(parent.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    ScreenshotOnFailure shot(parent.GetSafeHwnd());
    PixelProbe px(parent.GetSafeHwnd());
    RECT r0{}, r1{}, r2{};
    list.GetItemRect(0, &r0);
    list.GetItemRect(1, &r1);
    list.GetItemRect(2, &r2);
    const int ox = 10, oy = 10;  // the list's place in the parent
    EXPECT_EQ(r0.bottom - r0.top, 21);  // 17 + the separator
    EXPECT_EQ(px.At(ox + 150, oy + r0.bottom - 4 + 1), shadow);
    EXPECT_EQ(px.At(ox + 150, oy + r0.bottom - 4), window);
    EXPECT_EQ(px.At(ox + 150, oy + (r1.top + r1.bottom) / 2), RGB(220, 240, 220));
    EXPECT_EQ(px.At(ox + 150, oy + (r2.top + r2.bottom) / 2), RGB(10, 36, 106));
    EXPECT_EQ(px.At(ox + 150, oy + r2.bottom + 20), window);
    WriteScreenshot(parent.GetSafeHwnd(), "Gallery_ListBoxEx");
    ResetSysColors();
}

}  // namespace
