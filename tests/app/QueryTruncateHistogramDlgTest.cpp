// The histogram's question driven as a user answers it: steps run one per timer tick in its modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/QueryTruncateHistogramDlg.h"
#include "platform/base/Clock.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"
#include "tests/support/Gui.h"

namespace {
class QueryTruncateHistogramDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&VeltrinResources());
    }
    INT_PTR Run(CQueryTruncateHistogramDlg& dlg, std::vector<std::function<void(HWND)>> steps) {
        modal.Start(std::move(steps));
        return dlg.DoModal();
    }
    ModalSteps modal;
};
}  // namespace

TEST_F(QueryTruncateHistogramDlgTest, ShowsTheCountAndTakesALowerNumber) {
    CQueryTruncateHistogramDlg dlg("0007", "250000");
    CString shown, caption;
    HWND focused = nullptr, edit = nullptr;
    INT_PTR result = Run(dlg, {[&](HWND d) {
                                   caption = GetWindowTextString(d);
                                   shown = GetWindowTextString(GetDlgItem(d, IDC_TOTAL_RECS));
                                   edit = GetDlgItem(d, IDC_LINE_LIMIT);
                                   focused = GetFocus();
                               },
                               [](HWND) { SimulateChars("12x000"); },  // digits only
                               [](HWND d) { ClickDlgItem(d, IDOK); }});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(caption, "Question");
    EXPECT_EQ(shown, "250000");
    EXPECT_EQ(focused, edit);
    EXPECT_EQ(dlg.GetCount(), "12000");
    EXPECT_EQ(dlg.GetRecordNumber(), "0007");
}

TEST_F(QueryTruncateHistogramDlgTest, ABlankFieldKeepsTheCountAndCancelAnswersCancel) {
    CQueryTruncateHistogramDlg blank("1", "150000");
    EXPECT_EQ(Run(blank, {[](HWND d) { ClickDlgItem(d, IDOK); }}), IDOK);
    EXPECT_EQ(blank.GetCount(), "150000");

    CQueryTruncateHistogramDlg cancelled("1", "150000");
    EXPECT_EQ(Run(cancelled, {[](HWND) { SimulateChars("10"); }, [](HWND d) { ClickDlgItem(d, IDCANCEL); }}),
              IDCANCEL);
    EXPECT_EQ(cancelled.GetCount(), "150000");
}
