// A view printed through the framework's print command: the print dialog over stand-in CUPS tools first on
// PATH, the PDF handed to `lp -d <printer>`, pages and orientation of the printer DC.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/framework/docview/PreviewView.h"
#include "platform/framework/docview/PrintInfo.h"
#include "platform/framework/frames/FrameWnd.h"
#include "platform/framework/docview/View.h"
#include "platform/framework/gdi/DC.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/user/ComboBox.h"
#include "tests/support/Gui.h"
#include "tests/support/PdfReading.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

using print_test::PdfPages;
using print_test::RunForText;
using print_test::WriteScript;

namespace {
std::vector<std::string> g_calls;
bool g_refusePreparing = false;
SIZE g_pageSize{};

class CPagesView : public CView {
public:
    void OnDraw(HDC) override {}
    BOOL OnPreparePrinting(CPrintInfo* info) override {
        g_calls.push_back("prepare");
        info->SetMaxPage(3);
        return !g_refusePreparing && DoPreparePrinting(info);
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override { g_calls.push_back("begin"); }
    void OnPrint(CDC* dc, CPrintInfo* info) override {
        g_calls.push_back("page " + std::to_string(info->m_nCurPage) + (dc->IsPrinting() ? " printing" : ""));
        g_pageSize = SIZE{dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES)};
        RECT box{100, 100, 400, 400};
        ::FillRect(dc->m_hDC, &box, (HBRUSH)GetStockObject(BLACK_BRUSH));
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { g_calls.push_back("end"); }

protected:
    void OnPrintCommand() { OnFilePrint(); }
    void OnPreviewCommand() { OnFilePrintPreview(); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPagesView, CView)
ON_COMMAND(ID_FILE_PRINT, OnPrintCommand)
ON_COMMAND(ID_FILE_PRINT_DIRECT, OnPrintCommand)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPreviewCommand)
END_MESSAGE_MAP()

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_refusePreparing = false;
        bin = tmp.Path() + "/bin";
        mkdir(bin.c_str(), 0755);
        // Stand-ins of the CUPS tools: two destinations, the second the default; lp records its arguments
        // and keeps a copy of the document it was given.
        WriteScript(bin + "/lpstat",
                    "case \"$1\" in -e) printf 'Office\\nLab_Printer\\n';; -d) echo 'system default destination: "
                    "Lab_Printer';; esac\n");
        WriteScript(bin + "/lp", "printf '%s\\n' \"$@\" > \"" + tmp.Path() +
                                     "/lp-args\"\nfor a; do last=\"$a\"; done\ncp \"$last\" \"" + tmp.Path() +
                                     "/printed.pdf\"\n");
        path.emplace("PATH", bin + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"));
        owner = CreateWindowEx(0, "Static", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                               nullptr, nullptr, nullptr);
        view = new CPagesView;
        ASSERT_TRUE(view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 200}, CWnd::FromHandle(owner),
                                 AFX_IDW_PANE_FIRST));
    }
    void TearDown() override {
        view->DestroyWindow();
        DestroyWindow(owner);
        Pump();
    }
    // Sends a print command; the steps run inside the print dialog.
    void Print(UINT command, std::vector<ModalSteps::Step> steps) {
        modal.Start(std::move(steps));
        view->SendMessage(WM_COMMAND, command);
    }

    TempFolder tmp{"printing"};
    std::string bin;
    std::optional<ScopedEnv> path;
    ModalSteps modal;
    HWND owner = nullptr;
    CPagesView* view = nullptr;
};

TEST_F(PrintingTest, ThePrintDialogListsTheDestinationsAndTheChosenOneGetsAThreePagePdf) {
    std::vector<std::string> listed;
    Print(ID_FILE_PRINT, {[&](HWND dialog) {
                              HWND names = GetDlgItem(dialog, IDC_PRINT_NAME);
                              int count = (int)SendMessage(names, CB_GETCOUNT, 0, 0);
                              for (int i = 0; i < count; ++i) {
                                  char text[128] = "";
                                  SendMessage(names, CB_GETLBTEXT, i, (LPARAM)text);
                                  listed.push_back(text);
                              }
                              listed.push_back("selected " + std::to_string(SendMessage(names, CB_GETCURSEL, 0, 0)));
                          },
                          ModalSteps::ClickItem(IDOK)});
    // The default destination comes first and is chosen; the PDF file is the last entry.
    EXPECT_EQ(listed, (std::vector<std::string>{"Lab_Printer", "Office", PDF_FILE_DESTINATION, "selected 0"}));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"prepare", "begin", "page 1 printing", "page 2 printing",
                                                 "page 3 printing", "end"}));
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args").substr(0, 16), "-d\nLab_Printer\n/");
    EXPECT_EQ(PdfPages(tmp / "printed.pdf"), 3);
    // Letter portrait at the printer's resolution.
    EXPECT_EQ(g_pageSize.cx, 2550);
    EXPECT_EQ(g_pageSize.cy, 3300);
}

TEST_F(PrintingTest, CancellingTheDialogPrintsNothing) {
    Print(ID_FILE_PRINT, {ModalSteps::ClickItem(IDCANCEL)});
    EXPECT_EQ(g_calls, std::vector<std::string>{"prepare"});
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args"), "");
}

TEST_F(PrintingTest, LandscapeSwapsTheResolutionsAndAFileDestinationKeepsThePdfThere) {
    std::string out = tmp / "report.pdf";
    Print(ID_FILE_PRINT, {[&](HWND dialog) {
                              HWND names = GetDlgItem(dialog, IDC_PRINT_NAME);
                              SendMessage(names, CB_SETCURSEL, 2, 0);  // the PDF file
                              SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDC_PRINT_NAME, CBN_SELCHANGE), (LPARAM)names);
                              SetDlgItemText(dialog, IDC_PRINT_FILE, out.c_str());
                          },
                          ModalSteps::ClickItem(IDC_PRINT_LANDSCAPE), ModalSteps::ClickItem(IDOK)});
    EXPECT_EQ(g_pageSize.cx, 3300);
    EXPECT_EQ(g_pageSize.cy, 2550);
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args"), "");  // not handed to lp
    EXPECT_EQ(PdfPages(out), 3);
    EXPECT_NE(RunForText("pdfinfo '" + out + "'").find("792 x 612 pts"), std::string::npos);
}

TEST_F(PrintingTest, ADirectPrintUsesTheDefaultPrinterWithoutADialog) {
    Print(ID_FILE_PRINT_DIRECT, {});
    EXPECT_EQ(g_calls.size(), 6u);
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args").substr(0, 16), "-d\nLab_Printer\n/");
}

TEST_F(PrintingTest, AFailingLpKeepsTheDocumentAndSaysWhere) {
    WriteScript(bin + "/lp", "exit 1\n");
    MessageBoxRecorder boxes;
    Print(ID_FILE_PRINT_DIRECT, {});
    ASSERT_EQ(boxes.Calls().size(), 1u);
    std::string text = boxes.Calls()[0].text.GetString();
    size_t at = text.find("saved as ");
    ASSERT_NE(at, std::string::npos) << text;
    std::string kept = text.substr(at + 9, text.size() - at - 10);
    EXPECT_EQ(PdfPages(kept), 3);
    std::remove(kept.c_str());
}

class PreviewTest : public PrintingTest {
protected:
    void SetUp() override {
        PrintingTest::SetUp();
        view->DestroyWindow();
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 640, 520}));
        view = new CPagesView;
        ASSERT_TRUE(view->Create(nullptr, "", AFX_WS_DEFAULT_VIEW, RECT{0, 0, 10, 10}, frame, AFX_IDW_PANE_FIRST));
        frame->SetActiveView(view);
        frame->RecalcLayout();
        Pump();
    }
    void TearDown() override {
        frame->DestroyWindow();
        Pump();
        view = nullptr;
        DestroyWindow(owner);
    }
    HWND Bar() const { return ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR); }
    void Click(int id) {
        ClickDlgItem(Bar(), id);
        Pump();
    }
    CPreviewView* Preview() const { return dynamic_cast<CPreviewView*>(frame->GetActiveView()); }

    CFrameWnd* frame = nullptr;
};

TEST_F(PreviewTest, NextPageStopsAtTheLastPageAndCloseRestoresTheFrameWithoutPrinting) {
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    Pump();
    CPreviewView* preview = Preview();
    ASSERT_NE(preview, nullptr);
    ASSERT_NE(Bar(), nullptr);
    EXPECT_FALSE(view->IsWindowVisible());
    ScreenshotOnFailure shot(frame->m_hWnd, "preview");
    EXPECT_EQ(preview->GetCurrentPage(), 1u);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(Bar(), AFX_ID_PREVIEW_PREV)));
    // The page is drawn: the black square the view prints shows inside the page's frame.
    PixelProbe pixels(frame->m_hWnd);
    RECT area{};
    preview->GetWindowRect(&area);
    RECT frameRect{};
    frame->GetWindowRect(&frameRect);
    OffsetRect(&area, -frameRect.left, -frameRect.top);
    EXPECT_TRUE(pixels.Any(area, [](COLORREF c) { return PixelProbe::Dark(c, 40); }));

    Click(AFX_ID_PREVIEW_NEXT);
    Click(AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(preview->GetCurrentPage(), 3u);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(Bar(), AFX_ID_PREVIEW_NEXT)));
    frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);  // even when asked, there is no fourth page
    EXPECT_EQ(preview->GetCurrentPage(), 3u);
    Click(AFX_ID_PREVIEW_PREV);
    EXPECT_EQ(preview->GetCurrentPage(), 2u);
    Click(AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(preview->GetPagesShown(), 2u);
    EXPECT_EQ(GetWindowTextString(::GetDlgItem(Bar(), AFX_ID_PREVIEW_NUMPAGE)), CString("&One Page"));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(Bar(), AFX_ID_PREVIEW_NEXT)));  // pages 2 and 3 shown

    Click(AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(Bar(), nullptr);
    EXPECT_EQ(frame->GetActiveView(), view);
    EXPECT_TRUE(view->IsWindowVisible());
    EXPECT_EQ(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST), view->m_hWnd);
    ASSERT_GE(g_calls.size(), 2u);
    EXPECT_EQ(g_calls.front(), "prepare");
    EXPECT_EQ(g_calls[1], "begin");
    EXPECT_EQ(g_calls.back(), "end");
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args"), "");  // nothing printed
}

TEST_F(PreviewTest, PrintClosesThePreviewFirstAndCancellingTheDialogPrintsNothing) {
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    Pump();
    ASSERT_NE(Preview(), nullptr);
    g_calls.clear();
    bool previewGone = false;
    modal.Start({[&](HWND) { previewGone = Bar() == nullptr && frame->GetActiveView() == view; },
                 ModalSteps::ClickItem(IDCANCEL)});
    ClickDlgItem(Bar(), AFX_ID_PREVIEW_PRINT);
    Pump();
    EXPECT_TRUE(previewGone);
    // The preview's printout ends before the print command prepares its own.
    EXPECT_EQ(g_calls, (std::vector<std::string>{"end", "prepare"}));
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args"), "");
}

TEST_F(PreviewTest, WithoutCupsThePreviewStillShowsThePages) {
    path.emplace("PATH", bin + "/none");
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    Pump();
    ASSERT_NE(Preview(), nullptr);
    EXPECT_NE(WriteScreenshot(frame->m_hWnd, "print-preview"), "");
    Click(AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(frame->GetActiveView(), view);
}

TEST_F(PreviewTest, AViewThatCannotPrepareGetsTheFailureMessageAndTheFrameStaysAsItWas) {
    g_refusePreparing = true;
    MessageBoxRecorder boxes;
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    Pump();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, CString("Command failed."));
    EXPECT_EQ(Bar(), nullptr);
    EXPECT_EQ(frame->GetActiveView(), view);
    EXPECT_TRUE(view->IsWindowVisible());
    EXPECT_EQ(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST), view->m_hWnd);
}
}  // namespace
