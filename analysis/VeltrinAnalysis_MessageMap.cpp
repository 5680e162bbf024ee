// The view's private messages and the analysis handler of each: the report view's window procedure
// hands these messages here. Every message the engine posts or sends to its own view is in the table,
// so none of them is lost to a view that does not know it.
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
    {WM_RUNSTATSREPORT, &CVeltrinAnalysis::OnRunStatsReport},
    {WM_RUNETTHREADS, &CVeltrinAnalysis::OnRunETCalculationThreads},
    {WM_ELAPSEDTIMERESULT, &CVeltrinAnalysis::OnThreadElapsedResult},
    {WM_STOPWORKERS, &CVeltrinAnalysis::OnStopWorkerThreads},
    {WM_EXPORTLIST, &CVeltrinAnalysis::ExportListViewToCsv},
    {WM_IMPORTCSV, &CVeltrinAnalysis::ImportCsvToListView},
    {WM_IMPORTTAALLLOG, &CVeltrinAnalysis::ImportTaAllLog},
    {WM_IMPORTTALOG, &CVeltrinAnalysis::ImportTaLog},
    {WM_IMPORTANALYZEDLOG, &CVeltrinAnalysis::ImportAnalyzedLog},
    {WM_IMPORTTICALLLOG, &CVeltrinAnalysis::ImportTicAllLog},
    {WM_IMPORTTICLOG, &CVeltrinAnalysis::ImportTicLog},
    {WM_IMPORTTICREPORTLOG, &CVeltrinAnalysis::ImportTicReportLog},
    {WM_IMPORTTOP20XACTLOG, &CVeltrinAnalysis::ImportTop20TransactionsLog},
    {WM_IMPORTTOP20SQLLOG, &CVeltrinAnalysis::ImportTop20SqlLog},
    {WM_IMPORTSQLSUMMARYLOG, &CVeltrinAnalysis::ImportSqlSummaryLog},
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
