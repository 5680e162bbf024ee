// The customize dialog pictured on each page it holds, every page set up: one PNG per page, and on
// the picture the page's title in the title band, Apply's text in its enabled or greyed colours, and
// the bar's icons in the order of the sorted titles.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "guilib/controls/OXSHBListCtrl.h"
#include "guilib/customize/OXCommandsPageResources.h"
#include "guilib/customize/OXCustomizeManager.h"
#include "guilib/skins/OXCoolToolBar.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"
#include "tests/support/TempRegistry.h"

extern const unsigned char test_toolbar3_png[];
extern const size_t test_toolbar3_png_size;

namespace customize_pictures_test {
namespace {
constexpr UINT IDR_BAR = 320, IDR_TRAY_MENU = 941;
constexpr UINT kBar = 0xE800;

class Resources : public ResourceModule {
public:
    const ToolbarTemplate* FindToolbar(UINT id) const override {
        static const ToolbarTemplate bar{IDR_BAR, 16, 15, {0xE100, 0, 0xE101, 0xE102}};
        return id == IDR_BAR ? &bar : nullptr;
    }
    const BitmapResource* FindBitmap(UINT id) const override {
        static const BitmapResource strip{IDR_BAR, test_toolbar3_png, test_toolbar3_png_size};
        return id == IDR_BAR ? &strip : nullptr;
    }
    const MenuTemplate* FindMenu(UINT id) const override {
        static const MenuTemplate menu{IDR_TRAY_MENU, {{"Tray", 0, MF_POPUP, {{"Open", 0xE101, 0, {}}}}}};
        return id == IDR_TRAY_MENU ? &menu : nullptr;
    }
};

// The manager as the program has it, with its registry of pages readable.
class PicturedManager : public COXCustomizeManager {
public:
    std::vector<COXCustomizePage*> HeldPages() const {
        std::vector<COXCustomizePage*> pages;
        POSITION pos = m_mapPages.GetStartPosition();
        while (pos) {
            COXCustomizePage* page = nullptr;
            DWORD index = 0;
            m_mapPages.GetNextAssoc(pos, page, index);
            if (IsPageIncluded(index))
                pages.push_back(page);
        }
        return pages;
    }
};

// A memory picture of a window-sized area, for what a control should show.
class Picture {
public:
    Picture(int width, int height, COLORREF background) : m_dc(CreateCompatibleDC(nullptr)) {
        m_bitmap = CreateBitmap(width, height, 1, 32, nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
        RECT all{0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    ~Picture() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    HDC dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

// Where a control's client point lies in the dialog's window picture.
POINT InDialog(HWND dialog, HWND control, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(control, &p);
    RECT window{};
    ::GetWindowRect(dialog, &window);
    return POINT{p.x - window.left, p.y - window.top};
}

// Text drawn white on black as the control draws it: its columns with ink, and its fully inked pixels.
struct Ink {
    int first = -1, last = -1;
    std::vector<POINT> solid;
};
Ink TextInk(const char* text, HFONT font, const RECT& client, UINT format) {
    Picture picture(client.right, client.bottom, RGB(0, 0, 0));
    SelectObject(picture.dc(), font);
    SetBkMode(picture.dc(), TRANSPARENT);
    SetTextColor(picture.dc(), RGB(255, 255, 255));
    RECT r = client;
    DrawText(picture.dc(), text, -1, &r, format);
    Ink ink;
    for (int x = 0; x < client.right; ++x)
        for (int y = 0; y < client.bottom; ++y) {
            COLORREF c = picture.At(x, y);
            if (GetRValue(c) > 64) {
                if (ink.first < 0)
                    ink.first = x;
                ink.last = x;
            }
            if (PixelProbe::Near(c, RGB(255, 255, 255), 8))
                ink.solid.push_back(POINT{x, y});
        }
    return ink;
}

// The columns of a control where the picture differs from the control's top row: the title band is
// filled in vertical bands, so its text is whatever departs from the colour at the top.
std::pair<int, int> InkedColumns(const PixelProbe& probe, HWND dialog, HWND control) {
    RECT client{};
    ::GetClientRect(control, &client);
    int first = -1, last = -1;
    for (int x = 0; x < client.right; ++x) {
        POINT top = InDialog(dialog, control, x, 0);
        COLORREF band = probe.At(top);
        for (int y = 1; y < client.bottom; ++y)
            if (!PixelProbe::Near(probe.At(InDialog(dialog, control, x, y)), band, 48)) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    }
    return {first, last};
}

// How many of an icon's 32 x 32 pixels drawn at a list point match a page's picture over the list.
int IconMatch(const PixelProbe& probe, HWND dialog, HWND list, POINT at, COXCustomizePage* page,
              COLORREF back) {
    Picture expected(32, 32, back);
    HIMAGELIST strip =
        ImageList_LoadBitmap(nullptr, MAKEINTRESOURCE(page->GetImageId()), 32, 0, page->GetImageMaskColor());
    if (!strip)
        return 0;
    ImageList_Draw(strip, 0, expected.dc(), 0, 0, ILD_TRANSPARENT);
    ImageList_Destroy(strip);
    int matching = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (PixelProbe::Near(probe.At(InDialog(dialog, list, at.x + x, at.y + y)), expected.At(x, y), 8))
                ++matching;
    return matching;
}

// A page's shown controls that stick out of it, and the pairs of them that overlap unless one is a group
// box holding the other whole; touching by two pixels (a history combo's tool bar beside it) is no overlap.
std::vector<std::string> Misplaced(HWND page) {
    struct Shown {
        HWND hwnd;
        RECT rect;
        bool box;
    };
    std::vector<Shown> shown;
    for (HWND c = ::GetWindow(page, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(c))
            continue;
        RECT r{};
        ::GetWindowRect(c, &r);
        ::MapWindowPoints(nullptr, page, (LPPOINT)&r, 2);
        char cls[32] = {};
        ::GetClassName(c, cls, sizeof cls);
        bool box = ((DWORD)::GetWindowLongPtr(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX &&
                   std::string(cls) == WC_BUTTON;
        shown.push_back({c, r, box});
    }
    auto holds = [](const Shown& outer, const Shown& inner) {
        RECT both{};
        ::UnionRect(&both, &outer.rect, &inner.rect);
        return outer.box && ::EqualRect(&both, &outer.rect);
    };
    std::vector<std::string> found;
    RECT client{};
    ::GetClientRect(page, &client);
    for (const Shown& c : shown) {
        RECT both{};
        ::UnionRect(&both, &client, &c.rect);
        if (!::EqualRect(&both, &client))
            found.push_back(std::to_string(::GetDlgCtrlID(c.hwnd)) + " outside");
    }
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j) {
            RECT common{};
            if (::IntersectRect(&common, &shown[i].rect, &shown[j].rect) && common.right - common.left > 2 &&
                common.bottom - common.top > 2 && !holds(shown[i], shown[j]) && !holds(shown[j], shown[i]))
                found.push_back(std::to_string(::GetDlgCtrlID(shown[i].hwnd)) + " and " +
                                std::to_string(::GetDlgCtrlID(shown[j].hwnd)));
        }
    return found;
}

class CustomizeManagerPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&resources);
        app.SetRegistryKey("Test");
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 640, 480}));
        app.m_pMainWnd = frame;
        frame->EnableDocking(CBRS_ALIGN_ANY);
        ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, kBar));
        ASSERT_TRUE(bar.LoadToolBar(IDR_BAR));
        bar.SetWindowText("Standard");
        bar.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&bar);
    }
    void TearDown() override {
        if (manager.m_hWnd)
            manager.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        Pump();
        app.m_pMainWnd = nullptr;
        RemoveResourceModule(&resources);
    }
    // Every page the frame sets up, with the program's own values (the splash page never is), and the
    // dialog shown.
    void OpenWithTheProgramsPages() {
        ASSERT_TRUE(manager.SetupInstanceManagerPage(1000, "CustomizeInstanceManager"));
        ASSERT_TRUE(manager.SetupToolbarsPage(1, 1, 1, 0, "CustomizeToolbars"));
        ASSERT_TRUE(
            manager.SetupCommandsPage(IDB_OX_COMMANDS_STRIP, 0xC0C0C0, TRUE, TRUE, "CustomizeCommands"));
        ASSERT_TRUE(manager.SetupCoolControlsPage(FALSE, "CustomizeCoolControls"));
        ASSERT_TRUE(manager.SetupTrayIconPage(::LoadIcon(nullptr, IDI_APPLICATION), IDR_TRAY_MENU, "Tooltip",
                                              TRUE, TRUE, nullptr, "CustomizeTrayIcon"));

        ASSERT_TRUE(manager.Create(IDD_CUSTOMIZEMANAGER, frame));
        manager.ShowWindow(SW_SHOW);
        Pump();
    }
    TempRegistry registry;
    Resources resources;
    CWinApp app{"CustomizePicturesApp"};
    CFrameWnd* frame = nullptr;
    COXCoolToolBar bar;
    PicturedManager manager;
};
}  // namespace

TEST_F(CustomizeManagerPicturesTest, EachPageIsPicturedWithItsTitleApplyStateAndTheIconsInTitleOrder) {
    ASSERT_NO_FATAL_FAILURE(OpenWithTheProgramsPages());
    ScreenshotOnFailure failed(manager.m_hWnd);

    std::vector<COXCustomizePage*> pages = manager.HeldPages();
    std::stable_sort(pages.begin(), pages.end(), [](COXCustomizePage* a, COXCustomizePage* b) {
        return a->GetPageTitle().Compare(b->GetPageTitle()) < 0;
    });
    HSHBGROUP group = manager.GetShortcutBar().FindGroupByText("Customize");
    COXSHBListCtrl* list = manager.GetShortcutBar().GetGroupListCtrl(group);
    ASSERT_NE(list, nullptr);
    std::vector<COXCustomizePage*> listed;
    for (int i = 0; i < list->GetItemCount(); ++i)
        listed.push_back(manager.GetPageAt(group, i));
    ASSERT_EQ(listed, pages) << "the bar holds every page, in the order of the titles";

    HWND dialog = manager.m_hWnd, title = ::GetDlgItem(dialog, IDC_OX_STATIC_TITLE),
         apply = ::GetDlgItem(dialog, IDC_OX_BUTTON_APPLY);
    auto fontOf = [](HWND control) {
        HFONT font = (HFONT)::SendMessage(control, WM_GETFONT, 0, 0);
        return font ? font : (HFONT)::GetStockObject(SYSTEM_FONT);
    };
    HFONT titleFont = fontOf(title), applyFont = fontOf(apply);
    RECT titleClient{}, applyClient{}, listClient{};
    ::GetClientRect(title, &titleClient);
    ::GetClientRect(apply, &applyClient);
    ::GetClientRect(list->m_hWnd, &listClient);
    PixelProbe probe(dialog);
    Ink applyInk = TextInk("Apply", applyFont, applyClient, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ASSERT_FALSE(applyInk.solid.empty());

    for (size_t n = 0; n < pages.size(); ++n) {
        COXCustomizePage* page = pages[n];
        std::string name = (LPCTSTR)page->GetPageTitle();
        SCOPED_TRACE(name);
        ASSERT_TRUE(manager.ActivatePageObject(page));
        ::RedrawWindow(dialog, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        EXPECT_NE(WriteScreenshot(
                      dialog, "customize_page_" + std::to_string(n + 1) + "_" + SpacesToUnderscores(name)),
                  "");
        EXPECT_EQ(list->GetSelectedItem(), (int)n);
        EXPECT_EQ(Misplaced(page->m_hWnd), std::vector<std::string>{}) << "controls clipped or overlapping";

        // The title band shows the page's title, whole, where the static draws its text.
        EXPECT_EQ((LPCTSTR)GetWindowTextString(title), name);
        Ink expected = TextInk(name.c_str(), titleFont, titleClient,
                               DT_LEFT | DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE);
        auto [first, last] = InkedColumns(probe, dialog, title);
        EXPECT_NEAR(first, expected.first, 1);
        EXPECT_NEAR(last, expected.last, 1);

        // Apply as the page allows it, in the colours of an enabled or a greyed label.
        BOOL canApply = page->CanApply();
        EXPECT_EQ(::IsWindowEnabled(apply), canApply);
        COLORREF label = ::GetSysColor(canApply ? COLOR_BTNTEXT : COLOR_3DSHADOW);
        int inColour = 0;
        for (POINT p : applyInk.solid)
            inColour += PixelProbe::Near(probe.At(InDialog(dialog, apply, p.x, p.y)), label, 24);
        EXPECT_GE(inColour * 10, (int)applyInk.solid.size() * 9) << "Apply's label, enabled " << canApply;

        // Every icon in sight is the picture of the page of its place in the title order.
        for (int item = 0; item < (int)pages.size(); ++item) {
            RECT icon{};
            ASSERT_TRUE(list->GetItemRectangle(item, LVIR_ICON, &icon));
            POINT at{icon.left + 3, icon.top + 3};
            if (at.y < listClient.top || at.y + 32 > listClient.bottom)
                continue;
            int best = -1, bestMatch = 0;
            for (int other = 0; other < (int)pages.size(); ++other) {
                int match = IconMatch(probe, dialog, list->m_hWnd, at, pages[other], list->GetBkColor());
                if (match > bestMatch)
                    best = other, bestMatch = match;
            }
            EXPECT_EQ(best, item) << "icon " << item;
            EXPECT_GE(bestMatch, 32 * 32 * 9 / 10) << "icon " << item;
        }
    }
}

// Switching pages repaints what the switch uncovers and nothing more: the buttons and the separator at
// the bottom, which the switch does not touch, keep their pixels once the pending paints are done (no
// redraw of the whole dialog before looking).
TEST_F(CustomizeManagerPicturesTest, SwitchingPagesLeavesTheDialogsOwnControlsDrawn) {
    ASSERT_NO_FATAL_FAILURE(OpenWithTheProgramsPages());
    ScreenshotOnFailure failed(manager.m_hWnd);

    HWND dialog = manager.m_hWnd;
    HSHBGROUP group = manager.GetShortcutBar().FindGroupByText("Customize");
    COXSHBListCtrl* list = manager.GetShortcutBar().GetGroupListCtrl(group);
    ASSERT_NE(list, nullptr);
    PixelProbe probe(dialog);
    struct Label {
        int id;
        const char* text;
    };
    const Label labels[] = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    int order[] = {1, 2, 0, 3, 1, 0};
    for (int item : order) {
        if (item >= list->GetItemCount())
            continue;
        SCOPED_TRACE("page " + std::to_string(item));
        // The click on the icon comes with the dialog's caption shown active again.
        ::SendMessage(dialog, WM_NCACTIVATE, TRUE, 0);
        ASSERT_TRUE(manager.ActivatePageAt(group, item));
        Pump();
        for (const Label& label : labels) {
            HWND button = ::GetDlgItem(dialog, label.id);
            RECT client{};
            ::GetClientRect(button, &client);
            HFONT font = (HFONT)::SendMessage(button, WM_GETFONT, 0, 0);
            // The label's strongly inked pixels, as the button draws them, must not show the face.
            Picture text(client.right, client.bottom, RGB(0, 0, 0));
            SelectObject(text.dc(), font ? font : (HFONT)::GetStockObject(SYSTEM_FONT));
            SetBkMode(text.dc(), TRANSPARENT);
            SetTextColor(text.dc(), RGB(255, 255, 255));
            DrawText(text.dc(), label.text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            int strong = 0, inked = 0;
            for (int x = 0; x < client.right; ++x)
                for (int y = 0; y < client.bottom; ++y)
                    if (GetRValue(text.At(x, y)) > 160) {
                        ++strong;
                        inked += !PixelProbe::Near(probe.At(InDialog(dialog, button, x, y)),
                                                   ::GetSysColor(COLOR_3DFACE), 48);
                    }
            ASSERT_GT(strong, 0);
            EXPECT_GE(inked * 10, strong * 9) << label.text << "'s label";
        }
        HWND separator = ::GetDlgItem(dialog, IDC_OX_SEPARATOR_BOTTOM);
        RECT sep{};
        ::GetClientRect(separator, &sep);
        int shadowed = 0;
        for (int x = 0; x < sep.right; ++x) {
            bool line = false;
            for (int y = 0; y < sep.bottom && !line; ++y)
                line = PixelProbe::Near(probe.At(InDialog(dialog, separator, x, y)),
                                        ::GetSysColor(COLOR_3DSHADOW), 24);
            shadowed += line;
        }
        EXPECT_GE(shadowed * 10, (int)sep.right * 9) << "the bottom separator's line";
    }
}
}  // namespace customize_pictures_test
