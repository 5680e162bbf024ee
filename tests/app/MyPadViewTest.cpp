#include <gtest/gtest.h>

#include <string>

#include "app/MyEditView.h"
#include "app/MyPadView.h"
#include "guilib/frame/OXTabViewContainer.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/docview/Document.h"
#include "platform/user/Resources.h"
#include "res/veltrin/VeltrinResources.h"
#include "tests/support/Gui.h"

namespace {
// A frame with the pad docked at its bottom, as the main frame has it.
struct PadFixture {
    CFrameWnd* frame = nullptr;
    CMyPadView pad;

    PadFixture() {
        frame = new CFrameWnd;
        EXPECT_TRUE(frame->Create(nullptr, "Veltrin", WS_OVERLAPPEDWINDOW, RECT{0, 0, 640, 480}));
        EXPECT_TRUE(pad.Create(frame, "Edit Pad View", 59522));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        pad.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&pad, AFX_IDW_DOCKBAR_BOTTOM);
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
    }
    ~PadFixture() { frame->DestroyWindow(); }

    COXTabViewContainer* Container() { return pad.GetContainer(); }
    CWnd* Page(const char* name) { return Container()->FindPageByTitle(name); }
};
}  // namespace

TEST(MyPadView, StartsWithTheOutputPageAndAddsNamedPagesOnce) {
    PadFixture f;
    ASSERT_EQ(f.Container()->GetPageCount(), 1);
    EXPECT_EQ(f.pad.GetActivePadName(), CString("Output"));
    EXPECT_EQ(::GetDlgCtrlID(f.Container()->m_hWnd), 59648);
    EXPECT_EQ(f.pad.GetActivePadText(), CString(""));

    EXPECT_EQ(f.pad.AddPad("Report_A"), 1);
    EXPECT_EQ(f.pad.AddPad("Report_B"), 2);
    EXPECT_EQ(f.pad.AddPad("Report_A"), 0);  // already there
    EXPECT_EQ(f.Container()->GetPageCount(), 3);
    PadViewEntry* entry = nullptr;
    ASSERT_TRUE(f.pad.FindPad("Report_B", &entry));
    EXPECT_EQ(entry->m_csName, CString("Report_B"));
    EXPECT_EQ(entry->m_nIndex, 1);
    EXPECT_FALSE(f.pad.FindPad("Report_C"));
    EXPECT_EQ(f.pad.GetActivePadName(), CString("Report_B"));
    CWnd* page = f.Page("Report_A");
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->IsKindOf(RUNTIME_CLASS(CMyEditView)));
    // A pad page belongs to no document.
    EXPECT_EQ(static_cast<CMyEditView*>(page)->GetDocument(), nullptr);
}

TEST(MyPadView, NamedOperationsWorkOnTheirPageOnly) {
    PadFixture f;
    f.pad.AddPad("one");
    f.pad.AddPad("two");
    EXPECT_TRUE(f.pad.SetPadText("one", "0123456789abc"));
    EXPECT_EQ(f.pad.GetActivePadName(), CString("one"));
    EXPECT_EQ(f.pad.GetActivePadText(), CString("0123456789abc"));
    ::SendMessage(f.Page("one")->m_hWnd, EM_SETSEL, 5, 9);
    EXPECT_EQ(f.pad.GetActivePadSelection(), CString("5678"));

    EXPECT_TRUE(f.pad.ActivatePad("two"));
    EXPECT_EQ(f.pad.GetActivePadText(), CString(""));
    EXPECT_TRUE(f.pad.ClearPad("one"));
    EXPECT_EQ(f.pad.GetActivePadText(), CString(""));

    // Unknown names change nothing.
    EXPECT_FALSE(f.pad.RemovePad("three"));
    EXPECT_FALSE(f.pad.SetPadText("three", "x"));
    EXPECT_FALSE(f.pad.ActivatePad("three"));
    EXPECT_EQ(f.Container()->GetPageCount(), 3);
    EXPECT_EQ(f.pad.GetActivePadName(), CString("one"));

    // Removing a page leaves the others alive and usable.
    f.pad.SetPadText("two", "kept");
    CWnd* two = f.Page("two");
    HWND twoWindow = two->m_hWnd;
    HWND oneWindow = f.Page("one")->m_hWnd;
    EXPECT_TRUE(f.pad.RemovePad("one"));
    EXPECT_FALSE(::IsWindow(oneWindow));
    EXPECT_FALSE(f.pad.FindPad("one"));
    EXPECT_TRUE(::IsWindow(twoWindow));
    EXPECT_TRUE(f.pad.ActivatePad("two"));
    EXPECT_EQ(f.pad.GetActivePadText(), CString("kept"));
    EXPECT_EQ(f.pad.AddPad("one"), 2);  // the name is free again
}

TEST(MyPadView, PagesOutliveADocumentThatIsClosed) {
    PadFixture f;
    auto* doc = new CDocument;
    f.pad.AddPad("report");
    f.pad.SetPadText("report", "summary");
    doc->OnCloseDocument();
    ASSERT_TRUE(f.pad.FindPad("report"));
    EXPECT_TRUE(f.pad.ActivatePad("report"));
    EXPECT_EQ(f.pad.GetActivePadText(), CString("summary"));
}

TEST(MyPadView, TakesALongExcerptWhole) {
    PadFixture f;
    f.pad.AddPad("excerpt");
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "2023-05-02 10:00:00 QServer7001 request " + std::to_string(i) + " done\r\n";
    ASSERT_GT(text.size(), 65535u);
    EXPECT_TRUE(f.pad.SetPadText("excerpt", text.c_str()));
    CString back = f.pad.GetActivePadText();
    EXPECT_EQ(std::string(back.GetString(), (size_t)back.GetLength()), text);
    // A selection beyond 16 bits comes back whole too.
    ::SendMessage(f.Page("excerpt")->m_hWnd, EM_SETSEL, 70000, 70010);
    EXPECT_EQ(std::string(f.pad.GetActivePadSelection().GetString()), text.substr(70000, 10));
}

TEST(MyPadView, EditPagesAreBlueOnTheWindowColourInAFixedFont) {
    PadFixture f;
    ScreenshotOnFailure shot(f.frame->m_hWnd);
    f.pad.AddPad("colours");
    f.pad.SetPadText("colours", "WWWWWWWWWW");
    CWnd* page = f.Page("colours");
    ::UpdateWindow(f.frame->m_hWnd);
    PixelProbe probe(page->m_hWnd);
    RECT client;
    page->GetClientRect(&client);
    EXPECT_TRUE(probe.Any(RECT{20, 0, 120, 16}, [](COLORREF c) { return GetRValue(c) < 100 && GetBValue(c) > 180; }));
    EXPECT_FALSE(probe.Any(RECT{20, 0, 120, 16}, [](COLORREF c) { return PixelProbe::Dark(c) && GetBValue(c) < 100; }));
    EXPECT_EQ(probe.At(client.right - 5, client.bottom - 5), ::GetSysColor(COLOR_WINDOW));
    HFONT font = (HFONT)page->SendMessage(WM_GETFONT, 0, 0);
    ASSERT_NE(font, nullptr);
    LOGFONT lf{};
    ::GetObject(font, sizeof lf, &lf);
    EXPECT_EQ(lf.lfPitchAndFamily & 3, FIXED_PITCH);
}

TEST(MyPadView, WheelScrollsThreeLinesAPage) {
    PadFixture f;
    f.pad.AddPad("long");
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line\r\n";
    f.pad.SetPadText("long", text.c_str());
    CWnd* page = f.Page("long");
    page->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), 0);
    Pump();
    EXPECT_EQ(page->SendMessage(EM_GETFIRSTVISIBLELINE, 0, 0), 3);
    page->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    Pump();
    EXPECT_EQ(page->SendMessage(EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST(MyPadView, TheNotesMarginShowsItsPatternAndNoteMarks) {
    AddResourceModule(&VeltrinPadResources());
    {
        PadFixture f;
        ScreenshotOnFailure shot(f.frame->m_hWnd);
        f.pad.AddPad("notes");
        f.pad.SetPadText("notes", "first\r\nsecond\r\nthird");
        auto* page = static_cast<CMyEditView*>(f.Page("notes"));
        int lineHeight = page->GetLineHeight();
        // A double click in the margin on line 1 sets note image 0 there.
        int y1 = (short)HIWORD(page->SendMessage(EM_POSFROMCHAR, 7, 0));
        page->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, y1 + 2));
        ASSERT_EQ(page->GetNotesCount(), 1);
        ::UpdateWindow(f.frame->m_hWnd);
        PixelProbe probe(page->m_hWnd);
        POINT origin{0, 0};
        ::MapWindowPoints(page->m_hWnd, nullptr, &origin, 1);
        RECT w;
        ::GetWindowRect(page->m_hWnd, &w);
        int dx = origin.x - w.left, dy = origin.y - w.top;
        EXPECT_EQ(probe.At(dx + 7, dy + y1 + 7), RGB(0, 64, 200));
        // Line 0 shows the pattern: the face colour with a dot every fourth pixel.
        EXPECT_EQ(probe.At(dx + 0, dy + 0), RGB(212, 208, 200));
        EXPECT_EQ(probe.At(dx + 1, dy + 1), RGB(192, 192, 192));
        // Line 2 has no mark.
        EXPECT_NE(probe.At(dx + 7, dy + y1 + lineHeight + 7), RGB(0, 64, 200));
        // A second double click removes it again.
        page->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, y1 + 2));
        ::UpdateWindow(f.frame->m_hWnd);
        EXPECT_EQ(page->GetNotesCount(), 0);
        EXPECT_NE(probe.At(dx + 7, dy + y1 + 7), RGB(0, 64, 200));
    }
    RemoveResourceModule(&VeltrinPadResources());
}
