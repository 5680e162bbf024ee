// The grid printed to a real PDF as a view's print loop drives it: pages, header title, footer, and where
// rows break.
#include <gtest/gtest.h>

#include <string>

#include "controls/GridCtrl.h"
#include "platform/framework/window/AfxRes.h"
#include "platform/gdi/Printing.h"
#include "platform/user/Resources.h"
#include "tests/support/Gui.h"
#include "tests/support/PdfReading.h"
#include "tests/support/TempFolder.h"

using print_test::PdfPages;
using print_test::RunForText;

namespace {
// The grid with its page geometry in sight.
class PrintedGrid : public CGridCtrl {
public:
    int BodyHeight() const { return m_nBodyHeight; }
};

class AppTitle : public ResourceModule {
public:
    const char* FindString(UINT id) const override { return id == AFX_IDS_APP_TITLE ? "Grid Application" : nullptr; }
};

class GridPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.CreateEx(0, AfxWndClassName(), "Grid", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                  nullptr));
        ASSERT_TRUE(grid.Create(RECT{0, 0, 300, 200}, &host, 100, WS_CHILD | WS_VISIBLE));
    }
    void TearDown() override {
        grid.DestroyWindow();
        host.DestroyWindow();
        Pump();
    }
    // Rows of 20 pixels under one fixed row, four columns of 100.
    void Fill(int rows, int fixedRows = 1) {
        grid.SetRowCount(rows);
        grid.SetColumnCount(4);
        grid.SetFixedRowCount(fixedRows);
        for (int c = 0; c < 4; ++c) {
            grid.SetColumnWidth(c, 100);
            grid.SetItemText(0, c, ("Head" + std::to_string(c)).c_str());
        }
        for (int r = 0; r < rows; ++r) {
            grid.SetRowHeight(r, 20);
            if (r >= fixedRows)
                grid.SetItemText(r, 0, ("Row" + std::to_string(r)).c_str());
        }
    }
    // A printer DC on Letter paper writing to the file.
    static void OpenPrinter(CDC& dc, const std::string& file) {
        DEVMODE mode;
        InitDevMode(mode, "Grid");
        dc.Attach(::CreateDC("PDF", "Grid", file.c_str(), &mode));
        dc.m_bPrinting = TRUE;
    }
    // The body height of a page of the grid with one fixed row.
    int BodyHeight() {
        Fill(2);
        CDC dc;
        OpenPrinter(dc, tmp / "probe.pdf");
        CPrintInfo probe;
        grid.BeginPrint(&dc, &probe);
        grid.EndPrint(&dc, &probe);
        return grid.BodyHeight();
    }
    // Prints every page as the framework's print loop does; returns the page count.
    int Print(const std::string& file) {
        CDC dc;
        OpenPrinter(dc, file);
        CPrintInfo info;
        info.SetMaxPage(1);
        grid.BeginPrint(&dc, &info);
        DOCINFO doc{};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = "grid";
        EXPECT_GT(::StartDoc(dc.m_hDC, &doc), 0);
        const int pages = (int)info.GetMaxPage();
        for (int page = 1; page <= pages; ++page) {
            info.m_nCurPage = (UINT)page;
            ::StartPage(dc.m_hDC);
            grid.PrintPage(&dc, &info);
            ::EndPage(dc.m_hDC);
        }
        grid.EndPrint(&dc, &info);
        EXPECT_GT(::EndDoc(dc.m_hDC), 0);
        return pages;
    }
    std::string PageText(const std::string& file, int page) {
        return RunForText("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                          file + "' - 2>/dev/null");
    }

    TempFolder tmp{"grid-print"};
    CWnd host;
    PrintedGrid grid;
};
}  // namespace

TEST_F(GridPrinting, PagesCarryTitleHeadingsRowsAndFooter) {
    // Rows enough for two full pages and one more row.
    const int perPage = BodyHeight() / 20;
    ASSERT_GT(perPage, 5);
    Fill(1 + 2 * perPage + 1);
    grid.SetTitle("Sales by Region");
    const std::string file = tmp / "grid.pdf";
    EXPECT_EQ(Print(file), 3);
    EXPECT_EQ(PdfPages(file), 3);
    const std::string page1 = PageText(file, 1), page2 = PageText(file, 2), page3 = PageText(file, 3);
    EXPECT_NE(page1.find("Sales by Region"), std::string::npos);
    EXPECT_NE(page2.find("Sales by Region"), std::string::npos);
    EXPECT_NE(page2.find("Head3"), std::string::npos);  // the headings on every page
    EXPECT_NE(page2.find("Page 2 of 3"), std::string::npos);
    EXPECT_NE(page1.find("Row1\n"), std::string::npos) << page1;
    EXPECT_NE(page1.find("Row" + std::to_string(perPage)), std::string::npos);
    EXPECT_EQ(page1.find("Row" + std::to_string(perPage + 1)), std::string::npos);
    EXPECT_NE(page2.find("Row" + std::to_string(perPage + 1)), std::string::npos);
    EXPECT_NE(page3.find("Row" + std::to_string(2 * perPage + 1)), std::string::npos);
    EXPECT_NE(page3.find("Page 3 of 3"), std::string::npos);
}

TEST_F(GridPrinting, RowsFillingTheBodyExactlyShareOnePage) {
    const int body = BodyHeight();
    // Four rows summing exactly to the body, then one more.
    Fill(6);
    for (int r = 1; r <= 4; ++r)
        grid.SetRowHeight(r, r < 4 ? body / 4 : body - 3 * (body / 4));
    const std::string file = tmp / "exact.pdf";
    EXPECT_EQ(Print(file), 2);
    const std::string page1 = PageText(file, 1), page2 = PageText(file, 2);
    EXPECT_NE(page1.find("Row4"), std::string::npos);
    EXPECT_EQ(page1.find("Row5"), std::string::npos);
    EXPECT_NE(page2.find("Row5"), std::string::npos);
    EXPECT_EQ(page2.find("Row4"), std::string::npos);
}

TEST_F(GridPrinting, AnEmptyTitlePrintsTheApplicationTitle) {
    AppTitle strings;
    AddResourceModule(&strings);
    Fill(3);
    const std::string file = tmp / "apptitle.pdf";
    EXPECT_EQ(Print(file), 1);
    RemoveResourceModule(&strings);
    const std::string page = PageText(file, 1);
    EXPECT_NE(page.find("Grid Application"), std::string::npos);
    EXPECT_NE(page.find("Page 1 of 1"), std::string::npos);
}

TEST_F(GridPrinting, AnAllFixedGridPrintsHeaderAndHeadingsOnly) {
    Fill(2, 2);
    grid.SetItemText(1, 0, "Second heading");
    grid.SetTitle("Only Headings");
    const std::string file = tmp / "fixed.pdf";
    EXPECT_EQ(Print(file), 1);  // the page count is left as it was
    const std::string page = PageText(file, 1);
    EXPECT_NE(page.find("Only Headings"), std::string::npos);
    EXPECT_NE(page.find("Head2"), std::string::npos);
    EXPECT_NE(page.find("Second heading"), std::string::npos);
    EXPECT_EQ(page.find("Page 1"), std::string::npos);  // no footer
}
