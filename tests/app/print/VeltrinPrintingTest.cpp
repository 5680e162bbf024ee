// Printing a report list through Veltrin's own commands: Print Setup, Print Preview and the preview's
// Print, down to the PDF the printer gets.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/ChildFrame.h"
#include "app/MainFrm.h"
#include "app/VeltrinApp.h"
#include "app/VeltrinDoc.h"
#include "app/VeltrinView.h"
#include "app/print/PageSetupDlg.h"
#include "app/print/PrintEngineImpl.h"
#include "core/RequestStrings.h"
#include "platform/base/MessageBox.h"
#include "platform/framework/docview/DocTemplate.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/user/ComboBox.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/app/print/PrintTestSupport.h"
#include "tests/support/Gui.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TempRegistry.h"

using namespace print_test;

namespace {
const ResourceModule* const kModules[] = {&VeltrinResources(), &VeltrinFrameResources(), &VeltrinTreeResources(),
                                          &VeltrinPadResources(), &VeltrinPrintResources()};

class VeltrinPrintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const ResourceModule* m : kModules)
            AddResourceModule(m);
        AfxSetCurrentThread(&app);
        app.SetRegistryKey("VeltrinEx");
        app.AddDocTemplate(new CMultiDocTemplate(IDR_VELTRINTYPE, RUNTIME_CLASS(CVeltrinDoc),
                                                 RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CVeltrinView)));
        bin = InstallCupsStandIns(tmp.Path());
        path.emplace("PATH", bin + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"));
        frame = new CMainFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_VELTRINTYPE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        app.m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
        _csReportName = "Top20_Print";
        _csListKey = "Top20_Print";
        app.OpenDocumentFile("Top20_Print");
        Pump();
        view = dynamic_cast<CVeltrinView*>(frame->GetActiveLogView());
        ASSERT_NE(view, nullptr);
        gxListModel& list = view->GetList();
        list.ResetList();
        list.m_csNames = "Rec| Log File |Time|";
        list.m_csTypes = "N|S|N|";
        list.SetColumns(3);
        for (int r = 0; r < 70; ++r) {
            list.AddItem(r, 0, std::to_string(r + 1).c_str());
            list.AddItem(r, 1, ("/var/log/app/server" + std::to_string(r) + ".log").c_str());
            list.AddItem(r, 2, "12.5");
        }
        for (int c = 0; c < 3; ++c)
            list.SetColumnWidth(c, 100);
    }
    void TearDown() override {
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        Pump();
        for (const ResourceModule* m : kModules)
            RemoveResourceModule(m);
        _csReportName = _csListKey = "";
    }
    HWND Bar() const { return ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR); }
    ModalSteps::Step ClickBar(int id) {
        return [this, id](HWND) { ClickDlgItem(Bar(), id); };
    }
    // Points the print dialog at a PDF file.
    static ModalSteps::Step ToFile(const std::string& out) {
        return [out](HWND dialog) {
            HWND names = GetDlgItem(dialog, IDC_PRINT_NAME);
            int last = (int)SendMessage(names, CB_GETCOUNT, 0, 0) - 1;
            SendMessage(names, CB_SETCURSEL, last, 0);
            SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDC_PRINT_NAME, CBN_SELCHANGE), (LPARAM)names);
            SetDlgItemText(dialog, IDC_PRINT_FILE, out.c_str());
        };
    }
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, id, 0); }

    TempRegistry registry;
    TempFolder tmp{"veltrin-print"};
    std::string bin;
    std::optional<ScopedEnv> path;
    CVeltrinApp app;
    MessageBoxRecorder boxes;
    CMainFrame* frame = nullptr;
    CVeltrinView* view = nullptr;
    ModalSteps modal;
};
}  // namespace

TEST_F(VeltrinPrintingTest, PreviewThenPrintSendsTheRuledPagesToThePrinter) {
    bool secondPreviewIgnored = false;
    modal.Start({ModalSteps::ClickItem(IDOK),  // the printer definition's setup dialog
                 [&](HWND active) {
                     // A second Print Preview while this one shows does nothing.
                     Command(ID_FILE_PRINT_PREVIEW);
                     secondPreviewIgnored = active == frame->m_hWnd && Bar() != nullptr;
                 },
                 ClickBar(AFX_ID_PREVIEW_PRINT), ModalSteps::ClickItem(IDOK)});
    Command(ID_FILE_PRINT_PREVIEW);
    EXPECT_TRUE(secondPreviewIgnored);
    EXPECT_EQ(_bPreviewOpen, 0);
    EXPECT_EQ(Bar(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(frame->m_hWndMDIClient));
    EXPECT_TRUE(boxes.Calls().empty());

    EXPECT_EQ(ReadFileBytes(tmp / "lp-args").substr(0, 16), "-d\nLab_Printer\n/");
    std::string pdf = tmp / "printed.pdf";
    EXPECT_EQ(PdfPages(pdf), 2);
    EXPECT_EQ(PdfPageSize(pdf), "612 x 792 pts");
    PdfPage page = RenderPdfPage(pdf, 1, tmp.Path());
    ASSERT_EQ(page.width, 850);
    // The first row's rule runs from 0.1 to 7.9 inches, 0.68 inch down.
    for (int x : {11, 100, 400, 788})
        EXPECT_LT(page.Darkest(x, 67, x, 69), 200) << x;
    EXPECT_GE(page.Darkest(0, 67, 8, 69), PdfPage::kPaper);
    EXPECT_GE(page.Darkest(792, 67, 849, 69), PdfPage::kPaper);
    // "Page 001" ends just left of 7.9 inches; nothing right of it.
    EXPECT_LT(page.Darkest(770, 0, 789, 14), 128);
    EXPECT_GE(page.Darkest(792, 0, 849, 14), PdfPage::kPaper);
    // The page's texts can be read from the PDF.
    std::string text = RunForText("pdftotext '" + pdf + "' - 2>/dev/null");
    EXPECT_NE(text.find("Date Printed:"), std::string::npos) << text;
    EXPECT_NE(text.find("...p/server0.log"), std::string::npos);
    EXPECT_NE(text.find("Page 002"), std::string::npos);
    // The view got its list back as it was.
    EXPECT_EQ(view->GetList().GetColumnWidth(1), 100);
}

TEST_F(VeltrinPrintingTest, LandscapeChosenInPrintSetupTurnsThePagesAndAFileKeepsThem) {
    std::string out = tmp / "report.pdf";
    EXPECT_FALSE(view->m_PrinterDef.IsLandscape());  // no printer chosen yet
    modal.Start({ModalSteps::ClickItem(IDC_PRINT_LANDSCAPE), ModalSteps::ClickItem(IDOK)});
    Command(ID_FILE_PRINT_SETUP);
    EXPECT_TRUE(view->m_PrinterDef.IsLandscape());

    modal.Start({ModalSteps::ClickItem(IDOK), ClickBar(AFX_ID_PREVIEW_PRINT), ToFile(out), ModalSteps::ClickItem(IDOK)});
    Command(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args"), "");
    EXPECT_EQ(PdfPageSize(out), "792 x 612 pts");
    EXPECT_EQ(PdfPages(out), 2);
    PdfPage page = RenderPdfPage(out, 1, tmp.Path());
    ASSERT_EQ(page.width, 1100);
    EXPECT_LT(page.Darkest(970, 0, 989, 14), 128);  // "Page 001" ends at 9.9 inches
    EXPECT_GE(page.Darkest(992, 0, 1099, 14), PdfPage::kPaper);
}

TEST_F(VeltrinPrintingTest, CancelInEitherDialogPrintsNothing) {
    modal.Start({ModalSteps::ClickItem(IDCANCEL)});
    Command(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(_bPreviewOpen, 0);
    modal.Start({ModalSteps::ClickItem(IDOK), ClickBar(AFX_ID_PREVIEW_PRINT), ModalSteps::ClickItem(IDCANCEL)});
    Command(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args"), "");
}

// Print and Print Direct on a report view print the list's report, not the view's empty drawing.
TEST_F(VeltrinPrintingTest, PrintCommandsPrintTheListsReport) {
    Command(ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(ReadFileBytes(tmp / "lp-args").substr(0, 16), "-d\nLab_Printer\n/");
    EXPECT_EQ(PdfPages(tmp / "printed.pdf"), 2);

    std::string out = tmp / "dialog.pdf";
    modal.Start({ToFile(out), ModalSteps::ClickItem(IDOK)});
    Command(ID_FILE_PRINT);
    EXPECT_EQ(PdfPages(out), 2);
    PdfPage page = RenderPdfPage(out, 1, tmp.Path());
    EXPECT_LT(page.Darkest(400, 67, 400, 69), 200);
}

TEST_F(VeltrinPrintingTest, PageSetupKeepsItsDefaultsAndWritesOnlyWhatChanged) {
    LoadPageSetupSettings();
    EXPECT_EQ(_PageSetupDlg.m_csHeader, "File: &f");
    EXPECT_EQ(_PageSetupDlg.m_csFooter, "Page: &p");
    EXPECT_EQ(_PageSetupDlg.m_nHeaderTime, 0);
    EXPECT_EQ(_PageSetupDlg.m_nFooterTime, 0);
    SavePageSetupSettings();
    EXPECT_EQ(app.GetProfileString("PageSetup", "Header", "<none>"), "<none>");

    // The dialog shows the values and takes back what the user sets.
    std::string header, footer;
    modal.Start({[&](HWND dialog) {
                     char text[64] = "";
                     GetDlgItemText(dialog, IDC_PAGE_HEADER, text, sizeof text);
                     header = text;
                     GetDlgItemText(dialog, IDC_PAGE_FOOTER, text, sizeof text);
                     footer = text;
                     EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_HEADER_FILE_TIME), (UINT)BST_CHECKED);
                     EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FOOTER_FILE_TIME), (UINT)BST_CHECKED);
                     SetDlgItemText(dialog, IDC_PAGE_FOOTER, "Seite &p");
                     CheckDlgButton(dialog, IDC_HEADER_FILE_TIME, BST_UNCHECKED);
                     CheckDlgButton(dialog, IDC_HEADER_SYSTEM_TIME, BST_CHECKED);
                 },
                 ModalSteps::ClickItem(IDOK)});
    EXPECT_EQ(_PageSetupDlg.DoModal(), IDOK);
    EXPECT_EQ(header, "File: &f");
    EXPECT_EQ(footer, "Page: &p");
    EXPECT_EQ(_PageSetupDlg.m_nHeaderTime, 1);
    SavePageSetupSettings();
    EXPECT_EQ(app.GetProfileString("PageSetup", "Footer", "<none>"), "Seite &p");
    EXPECT_EQ(app.GetProfileInt("PageSetup", "HeaderTime", -5), 1);
    EXPECT_EQ(app.GetProfileString("PageSetup", "Header", "<none>"), "<none>");
    EXPECT_EQ(app.GetProfileInt("PageSetup", "FooterTime", -5), -5);
    // Back to the defaults for the other tests of this process.
    _PageSetupDlg.m_csFooter = "Page: &p";
    _PageSetupDlg.m_nHeaderTime = 0;
}
