#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "guilib/controls/OXPreviewDialog.h"
#include "platform/framework/app/WinThread.h"
#include "platform/user/ListView.h"
#include "platform/user/ToolTip.h"
#include "platform/user/Toolbar.h"
#include "tests/support/Gui.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

namespace {

// Records what the dialog asks of a viewer; paints nothing.
class RecordingViewer : public COXFileViewer {
public:
    BOOL OnNewFileSelect(LPCTSTR file, BOOL) override {
        files.push_back(file ? file : "<null>");
        return FALSE;
    }
    BOOL OnPaintPreview(CDC*, const RECT&) override { return FALSE; }
    void OnShowPreview(BOOL show) override { shows.push_back(show != FALSE); }
    std::vector<std::string> files;
    std::vector<bool> shows;
};

RECT InDialog(HWND dialog, HWND child) {
    RECT r{0, 0, 0, 0};
    if (!child)
        return r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::map<int, RECT> ChildRects(HWND dialog) {
    std::map<int, RECT> rects;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c) && GetDlgCtrlID(c) > 0)
            rects[GetDlgCtrlID(c)] = InDialog(dialog, c);
    return rects;
}

bool SameRects(const std::map<int, RECT>& a, const std::map<int, RECT>& b) {
    if (a.size() != b.size())
        return false;
    for (const auto& [id, r] : a) {
        auto it = b.find(id);
        if (it == b.end() || !EqualRect(&r, &it->second))
            return false;
    }
    return true;
}

void Mouse(HWND dialog, UINT message, int x, int y) {
    SendMessage(dialog, message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

class PreviewDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetRegistryKey("Veltrin");
        folder.Write("a.bmp", "x");
        folder.Write("b.txt", "x");
    }
    INT_PTR Run(COXPreviewDialog& dialog, std::vector<ModalSteps::Step> steps) {
        dialog.m_ofn.lpstrInitialDir = folder.Path().c_str();
        modal.Start(std::move(steps));
        return dialog.DoModal();
    }
    TempRegistry registry;
    CWinApp app{"PreviewTest"};
    TempFolder folder{"previewdialog"};
    ModalSteps modal;
};

TEST_F(PreviewDialogTest, ThePreviewButtonShowsAndHidesThePaneAndTwiceRestoresTheLayout) {
    COXPreviewDialog dialog(TRUE);
    RecordingViewer viewer;
    dialog.AddFileViewer(&viewer);
    bool checked = false, hiddenWithoutPane = false, restored = false;
    RECT pane{}, splitter{}, view{};
    std::map<int, RECT> before;
    std::string tip;
    ASSERT_EQ(Run(dialog, {[&](HWND d) {
                               HWND bar = dialog.GetShellToolbar();
                               ASSERT_NE(bar, nullptr);
                               checked = SendMessage(bar, TB_ISBUTTONCHECKED, ID_OX_PREVIEW_BUTTON, 0) != 0;
                               pane = InDialog(d, GetDlgItem(d, ID_OX_PREVIEW_WND));
                               view = InDialog(d, dialog.GetShellView());
                               splitter = dialog.GetSplitterRect();
                               before = ChildRects(d);
                               NMTTDISPINFO info{};
                               info.hdr.hwndFrom = bar;
                               info.hdr.idFrom = ID_OX_PREVIEW_BUTTON;
                               info.hdr.code = TTN_NEEDTEXT;
                               SendMessage(dialog.m_hWnd, WM_NOTIFY, ID_OX_PREVIEW_BUTTON, (LPARAM)&info);
                               tip = info.lpszText ? info.lpszText : "";
                               // The button's click, as the toolbar reports it to the hook window.
                               SendMessage(dialog.m_hWnd, WM_COMMAND, ID_OX_PREVIEW_BUTTON, (LPARAM)bar);
                               hiddenWithoutPane = !GetDlgItem(d, ID_OX_PREVIEW_WND) && !dialog.GetPreview() &&
                                                   InDialog(d, dialog.GetShellView()).right == pane.right;
                               SendMessage(dialog.m_hWnd, WM_COMMAND, ID_OX_PREVIEW_BUTTON, (LPARAM)bar);
                               restored = SameRects(before, ChildRects(d));

                           },
                           ModalSteps::ClickItem(IDCANCEL)}),
              IDCANCEL);
    EXPECT_TRUE(checked);
    EXPECT_EQ(tip, "Preview selected file");
    EXPECT_GT(pane.right - pane.left, 50);
    EXPECT_EQ(splitter.left, view.right);
    EXPECT_EQ(splitter.right, pane.left);
    EXPECT_TRUE(hiddenWithoutPane);
    EXPECT_TRUE(restored);
    EXPECT_EQ(viewer.shows, (std::vector<bool>{false, true}));
}

TEST_F(PreviewDialogTest, TheSplitterDragKeepsListAndPaneAtLeastFiftyPixelsWide) {
    COXPreviewDialog dialog(TRUE);
    int narrowestView = 0, narrowestPane = 0, offsetAfterLeft = 0;
    ASSERT_EQ(Run(dialog, {[&](HWND d) {
                               RECT s = dialog.GetSplitterRect();
                               int y = (s.top + s.bottom) / 2, x = (s.left + s.right) / 2;
                               Mouse(d, WM_LBUTTONDOWN, x, y);
                               Mouse(d, WM_MOUSEMOVE, 0, y);
                               narrowestView = InDialog(d, dialog.GetShellView()).right -
                                               InDialog(d, dialog.GetShellView()).left;
                               offsetAfterLeft = dialog.GetPreviewOffset();
                               Mouse(d, WM_MOUSEMOVE, 2000, y);
                               RECT pane = InDialog(d, GetDlgItem(d, ID_OX_PREVIEW_WND));
                               narrowestPane = pane.right - pane.left;
                               Mouse(d, WM_LBUTTONUP, 2000, y);
                           },
                           ModalSteps::ClickItem(IDCANCEL)}),
              IDCANCEL);
    EXPECT_EQ(narrowestView, 50);
    EXPECT_GT(offsetAfterLeft, 0);
    EXPECT_EQ(narrowestPane, 50);
}

// Answers palette events with `handles`, recording them.
class PaletteViewer : public RecordingViewer {
public:
    explicit PaletteViewer(BOOL handles) : handles(handles) {}
    BOOL OnPaletteEvent(UINT message, WPARAM, LPARAM) override {
        events.push_back(message);
        return handles;
    }
    BOOL handles;
    std::vector<UINT> events;
};

TEST_F(PreviewDialogTest, TheSplitterShowsTheLibrarysCursorAndPaletteEventsGoToTheViewersUntilOneTakesThem) {
    COXPreviewDialog dialog(TRUE);
    PaletteViewer declines(FALSE), takes(TRUE), never(TRUE);
    dialog.AddFileViewer(&declines);
    dialog.AddFileViewer(&takes);
    dialog.AddFileViewer(&never);
    HCURSOR overSplitter = nullptr, beside = nullptr;
    ASSERT_EQ(Run(dialog, {[&](HWND d) {
                               RECT s = dialog.GetSplitterRect();
                               POINT p{(s.left + s.right) / 2, (s.top + s.bottom) / 2};
                               ClientToScreen(d, &p);
                               SetCursorPos(p.x, p.y);
                               SetCursor(nullptr);
                               SendMessage(d, WM_SETCURSOR, (WPARAM)d, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                               overSplitter = GetCursor();
                               SetCursorPos(p.x - 40, p.y);
                               SetCursor(nullptr);
                               SendMessage(d, WM_SETCURSOR, (WPARAM)d, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                               beside = GetCursor();

                               SendMessage(dialog.m_hWnd, WM_PALETTECHANGED, (WPARAM)d, 0);
                               SendMessage(dialog.m_hWnd, WM_ACTIVATE, WA_INACTIVE, 0);
                               SendMessage(dialog.m_hWnd, WM_ACTIVATE, WA_CLICKACTIVE, 0);
                           },
                           ModalSteps::ClickItem(IDCANCEL)}),
              IDCANCEL);
    // The library's own cursor resource, not the system's sizing arrow it falls back to.
    ASSERT_NE(overSplitter, nullptr);
    EXPECT_EQ(overSplitter, LoadCursorResource(IDC_OX_PREVIEW_SPLITTER));
    EXPECT_NE(overSplitter, LoadCursor(nullptr, MAKEINTRESOURCE(32644)));  // the sizing arrow
    EXPECT_NE(beside, overSplitter);
    // A deactivation is no palette event.
    EXPECT_EQ(declines.events, (std::vector<UINT>{WM_PALETTECHANGED, WM_ACTIVATE}));
    EXPECT_EQ(takes.events, (std::vector<UINT>{WM_PALETTECHANGED, WM_ACTIVATE}));
    EXPECT_TRUE(never.events.empty());
}

TEST_F(PreviewDialogTest, VisibilityAndOffsetSurviveReopening) {
    int offset = 0;
    {
        COXPreviewDialog dialog(TRUE);
        Run(dialog, {[&](HWND d) {
                         RECT s = dialog.GetSplitterRect();
                         int y = (s.top + s.bottom) / 2;
                         Mouse(d, WM_LBUTTONDOWN, s.left, y);
                         Mouse(d, WM_MOUSEMOVE, s.left - 30, y);
                         Mouse(d, WM_LBUTTONUP, s.left - 30, y);
                         offset = dialog.GetPreviewOffset();
                     },
                     ModalSteps::ClickItem(IDCANCEL)});
    }
    EXPECT_EQ(offset, 30);
    EXPECT_EQ(app.GetProfileInt("COXPreviewDialog Settings", "Preview Window Offset", -1), 30);
    int reopenedOffset = -1;
    {
        COXPreviewDialog dialog(TRUE);
        Run(dialog, {[&](HWND) { reopenedOffset = dialog.GetPreviewOffset(); },
                     [&](HWND) { SendMessage(dialog.m_hWnd, WM_COMMAND, ID_OX_PREVIEW_BUTTON, 0); },
                     ModalSteps::ClickItem(IDCANCEL)});
    }
    EXPECT_EQ(reopenedOffset, 30);
    EXPECT_EQ(app.GetProfileInt("COXPreviewDialog Settings", "Preview", -1), 0);
    bool hidden = false;
    COXPreviewDialog dialog(TRUE);
    Run(dialog, {[&](HWND d) { hidden = !dialog.GetPreview() && !GetDlgItem(d, ID_OX_PREVIEW_WND); },
                 ModalSteps::ClickItem(IDCANCEL)});
    EXPECT_TRUE(hidden);
}

TEST_F(PreviewDialogTest, ASelectedFileIsPreviewedAndATypedMissingOneGivesAnEmptyName) {
    COXPreviewDialog dialog(TRUE);
    RecordingViewer viewer;
    dialog.AddFileViewer(&viewer);
    ASSERT_EQ(Run(dialog, {[&](HWND d) {
                               viewer.files.clear();
                               HWND list = GetDlgItem(dialog.GetShellView(), IDC_FILE_LIST);
                               LVITEM item{};
                               item.stateMask = LVIS_SELECTED;
                               item.state = LVIS_SELECTED;
                               SendMessage(list, LVM_SETITEMSTATE, 1, (LPARAM)&item);  // a.bmp, after ".."
                               SetDlgItemText(d, IDC_FILE_NAME, "missing.bmp");
                               OFNOTIFY n{};
                               n.hdr.hwndFrom = d;
                               n.hdr.code = CDN_SELCHANGE;
                               SendMessage(dialog.m_hWnd, WM_NOTIFY, 0, (LPARAM)&n);
                           },
                           ModalSteps::ClickItem(IDCANCEL)}),
              IDCANCEL);
    EXPECT_EQ(viewer.files, (std::vector<std::string>{folder / "a.bmp", ""}));
}

TEST_F(PreviewDialogTest, WithoutAViewerThePaneSaysPreviewNotAvailableCentred) {
    COXPreviewDialog dialog(TRUE);
    RECT ink{10000, 10000, -1, -1};
    RECT client{};
    ASSERT_EQ(Run(dialog, {[&](HWND) {
                               HWND pane = GetDlgItem(GetParent(dialog.m_hWnd), ID_OX_PREVIEW_WND);
                               ASSERT_NE(pane, nullptr);
                               UpdateWindow(GetParent(dialog.m_hWnd));
                               WriteScreenshot(GetParent(dialog.m_hWnd), "Gallery_PreviewDialog");
                               GetClientRect(pane, &client);
                               // The pane's client area in its top-level window's coordinates.
                               POINT origin{0, 0};
                               ClientToScreen(pane, &origin);
                               RECT top;
                               GetWindowRect(GetAncestor(pane, GA_ROOT), &top);
                               PixelProbe probe(GetAncestor(pane, GA_ROOT));
                               COLORREF face = GetSysColor(COLOR_BTNFACE);
                               for (int y = 0; y < client.bottom; ++y)
                                   for (int x = 0; x < client.right; ++x)
                                       if (!PixelProbe::Near(probe.At(origin.x - top.left + x, origin.y - top.top + y),
                                                             face, 40)) {
                                           ink.left = std::min(ink.left, (LONG)x);
                                           ink.right = std::max(ink.right, (LONG)x + 1);
                                           ink.top = std::min(ink.top, (LONG)y);
                                           ink.bottom = std::max(ink.bottom, (LONG)y + 1);
                                       }
                           },
                           ModalSteps::ClickItem(IDCANCEL)}),
              IDCANCEL);
    ASSERT_GT(ink.right, ink.left) << "the text is drawn";
    EXPECT_NEAR(ink.left + ink.right, client.right, 2) << "centred across, within a pixel";
    EXPECT_NEAR(ink.top + ink.bottom, client.bottom, 4);
}

TEST_F(PreviewDialogTest, ResizingGrowsTheListKeepsThePaneWidthAndHasAMinimumWidth) {
    COXPreviewDialog dialog(TRUE);
    RECT paneBefore{}, paneAfter{}, okBefore{}, okAfter{}, viewBefore{}, viewAfter{}, bar{}, client{};
    LONG minimum = 0, expectedMinimum = 0;
    ASSERT_EQ(Run(dialog, {[&](HWND d) {
                               paneBefore = InDialog(d, GetDlgItem(d, ID_OX_PREVIEW_WND));
                               okBefore = InDialog(d, GetDlgItem(d, IDOK));
                               viewBefore = InDialog(d, dialog.GetShellView());
                               RECT w;
                               GetWindowRect(d, &w);
                               SetWindowPos(d, nullptr, 0, 0, w.right - w.left + 100, w.bottom - w.top + 40,
                                            SWP_NOMOVE | SWP_NOZORDER);
                               paneAfter = InDialog(d, GetDlgItem(d, ID_OX_PREVIEW_WND));
                               okAfter = InDialog(d, GetDlgItem(d, IDOK));
                               viewAfter = InDialog(d, dialog.GetShellView());
                               bar = InDialog(d, dialog.GetShellToolbar());
                               GetClientRect(d, &client);
                               MINMAXINFO info{};
                               SendMessage(d, WM_GETMINMAXINFO, 0, (LPARAM)&info);
                               minimum = info.ptMinTrackSize.x;
                               GetWindowRect(d, &w);
                               expectedMinimum = (w.right - w.left) - (viewAfter.right - viewAfter.left) + 50;
                           },
                           ModalSteps::ClickItem(IDCANCEL)}),
              IDCANCEL);
    EXPECT_EQ(paneAfter.left - paneBefore.left, 100);
    EXPECT_EQ(paneAfter.right - paneAfter.left, paneBefore.right - paneBefore.left);
    EXPECT_EQ(paneAfter.bottom - paneBefore.bottom, 40);
    EXPECT_EQ(viewAfter.right - viewBefore.right, 100);
    EXPECT_EQ(okAfter.left - okBefore.left, 100);
    EXPECT_EQ(okAfter.top - okBefore.top, 40);
    EXPECT_EQ(bar.right, client.right - 2);
    EXPECT_EQ(minimum, expectedMinimum);
}

}  // namespace
