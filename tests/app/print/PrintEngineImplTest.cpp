#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/print/PrintEngine.h"
#include "app/print/PrintEngineImpl.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/app/WinThread.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/framework/window/AfxRes.h"
#include "res/veltrin/VeltrinResources.h"
#include "tests/app/print/PrintTestSupport.h"
#include "tests/support/Gui.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

using namespace print_test;

namespace {
class PrintEngineImplTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&VeltrinPrintResources());
        AfxSetCurrentThread(&app);
        bin = InstallCupsStandIns(tmp.Path());
        path.emplace("PATH", bin + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"));
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 640, 720}));
        app.m_pMainWnd = frame;
        Pump();
    }
    void TearDown() override {
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        Pump();
        RemoveResourceModule(&VeltrinPrintResources());
    }
    // A script of `pages` pages, each with a rule 1 inch down and its number as text.
    void ThreePages(PrintEngine& engine, int pages = 3) {
        engine.Start();
        engine.AddFont("big", "Arial", 24, 0);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                engine.NewPage();
            engine.Line(0.5, 1.0, 7.5, 1.0);
            engine.Text(0.5, 2.0, ("Page " + std::to_string(page)).c_str(), "big");
        }
        engine.End();
    }
    HWND Bar() const { return ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR); }
    CPreviewView* Preview() const { return dynamic_cast<CPreviewView*>(frame->GetActiveView()); }
    ModalSteps::Step Click(int id) {
        return [this, id](HWND) { ClickDlgItem(Bar(), id); };
    }

    TempFolder tmp{"print-engine"};
    std::string bin;
    std::optional<ScopedEnv> path;
    CWinApp app{"PrintTest"};
    CFrameWnd* frame = nullptr;
    ModalSteps modal;
};

PrintObject* Object(int type, double x1, double y1, double x2, double y2, const char* text = "", int value = 0) {
    auto* o = new PrintObject;
    o->m_nType = type;
    o->m_dX1 = x1;
    o->m_dY1 = y1;
    o->m_dX2 = x2;
    o->m_dY2 = y2;
    o->m_csText = text;
    o->m_csFont = "big";
    o->m_nValue = value;
    return o;
}
}  // namespace

// Every kind of object replayed on a PDF printer, read back at 100 dots per inch.
TEST_F(PrintEngineImplTest, AScriptReplaysOnThePdfPage) {
    PrintEngine engine;
    engine.Start();
    engine.AddFont("big", "Arial", 24, 0);
    engine.m_Script.AddTail(Object(PrintObject::kFillRect, 1, 1, 3, 2));
    engine.m_Script.AddTail(Object(PrintObject::kRect, 4, 1, 6, 2));
    for (int align = 1; align <= 3; ++align)
        engine.m_Script.AddTail(Object(PrintObject::kText, 4, 2 + align, 0, 0, "MMMM", align));
    engine.m_Script.AddTail(Object(PrintObject::kBitmap, 1, 6.5, 0, 0, "", 140));
    engine.End();

    CPrinterDef printer;
    std::string out = tmp / "replay.pdf";
    SetPdfPrinter(printer, out);
    PrintEngineImpl::Print(&engine, &printer, TRUE);
    ASSERT_EQ(PdfPages(out), 1);
    EXPECT_EQ(PdfPageSize(out), "612 x 792 pts");
    PdfPage page = RenderPdfPage(out, 1, tmp.Path());
    ASSERT_EQ(page.width, 850);
    // The fill's inside in light grey, the outline dark, inside it the paper.
    for (int shift : {0, 8, 16})
        EXPECT_NEAR((int)(page.Colour(200, 150) >> shift & 0xFF), 215, 1);
    EXPECT_LT(page.Darkest(399, 120, 401, 180), 200);
    EXPECT_LT(page.Darkest(430, 99, 570, 101), 200);
    EXPECT_GE(page.Darkest(410, 110, 590, 190), PdfPage::kPaper);
    // Texts start at, centre on and end at x = 4 inches, their top 3, 4, 5 inches down.
    auto inkSpan = [&](int top) {
        std::pair<int, int> span{-1, -1};
        for (int x = 0; x < page.width; ++x)
            if (page.Darkest(x, top, x, top + 30) < 128) {
                if (span.first < 0)
                    span.first = x;
                span.second = x;
            }
        return span;
    };
    auto left = inkSpan(300), centre = inkSpan(400), right = inkSpan(500);
    EXPECT_NEAR(left.first, 400, 4);
    EXPECT_NEAR((centre.first + centre.second) / 2, 400, 4);
    EXPECT_NEAR(right.second, 400, 4);
    EXPECT_GT(left.second - left.first, 60);
    EXPECT_GE(page.Darkest(0, 290, 850, 297), PdfPage::kPaper);  // nothing above the first text's top
    // No bitmap.
    EXPECT_GE(page.Darkest(50, 600, 400, 800), PdfPage::kPaper);
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args"), "");
}

TEST_F(PrintEngineImplTest, ThePreviewPagesThroughTheScriptAndCloseEndsItWithoutPrinting) {
    PrintEngine engine;
    ThreePages(engine);
    std::vector<UINT> pages;
    bool nextEnabledAtEnd = true;
    COLORREF rule = 0, paperBeside = 0;
    auto record = [&](HWND) { pages.push_back(Preview() ? Preview()->GetCurrentPage() : 0); };
    modal.Start({record, Click(AFX_ID_PREVIEW_NEXT), record, Click(AFX_ID_PREVIEW_NEXT), record,
                 Click(AFX_ID_PREVIEW_NEXT), record,
                 [&](HWND) {
                     nextEnabledAtEnd = ::IsWindowEnabled(::GetDlgItem(Bar(), AFX_ID_PREVIEW_NEXT));
                     Click(AFX_ID_PREVIEW_PREV)(nullptr);
                 },
                 record,
                 [&](HWND) {
                     // The page fills the preview's height: the rule 1 inch down of 11 shows dark
                     // across the middle of the page, the paper white beside it.
                     CPreviewView* preview = Preview();
                     ASSERT_NE(preview, nullptr);
                     ::UpdateWindow(frame->m_hWnd);
                     RECT rc{};
                     ::GetWindowRect(preview->m_hWnd, &rc);
                     RECT frameRc{};
                     ::GetWindowRect(frame->m_hWnd, &frameRc);
                     int height = rc.bottom - rc.top - 16;  // less the margins
                     int x = (rc.left + rc.right) / 2 - frameRc.left;
                     int y = rc.top - frameRc.top + 8 + height * 1 / 11;
                     PixelProbe probe(frame->m_hWnd);
                     rule = RGB(255, 255, 255);
                     for (int dy = -2; dy <= 2; ++dy)
                         if (GetRValue(probe.At(x, y + dy)) < GetRValue(rule))
                             rule = probe.At(x, y + dy);
                     paperBeside = probe.At(x, y + height / 22);
                 },
                 Click(AFX_ID_PREVIEW_CLOSE)});
    EXPECT_TRUE(PrintEngineImpl::CreateAndPreview(&engine));
    EXPECT_EQ(pages, (std::vector<UINT>{1, 2, 3, 3, 2}));
    EXPECT_FALSE(nextEnabledAtEnd);
    EXPECT_LT(GetRValue(rule), 235);  // a thin rule, scaled down
    EXPECT_EQ(paperBeside, RGB(255, 255, 255));
    EXPECT_EQ(_bPreviewOpen, 0);
    EXPECT_EQ(Bar(), nullptr);
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args"), "");
    // The print view and its document are gone.
    EXPECT_EQ(::GetDlgItem(frame->m_hWnd, 59649), nullptr);
}

TEST_F(PrintEngineImplTest, PrintClosesThePreviewThenAsksForThePrinter) {
    const struct {
        int answer;
        bool printed;
    } cases[] = {{IDCANCEL, false}, {IDOK, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        std::remove((tmp / "lp-args").c_str());
        PrintEngine engine;
        ThreePages(engine);
        bool previewGone = false;
        modal.Start({Click(AFX_ID_PREVIEW_PRINT),
                     [&](HWND dialog) {
                         previewGone = Bar() == nullptr && _bPreviewOpen == 0 && dialog != frame->m_hWnd;
                         ClickDlgItem(dialog, c.answer);
                     }});
        EXPECT_TRUE(PrintEngineImpl::CreateAndPreview(&engine));
        EXPECT_TRUE(previewGone);
        if (c.printed) {
            EXPECT_EQ(ReadFileBytes(tmp / "lp-args").substr(0, 16), "-d\nLab_Printer\n/");
            EXPECT_EQ(PdfPages(tmp / "printed.pdf"), 3);
        } else {
            EXPECT_EQ(ReadFileBytes(tmp / "lp-args"), "");
        }
    }
}

TEST_F(PrintEngineImplTest, AQuitWhileThePreviewShowsClosesItAndReachesTheProgramsLoop) {
    PrintEngine engine;
    ThreePages(engine);
    modal.Start({[](HWND) { ::PostQuitMessage(3); }});
    EXPECT_TRUE(PrintEngineImpl::CreateAndPreview(&engine));
    EXPECT_EQ(_bPreviewOpen, 0);
    EXPECT_EQ(Bar(), nullptr);
    MSG msg{};
    ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(PrintEngineImplTest, APreviewThatCannotStartBeepsAndSaysSo) {
    PrintEngine engine;
    ThreePages(engine);
    CPrinterDef printer;
    printer.m_devNames = {1, 2, 3};  // names no printer
    MessageBoxRecorder boxes;
    int beeps = GetMessageBeepCount();
    EXPECT_FALSE(PrintEngineImpl::CreateAndPreview(&engine, &printer));
    EXPECT_EQ(GetMessageBeepCount(), beeps + 1);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, "Command failed.");
    EXPECT_EQ(_bPreviewOpen, 0);
    EXPECT_EQ(::GetDlgItem(frame->m_hWnd, 59649), nullptr);
}
