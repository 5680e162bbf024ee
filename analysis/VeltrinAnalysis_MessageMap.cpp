// The view's private messages and the analysis handler of each: the report view's window procedure
// hands these messages here.
#include "analysis/VeltrinAnalysis.h"
#include "core/PrivateMessages.h"

namespace {
typedef LRESULT (CVeltrinAnalysis::*Handler)(WPARAM, LPARAM);

struct Entry {
    UINT message;
    Handler handler;
};

const Entry kViewMessages[] = {
    {WM_VIEWDATAEX, &CVeltrinAnalysis::OnViewData},
    {WM_VIEWDATA, &CVeltrinAnalysis::OnViewData},
    {WM_REORDERHISTOGRAM, &CVeltrinAnalysis::OnReorderHistogram},
    {WM_COMPILETOP20XACT, &CVeltrinAnalysis::OnCompileTop20Transx},
    {WM_POPULATETOP20XACT, &CVeltrinAnalysis::OnPopulateTop20TransxSummary},
    {WM_COMPILETOP20SQL, &CVeltrinAnalysis::OnCompileTop20SQL},
    {WM_POPULATETOP20SQL, &CVeltrinAnalysis::OnPopulateTop20SqlSummary},
    {WM_RUNXACTREPORT, &CVeltrinAnalysis::OnRunXactReport},
    {WM_RUNXACTIMZREPORT, &CVeltrinAnalysis::OnRunXactImzSqlReport},
    {WM_POPULATEXACTREPORT, &CVeltrinAnalysis::OnPopulateXactReport},
    {WM_POPULATEXACTIMZSQLREPORT, &CVeltrinAnalysis::OnPopulateXactImzSqlReport},
    {WM_RUNXACTSQLSUMREPORT, &CVeltrinAnalysis::OnRunXactSqlSumReport},
    {WM_POPULATEXACTSQLSUMREPORT, &CVeltrinAnalysis::OnPopulateXactSqlSumReport},
    {WM_RUNT20SQLSUMREPORT, &CVeltrinAnalysis::OnRunT20SqlSumReport},
    {WM_POPULATET20SQLSUMREPORT, &CVeltrinAnalysis::OnPopulateT20SqlSumReport},
    {WM_RUNSQLHISTOGRAMREPORT, &CVeltrinAnalysis::OnRunSqlHistogramReport},
    {WM_POPULATESQLHISTOGRAMREPORT, &CVeltrinAnalysis::OnPopulateSqlHistogramReport},
};
}  // namespace

LRESULT CVeltrinAnalysis::HandleViewMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    for (const Entry& e : kViewMessages) {
        if (e.message == message) {
            handled = true;
            return (this->*e.handler)(wParam, lParam);
        }
    }
    handled = false;
    return 0;
}
