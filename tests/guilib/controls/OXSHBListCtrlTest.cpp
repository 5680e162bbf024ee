#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "guilib/controls/OXSHBListCtrl.h"
#include "guilib/controls/OXShortcutBar.h"
#include "guilib/skins/OXSkinnedApp.h"
#include "platform/base/GlobalMemory.h"
#include "platform/framework/ole/OleDataObject.h"
#include "platform/framework/ole/OleDataSource.h"
#include "platform/user/Clipboard.h"
#include "tests/support/Gui.h"

namespace {

std::vector<UINT> g_listCodes;

LRESULT ListOwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        UINT code = reinterpret_cast<NMHDR*>(lp)->code;
        if (code >= 0x80A0 && code <= 0x80FF)
            g_listCodes.push_back(code);
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

// An image list of `count` solid squares of `size` pixels.
HIMAGELIST SquareImages(int size, int count, COLORREF colour) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, count, 1);
    std::vector<DWORD> pixels((size_t)size * size, 0xFF000000u | (GetRValue(colour) << 16) |
                                                       (GetGValue(colour) << 8) | GetBValue(colour));
    for (int i = 0; i < count; ++i) {
        HBITMAP bitmap = CreateBitmap(size, size, 1, 32, pixels.data());
        ImageList_Add(list, bitmap, nullptr);
        DeleteObject(bitmap);
    }
    return list;
}

// A stand-alone list, 100 x 300, at the screen's origin inside its owner, with four items of 32-pixel icons.
class SHBListTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_listCodes.clear();
        RegisterTestWindowClass("SHBListOwner", ListOwnerProc, COLOR_WINDOW);
        ASSERT_TRUE(owner.CreateEx(0, "SHBListOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                                   nullptr));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | LVS_NOSCROLL,
                                RECT{0, 0, 100, 300}, &owner, 5));
        images = SquareImages(32, 4, RGB(0, 0, 255));
        list.SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, (LPARAM)images);
        for (int i = 0; i < 4; ++i) {
            std::string text = "Item " + std::to_string(i);
            list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, i, text.c_str(), 0, 0, i, 100 + i);
        }
    }
    void TearDown() override {
        list.DestroyWindow();
        owner.DestroyWindow();
        Pump();
        ImageList_Destroy(images);
    }
    RECT ItemRect(int item, UINT code) {
        RECT r{};
        list.GetItemRectangle(item, code, &r);
        return r;
    }
    POINT Centre(int item) {
        RECT r = ItemRect(item, LVIR_ICON);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // A drag record over the list carrying an item block.
    static HGLOBAL Block(const std::vector<BYTE>& bytes) {
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
        GlobalUnlock(h);
        return h;
    }
    CWnd owner;
    COXSHBListCtrl list;
    HIMAGELIST images = nullptr;
};

TEST_F(SHBListTest, LaysOutLargeIconsInOneColumn) {
    RECT image = ItemRect(0, LVIR_ICON);
    EXPECT_EQ(image.left, 31);
    EXPECT_EQ(image.top, 2);
    EXPECT_EQ(image.right, 69);
    EXPECT_EQ(image.bottom, 40);
    RECT label = ItemRect(0, LVIR_LABEL);
    EXPECT_EQ(label.top, 40);
    EXPECT_LE(std::abs((label.left + label.right) - 100), 1) << "centred under the image";
    RECT whole0 = ItemRect(0, (UINT)-1), whole1 = ItemRect(1, (UINT)-1);
    EXPECT_EQ(whole1.top, whole0.bottom + 6);
    EXPECT_EQ(whole0.right - whole0.left, 100);
    UINT flags = 0;
    EXPECT_EQ(list.HitTest(Centre(1), &flags), 1);
    EXPECT_EQ(flags, (UINT)LVHT_ONITEMICON);
    EXPECT_EQ(list.HitTest(POINT{2, whole0.bottom + 3}, &flags), -1);
    EXPECT_EQ(flags, (UINT)LVHT_NOWHERE);
    EXPECT_EQ(list.SendMessage(LVM_GETTOPINDEX), 0);
    LVFINDINFO find{LVFI_PARAM, nullptr, 102, POINT{}, 0};
    EXPECT_EQ(list.SendMessage(LVM_FINDITEM, (WPARAM)-1, (LPARAM)&find), 2);
    list.DeleteAllItems();
    EXPECT_EQ(list.SendMessage(LVM_GETTOPINDEX), -1);
    RECT none = list.GetBottomScrollButtonRect();
    EXPECT_TRUE(IsRectEmpty(&none));
}

TEST_F(SHBListTest, SelectionFollowsDeletionsAndScrollButtonsShowWhenNeeded) {
    list.SelectItem(2);
    list.DeleteItem(0);
    EXPECT_EQ(list.GetSelectedItem(), 1);
    list.DeleteItem(1);
    EXPECT_EQ(list.GetSelectedItem(), -1);
    EXPECT_EQ(list.SelectItem(7), -1);
    EXPECT_FALSE(list.DeleteItem(9));
    // Shorter than the items: the bottom button shows; scrolled, the top one too.
    list.MoveWindow(0, 0, 100, 80);
    RECT bottom = list.GetBottomScrollButtonRect();
    EXPECT_EQ(bottom.right, 100);
    EXPECT_EQ(bottom.bottom, 78);
    EXPECT_EQ(bottom.right - bottom.left, 16);
    RECT top = list.GetTopScrollButtonRect();
    EXPECT_TRUE(IsRectEmpty(&top));
    list.ScrollStep(FALSE);
    top = list.GetTopScrollButtonRect();
    EXPECT_FALSE(IsRectEmpty(&top));
    EXPECT_GT(list.GetScrollOffset().y, 0);
}

TEST_F(SHBListTest, ADragStartsAtNinePixelsAndMovesTheItemOnce) {
    POINT p = Centre(0);
    ClientToScreen(list.GetSafeHwnd(), &p);
    PostMouseInput(WM_LBUTTONDOWN, p, MK_LBUTTON);
    PostMouseInput(WM_MOUSEMOVE, POINT{p.x + 5, p.y + 3}, MK_LBUTTON);
    Pump();
    EXPECT_EQ(std::count(g_listCodes.begin(), g_listCodes.end(), (UINT)SHBN_BEGINDRAGITEM), 0) << "8 pixels";
    POINT target = Centre(3);
    ClientToScreen(list.GetSafeHwnd(), &target);
    ModalSteps steps;
    steps.Start({[](HWND) {}, [&](HWND) { PostMouseInput(WM_MOUSEMOVE, target, MK_LBUTTON); },
                 [&](HWND) { PostMouseInput(WM_MOUSEMOVE, POINT{target.x, target.y + 1}, MK_LBUTTON); },
                 [&](HWND) { PostMouseInput(WM_LBUTTONUP, POINT{target.x, target.y + 1}, 0); }});
    PostMouseInput(WM_MOUSEMOVE, POINT{p.x + 5, p.y + 4}, MK_LBUTTON);
    for (int i = 0; i < 20 && list.GetItemText(0, 0) == "Item 0"; ++i) {
        steps.Clock().Advance(10);
        Pump();
    }
    EXPECT_EQ(std::count(g_listCodes.begin(), g_listCodes.end(), (UINT)SHBN_BEGINDRAGITEM), 1);
    ASSERT_EQ(list.GetItemCount(), 4);
    std::vector<CString> texts;
    for (int i = 0; i < 4; ++i)
        texts.push_back(list.GetItemText(i, 0));
    EXPECT_EQ(texts, (std::vector<CString>{"Item 1", "Item 2", "Item 0", "Item 3"}));
    EXPECT_EQ(list.GetItemData(2), 100u) << "the same list keeps the item data";
    EXPECT_EQ(list.GetInsertPosition(), -1);
}

TEST_F(SHBListTest, DropsAreReadWithinTheirBlock) {
    CLIPFORMAT format = (CLIPFORMAT)RegisterClipboardFormat(SHB_ITEM_FORMAT);
    auto drop = [&](const std::vector<BYTE>& bytes, POINT at) {
        COleDataSource source;
        source.CacheGlobalData(format, Block(bytes));
        COleDataObject data;
        data.Attach(&source);
        SHBDROPTARGETACTION action{&list, &data, 0, at, DROPEFFECT_NONE, DROPEFFECT_NONE, 0};
        list.SendMessage(SHBDTM_DRAGENTER, 0, (LPARAM)&action);
        SHBDROPTARGETACTION dropped{&list, &data, 0, at, DROPEFFECT_MOVE, DROPEFFECT_NONE, 0};
        list.SendMessage(SHBDTM_DROP, 0, (LPARAM)&dropped);
        return dropped.result;
    };
    auto u32 = [](std::vector<BYTE>& out, DWORD v) { out.insert(out.end(), (BYTE*)&v, (BYTE*)&v + 4); };
    std::vector<BYTE> good{'N', 'e', 'w', 0};
    u32(good, 7);
    u32(good, 0);
    u32(good, 0);
    RECT last = ItemRect(3, (UINT)-1);
    EXPECT_TRUE(drop(good, POINT{50, last.bottom + 3}));
    ASSERT_EQ(list.GetItemCount(), 5);
    EXPECT_EQ(list.GetItemText(4, 0), "New") << "below the last item: at the end";
    EXPECT_EQ(list.GetItemData(4), 0u) << "item data only within one list";

    std::vector<BYTE> oversized{'B', 'a', 'd', 0};
    u32(oversized, 7);
    u32(oversized, 1);
    u32(oversized, 0);
    u32(oversized, 0);
    u32(oversized, 0x7FFFFFF);  // more image bytes than the block holds
    EXPECT_FALSE(drop(oversized, POINT{50, 5}));
    std::vector<BYTE> unterminated{'X', 'Y'};
    EXPECT_FALSE(drop(unterminated, POINT{50, 5}));
    EXPECT_EQ(list.GetItemCount(), 5);
}

TEST_F(SHBListTest, InsertMarkIsWhiteOnADarkBackground) {
    list.SendMessage(LVM_SETBKCOLOR, 0, RGB(20, 20, 20));
    CLIPFORMAT format = (CLIPFORMAT)RegisterClipboardFormat(SHB_ITEM_FORMAT);
    COleDataSource source;
    source.CacheGlobalData(format, Block({'x', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    COleDataObject data;
    data.Attach(&source);
    POINT onItem2 = Centre(2);
    SHBDROPTARGETACTION action{&list, &data, 0, onItem2, DROPEFFECT_NONE, DROPEFFECT_NONE, 0};
    list.SendMessage(SHBDTM_DRAGENTER, 0, (LPARAM)&action);
    EXPECT_EQ(action.result, (DWORD)DROPEFFECT_MOVE);
    EXPECT_EQ(list.GetInsertPosition(), 2);
    RedrawWindow(owner.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    RECT item2 = ItemRect(2, (UINT)-1);
    int middle = item2.top - 3;
    PixelProbe px(owner.GetSafeHwnd());
    EXPECT_EQ(px.At(50, middle), RGB(255, 255, 255));
    EXPECT_EQ(px.At(50, middle - 2), RGB(20, 20, 20));
    list.SendMessage(SHBDTM_DRAGLEAVE, 0, (LPARAM)&action);
    EXPECT_EQ(list.GetInsertPosition(), -1);
}

TEST_F(SHBListTest, LabelEditingSetsTheTextUnlessRefused) {
    EXPECT_FALSE(list.EditLabel(1)) << "no editing without the style";
    list.ModifyStyle(0, LVS_EDITLABELS);
    ASSERT_TRUE(list.EditLabel(1));
    list.GetEditControl()->SetWindowText("Renamed");
    SimulateKey(VK_RETURN);
    Pump(true);
    EXPECT_EQ(list.GetItemText(1, 0), "Renamed");
    EXPECT_EQ(list.GetEditedItem(), -1);
    ASSERT_TRUE(list.EditLabel(1));
    list.GetEditControl()->SetWindowText("Cancelled");
    SimulateKey(VK_ESCAPE);
    Pump(true);
    EXPECT_EQ(list.GetItemText(1, 0), "Renamed");
}

// The gallery: a bar with three groups, the expanded one in large icons with a hot item, per look.
class ShortcutBarGallery : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        SetSysColorForTest(COLOR_WINDOW, RGB(255, 255, 255));
        SetSysColorForTest(COLOR_BTNFACE, RGB(212, 208, 200));
        SetSysColorForTest(COLOR_BTNSHADOW, RGB(128, 128, 128));
        SetSysColorForTest(COLOR_HIGHLIGHT, RGB(10, 36, 106));
        app = std::make_unique<COXSkinnedApp>();
        ASSERT_TRUE(app->SetCurrentSkin(GetParam()));
        RegisterTestWindowClass("SHBGallery", ListOwnerProc, COLOR_BTNFACE);
        ASSERT_TRUE(owner.CreateEx(0, "SHBGallery", "gallery", WS_POPUP | WS_VISIBLE, 0, 0, 420, 300, nullptr,
                                   nullptr));
        images = SquareImages(32, 2, RGB(0, 0, 255));
        small = SquareImages(16, 2, RGB(0, 128, 0));
    }
    void TearDown() override {
        owner.DestroyWindow();
        Pump();
        ImageList_Destroy(images);
        ImageList_Destroy(small);
        app.reset();
        ResetSysColors();
    }
    void Fill(COXShortcutBar& bar, int view) {
        HSHBGROUP a = bar.InsertGroup("Pages", -2), b = bar.InsertGroup("Tools", -2);
        bar.InsertGroup("More", -2);
        for (HSHBGROUP g : {a, b}) {
            bar.SetGroupImageList(g, images, LVSIL_NORMAL);
            bar.SetGroupImageList(g, small, LVSIL_SMALL);
            bar.SetGroupView(g, view);
            bar.InsertGroupItem(g, LVIF_TEXT | LVIF_IMAGE, 0, "General", 0, 0, 0, 0);
            bar.InsertGroupItem(g, LVIF_TEXT | LVIF_IMAGE, 1, "Colours", 0, 0, 1, 0);
        }
        bar.ExpandGroup(a);
        bar.GetGroupListCtrl(a)->SetHotItem(0);
    }
    CWnd owner;
    std::unique_ptr<COXSkinnedApp> app;
    HIMAGELIST images = nullptr, small = nullptr;
};

TEST_P(ShortcutBarGallery, HeadersListsAndHotItemsInTheLooksColours) {
    std::string look = GetParam();
    COXShortcutBar large, smallBar;
    ASSERT_TRUE(large.Create(&owner, RECT{0, 0, 200, 300}, SHBS_EDITHEADERS | SHBS_EDITITEMS, 1));
    ASSERT_TRUE(smallBar.Create(&owner, RECT{210, 0, 410, 300}, SHBS_EDITHEADERS | SHBS_EDITITEMS, 2));
    Fill(large, SHB_LARGEICON);
    Fill(smallBar, SHB_SMALLICON);
    // A header and an item being renamed in the second bar.
    HSHBGROUP tools = smallBar.FindGroupByText("Tools");
    ASSERT_TRUE(smallBar.EditGroupHeader(tools));
    ScreenshotOnFailure shot(owner.GetSafeHwnd());
    RedrawWindow(owner.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    PixelProbe px(owner.GetSafeHwnd());
    HSHBGROUP pages = large.FindGroupByText("Pages"), more = large.FindGroupByText("More");
    RECT header{}, last{};
    large.GetGroupHeaderRect(pages, &header);
    large.GetGroupHeaderRect(more, &last);
    COXSHBListCtrl* list = large.GetGroupListCtrl(pages);
    RECT image{};
    list->GetItemRectangle(0, LVIR_ICON, &image);
    RECT listAt{};
    GetWindowRect(list->GetSafeHwnd(), &listAt);
    OffsetRect(&image, listAt.left, listAt.top);
    RECT frame = image;
    InflateRect(&frame, -1, -1);
    if (look == "Classic") {
        EXPECT_EQ(header.bottom - header.top, 18);
        EXPECT_EQ(px.At(header.left, header.top), RGB(255, 255, 255));
        EXPECT_EQ(px.At(header.right - 1, header.bottom - 1), RGB(84, 80, 72));
        EXPECT_EQ(px.At(frame.left, frame.top), RGB(192, 192, 192));
        EXPECT_EQ(px.At(frame.right - 1, frame.bottom - 1), RGB(0, 0, 0));
        EXPECT_EQ(px.At(listAt.left + 2, listAt.bottom - 3), RGB(128, 128, 128));
    } else if (look == "Office XP") {
        EXPECT_EQ(px.At(listAt.left + 2, listAt.bottom - 3), RGB(218, 215, 208));
        EXPECT_EQ(px.At(frame.left, frame.top), RGB(10, 36, 106));
        EXPECT_EQ(px.At(frame.left + 1, frame.top + 1), RGB(181, 189, 210));
    } else {
        EXPECT_EQ(header.bottom - header.top, 32);
        EXPECT_EQ(px.At(last.left + 50, last.bottom - 1), RGB(0, 45, 150));
        EXPECT_EQ(px.At(0, 0), RGB(85, 131, 211));
    }
    // The blue icon stands inside its frame.
    EXPECT_EQ(px.At(image.left + 10, image.top + 10), RGB(0, 0, 255));
    // The header editor stands over the header being renamed.
    RECT edited{}, editor{};
    smallBar.GetGroupHeaderRect(tools, &edited);
    GetWindowRect(smallBar.GetEditControl()->GetSafeHwnd(), &editor);
    EXPECT_EQ(editor.top, edited.top);
    EXPECT_EQ(editor.left, 210 + edited.left);
    EXPECT_FALSE(WriteScreenshot(owner.GetSafeHwnd(), SpacesToUnderscores("Gallery_ShortcutBar_" + look)).empty());
    smallBar.GetEditControl()->FinishEdit(FALSE);
}

INSTANTIATE_TEST_SUITE_P(Looks, ShortcutBarGallery, ::testing::Values("Classic", "Office XP", "Office 2003"),
                         [](const auto& info) { return SpacesToUnderscores(info.param); });

}  // namespace
