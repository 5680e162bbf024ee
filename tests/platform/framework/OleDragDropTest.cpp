// Drag and drop within the process: the targets under the cursor hear enter, over, leave and drop in
// their own client coordinates; the clipboard takes a data source's formats.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/framework/ole/OleDataObject.h"
#include "platform/framework/ole/OleDataSource.h"
#include "platform/framework/ole/OleDropSource.h"
#include "platform/framework/ole/OleDropTarget.h"
#include "platform/user/Clipboard.h"
#include "tests/support/Gui.h"

namespace {
struct Event {
    std::string what;
    HWND hwnd;
    POINT pt;
    DWORD keys;
    bool operator==(const Event& o) const {
        return what == o.what && hwnd == o.hwnd && pt.x == o.pt.x && pt.y == o.pt.y && keys == o.keys;
    }
};
std::ostream& operator<<(std::ostream& os, const Event& e) {
    return os << e.what << "(" << e.hwnd << " " << e.pt.x << "," << e.pt.y << " keys " << e.keys << ")";
}

// Offers copy with Ctrl held, else move, for data with text; records what it is told.
class RecordingTarget : public COleDropTarget {
public:
    std::vector<Event>* events = nullptr;
    std::string dropped;
    DROPEFFECT Offer(COleDataObject* data, DWORD keys) {
        if (!data->IsDataAvailable(CF_TEXT))
            return DROPEFFECT_NONE;
        return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keys, POINT p) override {
        events->push_back({"enter", wnd->GetSafeHwnd(), p, keys});
        return Offer(data, keys);
    }
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keys, POINT p) override {
        events->push_back({"over", wnd->GetSafeHwnd(), p, keys});
        return Offer(data, keys);
    }
    void OnDragLeave(CWnd* wnd) override { events->push_back({"leave", wnd->GetSafeHwnd(), {0, 0}, 0}); }
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, POINT p) override {
        events->push_back({"drop", wnd->GetSafeHwnd(), p, effect});
        if (HGLOBAL h = data->GetGlobalData(CF_TEXT)) {
            dropped = static_cast<const char*>(GlobalLock(h));
            GlobalUnlock(h);
            GlobalFree(h);
        }
        return TRUE;
    }
};

int g_mouseSeen = 0;
LRESULT CountingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)
        ++g_mouseSeen;
    return DefWindowProc(h, msg, wp, lp);
}

HGLOBAL TextBlock(const char* text) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::strcpy(static_cast<char*>(GlobalLock(h)), text);
    GlobalUnlock(h);
    return h;
}

std::string ReadBlock(HANDLE h) {
    if (!h)
        return "<none>";
    std::string s(static_cast<const char*>(GlobalLock(h)), GlobalSize(h));
    GlobalUnlock(h);
    return s;
}

class OleDragDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestWindowClass("OleDragDropTestWindow", CountingProc, COLOR_WINDOW);
        auto make = [](int x, int y, int w, int h, HWND parent) {
            return CreateWindowEx(0, "OleDragDropTestWindow", "", (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE,
                                  x, y, w, h, parent, nullptr, nullptr, nullptr);
        };
        a = make(0, 0, 100, 100, nullptr);
        b = make(200, 0, 200, 200, nullptr);
        c = make(50, 50, 100, 100, b);  // a child of B without a target of its own
        d = make(500, 0, 100, 100, nullptr);
        Pump();
        target.events = &events;
        ASSERT_TRUE(target.Register(CWnd::FromHandle(b)));
        unregistered.events = &events;
        ASSERT_TRUE(unregistered.Register(CWnd::FromHandle(d)));
        unregistered.Revoke();
        source.CacheGlobalData(CF_TEXT, TextBlock("dragged text"));
        SetFocus(a);
        g_mouseSeen = 0;
    }
    void TearDown() override {
        target.Revoke();
        for (HWND h : {a, b, d})
            DestroyWindow(h);
        Pump();
    }
    // Input queued before the drag starts at `start`, handled by the drag's own loop.
    DROPEFFECT Drag(POINT start, const std::vector<std::pair<UINT, POINT>>& input, DWORD keys = 0) {
        for (const auto& [msg, at] : input) {
            if (msg == WM_KEYDOWN) {
                PostKeyInput(WM_KEYDOWN, (WPARAM)at.x, 0);
                continue;
            }
            PostMouseInput(msg, at, msg == WM_LBUTTONUP ? keys : (keys | MK_LBUTTON));
        }
        SetCursorPos(start.x, start.y);
        return source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    }

    HWND a = nullptr, b = nullptr, c = nullptr, d = nullptr;
    std::vector<Event> events;
    RecordingTarget target, unregistered;
    COleDataSource source;
};
}  // namespace

TEST_F(OleDragDropTest, ADragFromAToBCallsEnterOverAndDropWithClientPointsAndKeys) {
    DROPEFFECT result = Drag(
        POINT{50, 50}, {{WM_MOUSEMOVE, {210, 20}}, {WM_MOUSEMOVE, {260, 60}}, {WM_LBUTTONUP, {260, 60}}});
    EXPECT_EQ(result, (DROPEFFECT)DROPEFFECT_MOVE);
    // Over the child the parent's target answers, in the parent's client coordinates.
    EXPECT_EQ(events, (std::vector<Event>{{"enter", b, {10, 20}, MK_LBUTTON},
                                          {"over", b, {60, 60}, MK_LBUTTON},
                                          {"drop", b, {60, 60}, DROPEFFECT_MOVE}}));
    EXPECT_EQ(target.dropped, "dragged text");
    EXPECT_EQ(g_mouseSeen, 0);  // the drag took the mouse
    EXPECT_EQ(GetCapture(), nullptr);

    // Ctrl held: copy.
    events.clear();
    result = Drag(POINT{50, 50}, {{WM_MOUSEMOVE, {210, 20}}, {WM_LBUTTONUP, {210, 20}}}, MK_CONTROL);
    EXPECT_EQ(result, (DROPEFFECT)DROPEFFECT_COPY);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), (Event{"enter", b, {10, 20}, MK_LBUTTON | MK_CONTROL}));
}

TEST_F(OleDragDropTest, EscapeUnregisteredWindowsAndRefusedDataDropNothing) {
    struct Case {
        const char* name;
        std::vector<std::pair<UINT, POINT>> input;
        bool withText;
        std::vector<std::string> heard;
    } cases[] = {
        {"escape over B",
         {{WM_MOUSEMOVE, {210, 20}}, {WM_KEYDOWN, {VK_ESCAPE, 0}}},
         true,
         {"enter", "leave"}},
        {"released over an unregistered window",
         {{WM_MOUSEMOVE, {520, 20}}, {WM_LBUTTONUP, {520, 20}}},
         true,
         {}},
        {"through B to the unregistered window",
         {{WM_MOUSEMOVE, {210, 20}}, {WM_MOUSEMOVE, {520, 20}}, {WM_LBUTTONUP, {520, 20}}},
         true,
         {"enter", "leave"}},
        {"data B refuses", {{WM_MOUSEMOVE, {210, 20}}, {WM_LBUTTONUP, {210, 20}}}, false, {"enter", "leave"}},
    };
    for (const Case& k : cases) {
        events.clear();
        if (!k.withText)
            source.Empty();
        EXPECT_EQ(Drag(POINT{50, 50}, k.input), (DROPEFFECT)DROPEFFECT_NONE) << k.name;
        std::vector<std::string> heard;
        for (const Event& e : events) {
            heard.push_back(e.what);
            EXPECT_EQ(e.hwnd, b) << k.name;
        }
        EXPECT_EQ(heard, k.heard) << k.name;
        EXPECT_EQ(GetCapture(), nullptr) << k.name;
        Pump();  // whatever the drag left queued
    }
    EXPECT_EQ(g_mouseSeen, 0);
}

TEST_F(OleDragDropTest, ADragStartsOnlyOutsideItsStartRectangle) {
    RECT start{0, 0, 100, 100};
    PostMouseInput(WM_MOUSEMOVE, POINT{60, 60}, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, POINT{60, 60}, 0);
    SetCursorPos(50, 50);
    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_MOVE, &start), (DROPEFFECT)DROPEFFECT_NONE);
    EXPECT_TRUE(events.empty());

    PostMouseInput(WM_MOUSEMOVE, POINT{60, 60}, MK_LBUTTON);
    PostMouseInput(WM_MOUSEMOVE, POINT{210, 20}, MK_LBUTTON);
    PostMouseInput(WM_LBUTTONUP, POINT{210, 20}, 0);
    SetCursorPos(50, 50);
    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_MOVE, &start), (DROPEFFECT)DROPEFFECT_MOVE);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].what, "enter");
    EXPECT_EQ(events[1].what, "drop");
}

TEST(OleClipboardTest, ADataSourceOnTheClipboardIsReadInTheProcessAndOwnedByIt) {
    static int destroyed = 0;
    struct Counted : COleDataSource {
        ~Counted() override { ++destroyed; }
    };
    UINT privateFormat = RegisterClipboardFormat("Veltrin test private format");
    auto* first = new Counted;
    first->CacheGlobalData(CF_TEXT, TextBlock("clip text"));
    first->CacheGlobalData((CLIPFORMAT)privateFormat, TextBlock("private"));
    first->SetClipboard();
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), first);

    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(ReadBlock(GetClipboardData(CF_TEXT)), std::string("clip text", 10));
    EXPECT_EQ(ReadBlock(GetClipboardData(privateFormat)), std::string("private", 8));
    CloseClipboard();

    COleDataObject data;
    data.AttachClipboard();
    EXPECT_TRUE(data.IsDataAvailable((CLIPFORMAT)privateFormat));
    HGLOBAL copy = data.GetGlobalData(CF_TEXT);
    EXPECT_EQ(ReadBlock(copy), std::string("clip text", 10));
    GlobalFree(copy);

    // The next source takes the clipboard: the first one goes, the formats are the new ones.
    auto* second = new Counted;
    second->CacheGlobalData(CF_TEXT, TextBlock("second"));
    second->SetClipboard();
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(data.IsDataAvailable((CLIPFORMAT)privateFormat));
    COleDataSource::FlushClipboard();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));  // what it put there stays
}
