// The histogram's question driven as a user answers it: steps run one per timer tick in its modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/QueryTruncateHistogramDlg.h"
#include "platform/base/Clock.h"
#include "res/veltrin/VeltrinResources.h"
#include "res/veltrin/resource.h"

namespace {
std::vector<std::function<void(HWND)>> g_steps;
size_t g_next = 0;
DrivenClock* g_clock = nullptr;

void Step(HWND, UINT, UINT_PTR id, DWORD) {
    if (g_next >= g_steps.size()) {
        KillTimer(nullptr, id);
        return;
    }
    g_steps[g_next++](GetActiveWindow());
    g_clock->Advance(10);
}

void ClickButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    RECT r;
    GetClientRect(button, &r);
    SimulateClick(button, r.right / 2, r.bottom / 2);
}

class QueryTruncateHistogramDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddResourceModule(&VeltrinResources());
        g_clock = &clock;
    }
    INT_PTR Run(CQueryTruncateHistogramDlg& dlg, std::vector<std::function<void(HWND)>> steps) {
        g_steps = std::move(steps);
        g_next = 0;
        SetTimer(nullptr, 0, 10, Step);
        clock.Advance(10);
        return dlg.DoModal();
    }
    DrivenClock clock;
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
                               [](HWND d) { ClickButton(d, IDOK); }});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(caption, "Question");
    EXPECT_EQ(shown, "250000");
    EXPECT_EQ(focused, edit);
    EXPECT_EQ(dlg.GetCount(), "12000");
    EXPECT_EQ(dlg.GetRecordNumber(), "0007");
}

TEST_F(QueryTruncateHistogramDlgTest, ABlankFieldKeepsTheCountAndCancelAnswersCancel) {
    CQueryTruncateHistogramDlg blank("1", "150000");
    EXPECT_EQ(Run(blank, {[](HWND d) { ClickButton(d, IDOK); }}), IDOK);
    EXPECT_EQ(blank.GetCount(), "150000");

    CQueryTruncateHistogramDlg cancelled("1", "150000");
    EXPECT_EQ(Run(cancelled, {[](HWND) { SimulateChars("10"); }, [](HWND d) { ClickButton(d, IDCANCEL); }}),
              IDCANCEL);
    EXPECT_EQ(cancelled.GetCount(), "150000");
}
